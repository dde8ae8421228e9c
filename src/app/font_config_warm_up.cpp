// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/font_config_warm_up.h"

#ifdef VELMORA_FONTCONFIG
#include <fontconfig/fontconfig.h>
#endif

namespace velmora {

// Fontconfig parses its whole XML configuration on first use: about a quarter of the instructions
// from start to the title page painted. Qt asks for it only when the first font is chosen; reading
// it here runs it alongside Qt's own start. Fontconfig's set-up is safe against a second caller:
// the later one finds the configuration already made.
FontConfigWarmUp::FontConfigWarmUp() {
#ifdef VELMORA_FONTCONFIG
    reader_ = std::thread([] { FcInit(); });
#endif
}

FontConfigWarmUp::~FontConfigWarmUp() {
    wait();
}

void FontConfigWarmUp::wait() {
    if (reader_.joinable()) {
        reader_.join();
    }
}

} // namespace velmora

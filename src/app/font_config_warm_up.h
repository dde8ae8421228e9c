// SPDX-License-Identifier: GPL-3.0-or-later
// Reads the system's font configuration on a second core while Qt connects to the display, so the
// windows' first fonts do not wait for it.
#pragma once

#include <thread>

namespace velmora {

class FontConfigWarmUp {
public:
    FontConfigWarmUp();
    ~FontConfigWarmUp();
    FontConfigWarmUp(const FontConfigWarmUp&) = delete;
    FontConfigWarmUp& operator=(const FontConfigWarmUp&) = delete;

    // Waits until the configuration is read; call before the first text is measured or drawn,
    // so the program's own thread does not read it a second time alongside.
    void wait();

private:
    std::thread reader_;
};

} // namespace velmora

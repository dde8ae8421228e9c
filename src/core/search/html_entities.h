// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringView>

namespace velmora {

// Appends `raw` HTML text to `out` with its character references decoded: numeric ones and the
// named ones course pages use (an unknown name stays as written). A reference to NUL, to a
// surrogate or beyond Unicode becomes U+FFFD, as in a browser.
void appendDecodedEntities(QString& out, QStringView raw);

} // namespace velmora

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace velmora {

// A tooltip that shows `text` as it is. Qt takes a tooltip that looks like HTML (a question
// holding "<br>", say) for rich text; such a text is escaped into a paragraph of rich text, any
// other is left plain.
QString plainToolTip(const QString& text);

} // namespace velmora

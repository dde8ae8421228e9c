// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/kit/plain_text.h"

#include <QTextDocument>

namespace velmora {

QString plainToolTip(const QString& text) {
    return Qt::mightBeRichText(text) ? Qt::convertFromPlainText(text, Qt::WhiteSpaceNormal) : text;
}

} // namespace velmora

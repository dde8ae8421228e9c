// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/course/course_texts.h"

namespace velmora::courseTexts {

QString institution() {
    return QStringLiteral("«Жетіқұм» техникалық университеті");
}
QString department() {
    return QStringLiteral("Ақпараттық жүйелер кафедрасы");
}
QString author() {
    return QStringLiteral("Д. Велморқызы");
}
QString authorPost() {
    return QStringLiteral("аға оқытушы");
}
QString programmeCode() {
    return QStringLiteral("6В0699");
}
QString placeAndYear() {
    return QStringLiteral("Жетіқұм – 2024");
}

} // namespace velmora::courseTexts

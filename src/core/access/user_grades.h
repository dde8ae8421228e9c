#pragma once

#include "core/storage/failure.h"

#include <QList>
#include <QString>
#include <optional>

namespace velmora {

// Grades loaded from the user register: the first `values.size()` grades in test order, and the
// failure that stopped the loading, if any. A caller applies the values it got and then reports
// the failure, so the grades before a damaged entry are taken and those after it are not.
struct GradeLoad {
    QList<quint8> values;
    std::optional<Failure> failure;
};

// A user's stored grades: "test1" … "test12" in the user's section of "\users.ini", each the
// decimal text of a grade, of which the low eight bits count.
class UserGrades {
public:
    static constexpr int kSlots = 12;

    static QString registerPath() { return QStringLiteral("\\users.ini"); }
    static QString key(int test) { return QStringLiteral("test") + QString::number(test); }

    // The grade of one test; throws "'%s' is not a valid integer value" when the stored text is
    // not a number (a missing key included).
    static quint8 read(const QString& user, int test);

    // Grades 1 … count in order, stopping at the first that is not a number.
    static GradeLoad load(const QString& user, int count = kSlots);
};

} // namespace velmora

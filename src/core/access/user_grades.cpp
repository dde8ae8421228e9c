#include "core/access/user_grades.h"

#include "core/storage/integer_text.h"
#include "core/storage/scrambled_store.h"

namespace velmora {

quint8 UserGrades::read(const QString& user, int test) {
    return lowByte(toInteger(readini(user, key(test), registerPath())));
}

GradeLoad UserGrades::load(const QString& user, int count) {
    GradeLoad load;
    for (int n = 1; n <= count; ++n) {
        try {
            load.values.append(read(user, n));
        } catch (const Failure& failure) {
            load.failure = failure;
            break;
        }
    }
    return load;
}

} // namespace velmora

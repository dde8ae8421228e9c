// SPDX-License-Identifier: GPL-3.0-or-later
// A writer process for the durability tests. It writes through the scrambled store into
// "users.ini" of its current directory, so that a test can kill it in the middle of a write or run
// two copies side by side.
//   velmora_ini_writer count FIRST        writes key "n" of section "state" as FIRST, FIRST+1, ...
//                                         until it is killed
//   velmora_ini_writer keys PREFIX COUNT  writes keys PREFIX0 ... of section "keys", each key's
//                                         number as its value, and ends
// It prints "writing" once it starts writing. A failure is printed on standard error, status 1.

#include "core/storage/failure.h"
#include "core/storage/scrambled_store.h"

#include <cstdio>
#include <cstring>

namespace {

const QString kRegister = QStringLiteral("\\users.ini");

void announce() {
    std::puts("writing");
    std::fflush(stdout);
}

[[noreturn]] void countForever(qint64 first) {
    announce();
    for (qint64 n = first;; ++n) {
        velmora::writeini(QStringLiteral("state"), QStringLiteral("n"), QString::number(n),
                          kRegister);
    }
}

void writeKeys(const QString& prefix, int count) {
    announce();
    for (int i = 0; i < count; ++i) {
        velmora::writeini(QStringLiteral("keys"), prefix + QString::number(i), QString::number(i),
                          kRegister);
    }
}

} // namespace

int main(int argc, char* argv[]) {
    try {
        if (argc == 3 && std::strcmp(argv[1], "count") == 0) {
            countForever(QByteArray(argv[2]).toLongLong());
        }
        if (argc == 4 && std::strcmp(argv[1], "keys") == 0) {
            writeKeys(QString::fromLocal8Bit(argv[2]), QByteArray(argv[3]).toInt());
            return 0;
        }
    } catch (const velmora::Failure& f) {
        std::fprintf(stderr, "%s\n", f.what());
        return 1;
    }
    std::fputs("usage: velmora_ini_writer count FIRST | keys PREFIX COUNT\n", stderr);
    return 2;
}

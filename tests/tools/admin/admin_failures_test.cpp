// SPDX-License-Identifier: GPL-3.0-or-later
#include "admin_command.h"

#include "core/storage/failure.h"

#include <gtest/gtest.h>
#include <new>
#include <stdexcept>

using namespace velmora;

namespace {

// Whatever a command throws ends velmora-admin with its text on the error output and status 1,
// never with an abort.
TEST(AdminFailures, EveryExceptionOfACommandIsPrintedWithStatusOne) {
    const struct {
        const char* rule;
        std::function<void()> fault;
        QString printed;
    } cases[] = {
        {"the program's failure", [] { throw Failure(QStringLiteral("Disk full")); },
         QStringLiteral("velmora-admin: Disk full\n")},
        {"a standard exception", [] { throw std::runtime_error("map::at"); },
         QStringLiteral("velmora-admin: map::at\n")},
        {"memory exhausted", [] { throw std::bad_alloc(); },
         QStringLiteral("velmora-admin: %1\n").arg(QString::fromUtf8(std::bad_alloc().what()))},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.rule);
        const admin::AdminCommand command{{QStringLiteral("fail")},
                                          {},
                                          QStringLiteral("fails"),
                                          QStringLiteral("Fails."),
                                          0,
                                          [&](const QStringList&, QTextStream&, QTextStream&) {
                                              c.fault();
                                              return 0;
                                          }};
        QString out;
        QString err;
        QTextStream outStream(&out);
        QTextStream errStream(&err);
        const int status =
            admin::runAdmin({QStringLiteral("fail")}, outStream, errStream, {command});
        outStream.flush();
        errStream.flush();
        EXPECT_EQ(status, 1);
        EXPECT_EQ(err, c.printed);
        EXPECT_TRUE(out.isEmpty());
    }
}

} // namespace

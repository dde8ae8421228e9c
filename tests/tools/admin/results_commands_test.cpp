// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/admin_run.h"
#include "support/temp_folder.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace velmora::test;
using namespace Qt::StringLiterals;

namespace {

// What the teacher sees of results.toml, its secret never among it, and where it stops.
TEST(ResultsCommands, SetShowStatusAndSendAsTheTeacherTypesThem) {
    const TempFolder folder;
    const struct {
        QStringList args;
        int status;
        const char* out; // printed whole
        const char* err; // part of the error output
    } rows[] = {
        {{u"results"_s, u"show"_s}, 1, "", "no results.toml in this course folder"},
        {{u"results"_s, u"send"_s}, 1, "", "no results.toml in this course folder"},
        {{u"results"_s, u"set"_s, u"ftp://x/"_s, u"k"_s, u"s"_s}, 1, "", "не http или https"},
        {{u"results"_s, u"set"_s, u"http://127.0.0.1:9/xapi"_s, u"lab-7"_s, u"Sup3r-secret"_s},
         0,
         "results.toml written (readable by its owner only)\n",
         ""},
        {{u"results"_s, u"show"_s},
         0,
         "endpoint: http://127.0.0.1:9/xapi/\nkey: lab-7\nsecret: (set)\n"
         "course: https://velmora.invalid/courses/velmora\n",
         ""},
        {{u"results"_s, u"status"_s}, 0, "sent: 0\nwaiting: 0\nrefused: 0\n", ""},
        // Port 9 takes nothing: the store cannot be reached.
        {{u"results"_s, u"check"_s}, 1, "", "http://127.0.0.1:9/xapi/: "},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.args.join(u' ').toStdString());
        const AdminRun run = runAdmin(row.args);
        EXPECT_EQ(run.status, row.status) << run.err.toStdString();
        EXPECT_EQ(run.out, QString::fromUtf8(row.out));
        EXPECT_TRUE(run.err.contains(QString::fromUtf8(row.err))) << run.err.toStdString();
        EXPECT_FALSE((run.out + run.err).contains(u"Sup3r-secret"_s));
    }
#ifndef Q_OS_WIN
    const QFile::Permissions mode = QFile::permissions(folder.file(u"results.toml"_s));
    EXPECT_TRUE(mode.testFlag(QFile::ReadOwner) && mode.testFlag(QFile::WriteOwner));
    EXPECT_EQ((mode & (QFile::ReadGroup | QFile::WriteGroup | QFile::ReadOther | QFile::WriteOther))
                  .toInt(),
              0)
        << "the secret is the owner's alone";
#endif
    EXPECT_TRUE(folder.read(u"results.toml"_s).contains("secret = \"Sup3r-secret\""));
}

} // namespace

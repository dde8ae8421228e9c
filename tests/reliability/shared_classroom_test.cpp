// SPDX-License-Identifier: GPL-3.0-or-later
// The teachers' guide's shared classroom folder, made by running the guide's own commands, then
// used by two students of the class group, each under an account of their own with the umask 022
// of a usual session, at the same folder: every test and answer line of both is kept, and the
// register stays writable by both.
#include "core/storage/code_page.h"
#include "support/temp_folder.h"
#include "support/test_file_builder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <grp.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using velmora::test::TempFolder;

// The accounts the guide's commands name, as ids that hold no file of the test machine.
constexpr gid_t kStudents = 65532;
constexpr uid_t kTeacher = 65531;

struct Student {
    uid_t id; // also the student's own primary group
    QString name;
};

// The indented command blocks of the guide's section "One shared folder for a classroom".
QStringList guideCommandBlocks() {
    QFile guide(QStringLiteral(VELMORA_SOURCE_ROOT "/docs/teachers.md"));
    if (!guide.open(QIODevice::ReadOnly)) {
        return {};
    }
    const QString text = QString::fromUtf8(guide.readAll());
    const qsizetype start = text.indexOf(QStringLiteral("### One shared folder for a classroom"));
    const qsizetype end = text.indexOf(QStringLiteral("\n## "), start);
    QStringList blocks;
    QString block;
    for (const QString& line : text.mid(start, end - start).split(QLatin1Char('\n'))) {
        if (line.startsWith(QStringLiteral("       "))) {
            block += line.trimmed() + QLatin1Char('\n');
        } else if (!block.isEmpty()) {
            blocks.append(block);
            block.clear();
        }
    }
    return blocks;
}

// A guide's command block as root runs it here: without sudo, in the test's folders, with the
// class group and the teacher's account by number.
QString asRunHere(QString block, const QString& root) {
    block.replace(QStringLiteral("sudo "), QString());
    block.replace(QStringLiteral("/usr/share/velmora/course"),
                  QStringLiteral(VELMORA_SOURCE_ROOT "/course"));
    block.replace(QStringLiteral("/srv/velmora"), root + QStringLiteral("/srv/velmora"));
    block.replace(QStringLiteral(" students "), QStringLiteral(" %1 ").arg(kStudents));
    block.replace(QStringLiteral(" teacher "), QStringLiteral(" %1 ").arg(kTeacher));
    return block;
}

QString runShell(const QString& commands) {
    QProcess shell;
    shell.start(QStringLiteral("sh"), {QStringLiteral("-e"), QStringLiteral("-c"),
                                       QStringLiteral("umask 022\n") + commands});
    shell.waitForFinished(60000);
    return shell.exitCode() == 0 ? QString()
                                 : commands + QString::fromLocal8Bit(shell.readAllStandardError());
}

int linesOf(const QByteArray& log, const QString& name) {
    const QString text = velmora::CodePage::decode(log);
    return static_cast<int>(text.count(QRegularExpression(
        QStringLiteral("(^|\\n)%1 \\| ").arg(QRegularExpression::escape(name)))));
}

// With the answer log as the guide prepares it, and missing (as a folder prepared by an earlier
// guide has it): the first finished test then makes it.
class SharedClassroom : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override {
        if (::geteuid() != 0) {
            GTEST_SKIP() << "needs root: the students run under user ids of their own";
        }
        QFile::setPermissions(top_.path(), QFile::permissions(top_.path()) | QFile::ReadOther |
                                               QFile::ExeOther | QFile::ReadGroup |
                                               QFile::ExeGroup);
        // The student program, where every account may run it.
        QDir().mkpath(top_.file(QStringLiteral("bin")));
        ASSERT_TRUE(QFile::copy(QStringLiteral(VELMORA_STUDENT), program()));
        QFile::setPermissions(program(),
                              QFile::permissions(program()) | QFile::ExeOther | QFile::ReadOther);
    }

    QString program() const { return top_.file(QStringLiteral("bin/velmora_student")); }
    QString course() const { return top_.file(QStringLiteral("srv/velmora/course")); }

    // One student at one computer: their own account, their primary group and the class group,
    // umask 022, a home of their own.
    QString take(const Student& student, const QString& how, int test,
                 const QStringList& answers) const {
        const QString home = top_.file(QStringLiteral("home-%1").arg(student.id));
        QDir().mkpath(home);
        if (::chown(QFile::encodeName(home).constData(), student.id, student.id) != 0) {
            return QStringLiteral("cannot give the home folder to the student");
        }
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("HOME"), home);
        env.remove(QStringLiteral("XDG_RUNTIME_DIR"));
        QProcess process;
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(course());
        const uid_t id = student.id;
        process.setChildProcessModifier([id] {
            const gid_t groups[] = {kStudents};
            if (::setgroups(1, groups) != 0 || ::setgid(id) != 0 || ::setuid(id) != 0) {
                ::_exit(126);
            }
            ::umask(022);
        });
        process.start(program(),
                      QStringList{how, student.name, QStringLiteral("pw"), QString::number(test)} +
                          answers);
        if (!process.waitForFinished(120000) || process.exitCode() != 0) {
            return student.name +
                   (process.exitCode() == 126 ? QStringLiteral(": cannot take the student's ids: ")
                                              : QStringLiteral(": ")) +
                   QString::fromUtf8(process.readAllStandardError());
        }
        return {};
    }

    TempFolder top_;
};

TEST_P(SharedClassroom, TwoStudentsOfTheGroupKeepEveryLineAndTheRegisterStaysWritable) {
    const QStringList blocks = guideCommandBlocks();
    ASSERT_GE(blocks.size(), 2) << "the guide's folder steps are not found";
    // Step 1 makes the folder, then the teacher's test goes into it, then step 2 shares it.
    ASSERT_EQ(runShell(asRunHere(blocks[0], top_.path())), QString());
    {
        const QString here = QDir::currentPath();
        QDir::setCurrent(course());
        velmora::test::writeTestFile(QStringLiteral("test1"),
                                     velmora::test::numberedQuestions({1, 2, 3}),
                                     QStringLiteral("3"));
        QDir::setCurrent(here);
    }
    ASSERT_EQ(runShell(asRunHere(blocks[1], top_.path())), QString());
    const bool answerLogPrepared = GetParam();
    if (!answerLogPrepared) {
        QFile::remove(course() + QStringLiteral("/report.answers.txt"));
    }

    const Student anna{65533, QStringLiteral("anna")};
    const Student boris{65534, QStringLiteral("boris")};
    const QStringList answers{QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")};
    EXPECT_EQ(take(anna, QStringLiteral("NEW"), 1, answers), QString());
    EXPECT_EQ(take(boris, QStringLiteral("NEW"), 1, answers), QString());
    EXPECT_EQ(take(anna, QStringLiteral("RETURNING"), 1, answers), QString());
    EXPECT_EQ(take(boris, QStringLiteral("RETURNING"), 1, answers), QString());

    QFile testLog(course() + QStringLiteral("/report.txt"));
    QFile answerLog(course() + QStringLiteral("/report.answers.txt"));
    ASSERT_TRUE(testLog.open(QIODevice::ReadOnly));
    ASSERT_TRUE(answerLog.open(QIODevice::ReadOnly));
    const QByteArray tests = testLog.readAll();
    const QByteArray answered = answerLog.readAll();
    EXPECT_EQ(linesOf(tests, anna.name), 2);
    EXPECT_EQ(linesOf(tests, boris.name), 2);
    EXPECT_EQ(linesOf(answered, anna.name), 6) << answered.toStdString();
    EXPECT_EQ(linesOf(answered, boris.name), 6) << answered.toStdString();
    for (const char* name : {"users.ini", "users", "report.answers.txt"}) {
        struct stat st {};
        ASSERT_EQ(
            ::stat(QFile::encodeName(course() + QLatin1Char('/') + QLatin1String(name)).constData(),
                   &st),
            0)
            << name;
        EXPECT_EQ(st.st_gid, kStudents) << name;
        EXPECT_EQ(st.st_mode & 0777, 0664u) << name;
    }
}

INSTANTIATE_TEST_SUITE_P(AnswerLog, SharedClassroom, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return info.param ? "Prepared" : "MadeByTheFirstTest";
                         });

} // namespace

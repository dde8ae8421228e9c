// SPDX-License-Identifier: GPL-3.0-or-later
// The author's guide, docs/authors.md, run as written: from an empty folder to a course with
// lectures from a .docx, an .odt and a Markdown file, two tests, a package and a zip file.
#include "support/admin_run.h"
#include "support/temp_folder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <gtest/gtest.h>

using namespace velmora::test;
using namespace Qt::StringLiterals;

namespace {

// The lines of the guide's ```sh blocks, in order.
QStringList guideShellLines() {
    QFile guide(QStringLiteral(VELMORA_SOURCE_ROOT "/docs/authors.md"));
    if (!guide.open(QIODevice::ReadOnly)) {
        ADD_FAILURE() << "cannot read docs/authors.md";
        return {};
    }
    QStringList lines;
    bool inShell = false;
    for (const QString& line : QString::fromUtf8(guide.readAll()).split(u'\n')) {
        if (line.startsWith(u"```"_s)) {
            inShell = !inShell && line == u"```sh"_s;
        } else if (inShell && !line.trimmed().isEmpty()) {
            lines.append(line.trimmed());
        }
    }
    return lines;
}

// A command line's words, "double-quoted" ones taken whole.
QStringList words(const QString& line) {
    QStringList result;
    QString word;
    bool quoted = false;
    bool any = false;
    for (const QChar c : line) {
        if (c == u'"') {
            quoted = !quoted;
            any = true;
        } else if (c == u' ' && !quoted) {
            if (any) {
                result.append(word);
            }
            word.clear();
            any = false;
        } else {
            word += c;
            any = true;
        }
    }
    if (any) {
        result.append(word);
    }
    return result;
}

// The guide's example documents: one lecture written in Markdown, the same saved by pandoc as
// .docx and .odt, and a GIFT bank.
void writeExampleFiles(const TempFolder& temp) {
    temp.write(u"routing.md"_s, "# Маршруттау\n\nМаршрутизатор пакетті келесі желіге жібереді.\n");
    temp.write(u"lecture.md"_s, "# Тақырып\n\nДәрістің мәтіні.\n");
    for (const char* name : {"osi.docx", "addressing.odt"}) {
        QProcess pandoc;
        pandoc.setWorkingDirectory(temp.path());
        pandoc.start(u"pandoc"_s, {u"lecture.md"_s, u"-o"_s, QString::fromUtf8(name)});
        ASSERT_TRUE(pandoc.waitForFinished(60000)) << "pandoc is needed: scripts/install-deps";
        ASSERT_EQ(pandoc.exitCode(), 0) << name;
    }
    temp.write(u"quiz2.gift"_s,
               "::q1:: OSI моделінде неше деңгей бар? {=7 ~5 ~4 ~3 ~2}\n\n"
               "::q2:: IP қай деңгейде жұмыс істейді? {=желілік ~арналық ~қолданбалы ~физикалық "
               "~сеанстық}\n");
}

TEST(AuthorsGuide, RunAsWrittenGivesACourseOfThreeDocumentsTwoTestsAndItsPackages) {
    if (QStandardPaths::findExecutable(u"dpkg-deb"_s).isEmpty() ||
        QStandardPaths::findExecutable(u"pandoc"_s).isEmpty()) {
        // A Windows test machine has neither; scripts/install-deps installs both on Debian.
        GTEST_SKIP() << "the guide converts with pandoc and packs with dpkg-deb";
    }
    const TempFolder temp;
    writeExampleFiles(temp);
    const QStringList lines = guideShellLines();
    ASSERT_GE(lines.size(), 8);
    QString here = temp.path();
    int run = 0;
    for (const QString& line : lines) {
        const QStringList args = words(line);
        if (args.first() == u"cd"_s) {
            here = QDir::cleanPath(here + u'/' + args[1]);
        } else if (args.first() == u"velmora-admin"_s) {
            const AdminRun result = runAdmin(args.mid(1), here);
            EXPECT_EQ(result.status, 0) << line.toStdString() << "\n" << result.err.toStdString();
            ++run;
        } else {
            // Installing on the lab's machines is the package check's matter.
            EXPECT_TRUE(line.startsWith(u"sudo apt install "_s)) << line.toStdString();
        }
    }
    EXPECT_EQ(run, 9);
    const QString course = temp.file(u"networks"_s);
    const AdminRun check = runAdmin({u"course"_s, u"check"_s}, course);
    EXPECT_EQ(check.out, u"0 errors, 0 warnings\n"_s);
    const AdminRun show = runAdmin({u"course"_s, u"show"_s}, course);
    EXPECT_EQ(show.out.section(u'\n', 1, 7),
              u"lectures \"Дәрістер және тестілеу\"\n"
              u"  lecture1 \"1. Кіріспе\" data/lectures/lecture1.html\n"
              u"  test1 \"Тестирование №1\" test 1\n"
              u"  osi \"2. OSI моделі\" data/lectures/osi.html, after test 1\n"
              u"  test2 \"Тестирование №2\" test 2, after test 1\n"
              u"  addressing \"3. IP адрестері\" data/lectures/addressing.html, after test 2\n"
              u"  routing \"4. Маршруттау\" data/lectures/routing.html, after test 2"_s);
    const AdminRun test2 = runAdmin({u"test"_s, u"check"_s, u"data/tests/test2.ini"_s}, course);
    EXPECT_EQ(test2.out.toStdString(), "OK: 2 questions\n");
    EXPECT_TRUE(QFileInfo(temp.file(u"velmora-course-networks_1.0_all.deb"_s)).isFile());
    EXPECT_TRUE(QFileInfo(temp.file(u"networks.zip"_s)).isFile());
}

} // namespace

// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/access/user_register.h"
#include "core/exam/answer_log.h"
#include "core/exam/question_bank.h"
#include "core/exam/question_bank_writer.h"
#include "core/exam/test_file.h"
#include "core/storage/code_page.h"
#include "support/admin_run.h"
#include "support/temp_folder.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace velmora;
using namespace velmora::test;
using namespace Qt::StringLiterals;

namespace {

QString sourceFile(const QString& relative) {
    QFile file(QStringLiteral(VELMORA_SOURCE_ROOT "/") + relative);
    if (!file.open(QIODevice::ReadOnly)) {
        ADD_FAILURE() << "cannot read " << relative.toStdString();
        return {};
    }
    return QString::fromUtf8(file.readAll());
}

// The lines of the guide's code blocks (indented by four blanks, or fenced) that run
// velmora-admin, as written.
QStringList guideCommandLines() {
    QStringList commands;
    bool fenced = false;
    for (const QString& line : sourceFile(u"docs/teachers.md"_s).split(u'\n')) {
        if (line.trimmed().startsWith(u"```"_s)) {
            fenced = !fenced;
            continue;
        }
        if (!fenced && !line.startsWith(u"    "_s)) {
            continue;
        }
        const QString code = line.trimmed();
        if (code.startsWith(u"velmora-admin "_s)) {
            commands.append(code);
        }
    }
    return commands;
}

// The arguments of one example line: its comment and output redirection left off, the guide's
// placeholders and home folder filled in.
QStringList argumentsOf(const QString& line, const QString& home) {
    QString command = line.section(u" #"_s, 0, 0).section(u" > "_s, 0, 0).simplified();
    QStringList args = command.split(u' ').mid(1);
    const bool adding = args.mid(0, 2) == QStringList{u"users"_s, u"add"_s};
    const QHash<QString, QString> placeholders{
        {u"NAME"_s, adding ? u"Bota"_s : u"Anna"_s},
        {u"PASSWORD"_s, u"secret7"_s},
        {u"LOGIN"_s, u"teacher"_s},
        {u"REPORTFILE"_s, u"report.txt"_s},
    };
    for (QString& arg : args) {
        arg = placeholders.value(arg, arg);
        if (arg.startsWith(u"~/"_s)) {
            arg = home + arg.mid(1);
        }
    }
    return args;
}

// A course folder in use, as the guide's examples expect it: the course's tests, the default
// settings, a registered student who finished test 1, both logs; and the teacher's home folder
// with the question source and banks the examples name.
void prepareCourse(const TempFolder& folder, const QString& home) {
    const QString root = QStringLiteral(VELMORA_SOURCE_ROOT "/course/");
    QDir().mkpath(u"data/tests"_s);
    QDir().mkpath(u"data/info"_s);
    for (const QString& name : QDir(root + u"data/tests"_s).entryList(QDir::Files)) {
        QFile::copy(root + u"data/tests/"_s + name, folder.file(u"data/tests/"_s + name));
    }
    folder.write(u"data/info/tumb.db"_s, "admin|admin|report.txt\r\n");
    folder.write(u"users"_s, "Anna\r\n");
    ASSERT_TRUE(UserRegister::addStudent(u"Anna"_s, u"secret7"_s));
    folder.write(u"report.txt"_s, "Anna | 14:05:09 | 03.02.2025 | test1 | 5\r\n");
    const TestFile test1 = TestFile::named(u"test1"_s);
    QList<Question> questions;
    QString answers;
    for (int k = 1; k <= test1.total(); ++k) {
        const Question q = test1.question(k);
        questions.append(q);
        const QString letter(*q.correctLetter());
        answers += u"Anna | 14:04:51 | 03.02.2025 | test1 | %1 | %2 | %2 | %3\r\n"_s.arg(k).arg(
            letter, AnswerLog::fingerprint(q.text));
    }
    folder.write(u"report.answers.txt"_s, CodePage::encode(answers));

    QDir().mkpath(home + u"/tests"_s);
    QDir().mkpath(home + u"/banks"_s);
    QFile::copy(root + u"sources/test3.txt"_s, home + u"/tests/test3.txt"_s);
    const struct {
        BankFormat format;
        const char16_t* name;
    } banks[] = {{BankFormat::Gift, u"networks.gift"},
                 {BankFormat::MoodleXml, u"networks.xml"},
                 {BankFormat::Aiken, u"networks.txt"}};
    for (const auto& bank : banks) {
        QFile file(home + u"/banks/"_s + QString::fromUtf16(bank.name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QuestionBankWriter::write(questions, bank.format, u"networks"_s).text);
    }
}

// Every velmora-admin example of the guide does what the guide says when typed in a course
// folder: each runs in a fresh copy and ends with exit status 0.
TEST(TeachersGuide, CommandExamplesRunAsWritten) {
    const QStringList lines = guideCommandLines();
    // The examples of every part of the guide are found (students, tests, banks, grades, the
    // journal, the course file).
    for (const char16_t* words :
         {u"users add", u"users remove", u"test build", u"test import", u"test export", u"grades",
          u"journal", u"stats", u"course check", u"course show"}) {
        EXPECT_FALSE(lines.filter(u"velmora-admin "_s + QString::fromUtf16(words)).isEmpty())
            << QString::fromUtf16(words).toStdString();
    }
    for (const QString& line : lines) {
        SCOPED_TRACE(line.toStdString());
        const TempFolder folder;
        const QString home = folder.file(u"home"_s);
        prepareCourse(folder, home);
        const AdminRun run = runAdmin(argumentsOf(line, home));
        EXPECT_EQ(run.status, 0) << run.err.toStdString();
    }
}

// Where the installed files go, as packaging/CMakeLists.txt installs them.
QString installedFolder(const QString& destination) {
    static const QList<std::pair<QString, QString>> folders{
        {u"${CMAKE_INSTALL_BINDIR}"_s, u"/usr/bin"_s},
        {u"${CMAKE_INSTALL_DOCDIR}"_s, u"/usr/share/doc/velmora"_s},
        {u"${CMAKE_INSTALL_MANDIR}"_s, u"/usr/share/man"_s},
        {u"${CMAKE_INSTALL_DATADIR}"_s, u"/usr/share"_s},
        {u"${VELMORA_MODULE_INSTALL_DIR}"_s, u"/usr/lib/velmora"_s},
        {u"${template_dir}"_s, u"/usr/share/velmora/course"_s},
    };
    QString folder = destination;
    for (const auto& [variable, path] : folders) {
        folder.replace(variable, path);
    }
    return folder;
}

// The guide's table of installed paths names every place the package installs into, and the row
// of the documentation folder every document installed there.
TEST(TeachersGuide, InstallTableNamesEveryInstalledPlaceAndDocument) {
    const QString guide = sourceFile(u"docs/teachers.md"_s);
    const QString packaging = sourceFile(u"packaging/CMakeLists.txt"_s);
    const QString docRow =
        guide.section(u"| `/usr/share/doc/velmora/` |"_s, 1, 1).section(u'\n', 0, 0);
    ASSERT_FALSE(docRow.isEmpty());
    const QRegularExpression install(
        uR"(install\((FILES|DIRECTORY|TARGETS)([^)]*?)DESTINATION\s+([^\s)]+))"_s);
    int places = 0;
    for (auto it = install.globalMatch(packaging); it.hasNext(); ++places) {
        const QRegularExpressionMatch m = it.next();
        const QString folder = installedFolder(m.captured(3));
        if (folder.contains(u"lintian"_s)) {
            continue; // the package's own notes to its checker, no file of the user's
        }
        SCOPED_TRACE(m.captured(0).toStdString());
        EXPECT_TRUE(guide.contains(u"| `"_s + folder) || guide.contains(u"`"_s + folder + u"/"_s))
            << folder.toStdString();
        if (folder != u"/usr/share/doc/velmora"_s || m.captured(1) != u"FILES"_s) {
            continue;
        }
        for (const QString& file :
             m.captured(2).split(QRegularExpression(u"\\s+"_s), Qt::SkipEmptyParts)) {
            const QString name =
                QString(file).replace(u"${changelog_gz}"_s, u"changelog.gz"_s).section(u'/', -1);
            if (name == u"teachers.md"_s) {
                EXPECT_TRUE(docRow.contains(u"this guide"_s));
            } else if (!name.isEmpty()) {
                EXPECT_TRUE(docRow.contains(u"`"_s + name + u"`"_s)) << name.toStdString();
            }
        }
    }
    EXPECT_GE(places, 10);
}

// The Windows table names every folder the Windows install rules fill, and the three programs.
TEST(TeachersGuide, WindowsTableNamesEveryInstalledPlace) {
    const QString guide = sourceFile(u"docs/teachers.md"_s)
                              .section(u"\n## Windows\n"_s, 1, 1)
                              .section(u"\n## "_s, 0, 0);
    const QString rules = sourceFile(u"packaging/windows/CMakeLists.txt"_s);
    const QRegularExpression install(
        uR"(install\((FILES|DIRECTORY|TARGETS)[^)]*?DESTINATION\s+([^\s)]+))"_s);
    int places = 0;
    for (auto it = install.globalMatch(rules); it.hasNext(); ++places) {
        const QString folder = it.next().captured(2);
        if (folder == u"."_s) {
            for (const char16_t* program :
                 {u"velmora.exe", u"velmora-admin.exe", u"velmora-launch.exe"}) {
                EXPECT_TRUE(guide.contains(u"| `"_s + QString::fromUtf16(program) + u"` |"_s))
                    << QString::fromUtf16(program).toStdString();
            }
        } else {
            EXPECT_TRUE(guide.contains(u"| `"_s + folder + u"\\` |"_s)) << folder.toStdString();
        }
    }
    EXPECT_GE(places, 5);
}

// The README names every build and test preset of CMakePresets.json.
TEST(Readme, NamesEveryPreset) {
    const QString readme = sourceFile(u"README.md"_s).simplified();
    const QJsonObject presets =
        QJsonDocument::fromJson(sourceFile(u"CMakePresets.json"_s).toUtf8()).object();
    const struct {
        const char16_t* key;
        const char16_t* phrase;
    } kinds[] = {{u"configurePresets", u"build presets ("}, {u"testPresets", u"test presets ("}};
    for (const auto& kind : kinds) {
        const QString named =
            readme.section(QString::fromUtf16(kind.phrase), 1, 1).section(u')', 0, 0);
        const QJsonArray list = presets.value(QString::fromUtf16(kind.key)).toArray();
        ASSERT_FALSE(list.isEmpty());
        for (const auto& preset : list) {
            const QString name = preset.toObject().value(u"name"_s).toString();
            EXPECT_TRUE(named.contains(u"`"_s + name + u"`"_s))
                << name.toStdString() << " in: " << named.toStdString();
        }
    }
}

} // namespace

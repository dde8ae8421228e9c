// SPDX-License-Identifier: GPL-3.0-or-later
// velmora-admin course new, add-document and add-test, run as a teacher runs them in a course
// folder.
#include "new_course.h"
#include "support/admin_run.h"
#include "support/temp_folder.h"

#include "core/search/document_text.h"
#include "core/storage/safe_file.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <gtest/gtest.h>

using namespace velmora::test;
using namespace Qt::StringLiterals;

namespace {

// pandoc comes with the build machine (scripts/install-deps); a Windows machine may have none, or
// name its own in VELMORA_PANDOC.
#ifdef Q_OS_WIN
#define SKIP_WITHOUT_PANDOC()                                                                      \
    if (qEnvironmentVariableIsEmpty("VELMORA_PANDOC") &&                                           \
        QStandardPaths::findExecutable(u"pandoc"_s).isEmpty())                                     \
    GTEST_SKIP() << "no pandoc"
#else
#define SKIP_WITHOUT_PANDOC() static_cast<void>(0)
#endif

// Every file under the folder, hidden ones too, with its bytes: what "nothing written" compares.
QMap<QString, QByteArray> filesUnder(const QString& folder) {
    QMap<QString, QByteArray> files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        files.insert(QDir(folder).relativeFilePath(file),
                     velmora::readWholeFile(file).value_or("unreadable"));
    }
    return files;
}

// A course made by `course new` in the folder "course" of the temporary folder.
QString newCourse(const TempFolder& temp) {
    const AdminRun run = runAdmin(
        {u"course"_s, u"new"_s, u"course"_s, u"--title"_s, u"Ақпараттық жүйелер \"негіздері\""_s},
        temp.path());
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    return temp.file(u"course"_s);
}

void expectChecksClean(const QString& course) {
    const AdminRun check = runAdmin({u"course"_s, u"check"_s}, course);
    EXPECT_EQ(check.status, 0) << check.out.toStdString();
    EXPECT_EQ(check.out, u"0 errors, 0 warnings\n"_s);
}

TEST(CourseNew, MakesACourseThatRunsAndChecksClean) {
    const TempFolder temp;
    const AdminRun run = runAdmin(
        {u"course"_s, u"new"_s, u"Networks 101"_s, u"--title"_s, u"Желілер \"негіздері\""_s},
        temp.path());
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    const QString course = temp.file(u"Networks 101"_s);
    const QRegularExpression printed(
        u"^Made the course \"Желілер \"негіздері\"\" \\(networks-101\\) in .*\n"
        u"Administrator login: admin\nAdministrator password: ([a-z0-9]{10})\n"
        u"Change them on the program's administrator screen \\(\"Басқару\"\\) before the "
        u"students come.\n$"_s);
    const QRegularExpressionMatch match = printed.match(run.out);
    ASSERT_TRUE(match.hasMatch()) << run.out.toStdString();
    EXPECT_EQ(velmora::readWholeFile(course + u"/data/info/tumb.db"_s),
              "admin|" + match.captured(1).toLatin1() + "|report.txt\r\n");
    for (const char* empty : {"users", "report.txt"}) {
        EXPECT_EQ(velmora::readWholeFile(course + u'/' + QString::fromUtf8(empty)), QByteArray())
            << empty;
    }
    expectChecksClean(course);
    const AdminRun show = runAdmin({u"course"_s, u"show"_s}, course);
    EXPECT_EQ(show.out.section(u'\n', 0, 3),
              u"\"Желілер \"негіздері\"\" (networks-101), help data/help/index.htm\n"
              u"lectures \"Дәрістер және тестілеу\"\n"
              u"  lecture1 \"1. Кіріспе\" data/lectures/lecture1.html\n"
              u"  test1 \"Тестирование №1\" test 1"_s);
    const AdminRun test = runAdmin({u"test"_s, u"check"_s, u"data/tests/test1.ini"_s}, course);
    EXPECT_EQ(test.out, u"OK: 2 questions\n"_s);
    // Two courses made one after the other have passwords of their own.
    const AdminRun second =
        runAdmin({u"course"_s, u"new"_s, u"second"_s, u"--title"_s, u"Екінші"_s}, temp.path());
    EXPECT_NE(velmora::readWholeFile(temp.file(u"second/data/info/tumb.db"_s)),
              velmora::readWholeFile(course + u"/data/info/tumb.db"_s));
}

TEST(CourseNew, IntoAnEmptyFolderButNeverIntoOneThatHoldsAnything) {
    const TempFolder temp;
    QDir(temp.path()).mkpath(u"empty"_s);
    EXPECT_EQ(
        runAdmin({u"course"_s, u"new"_s, u"empty"_s, u"--title"_s, u"T"_s}, temp.path()).status, 0);
    expectChecksClean(temp.file(u"empty"_s));

    QDir(temp.path()).mkpath(u"taken/sub"_s);
    temp.write(u"taken/.notes"_s, "mine");
    const QMap<QString, QByteArray> before = filesUnder(temp.path());
    const AdminRun run =
        runAdmin({u"course"_s, u"new"_s, u"taken"_s, u"--title"_s, u"T"_s}, temp.path());
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, u"velmora-admin: %1 exists and is not empty; a new course needs a new or "
                       u"empty folder\n"_s.arg(temp.file(u"taken"_s)));
    EXPECT_EQ(filesUnder(temp.path()), before);
    EXPECT_EQ(QDir(temp.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              (QStringList{u"empty"_s, u"taken"_s}));
    EXPECT_EQ(runAdmin({u"course"_s, u"new"_s, u"x"_s}, temp.path()).status, 2);
}

TEST(CourseNew, TheIdIsMadeFromTheFolderName) {
    const std::pair<const char*, const char*> rows[] = {
        {"Networks 101", "networks-101"},
        {"my_course--2", "my-course-2"},
        {"Курс", "new-course"},
        {"Course", "new-course"}, // the shipped course's folder in the user's data
        {"", "new-course"},
        {"-IS-", "is"},
        {"Курс ИС-2", "2"},
    };
    for (const auto& [folder, id] : rows) {
        EXPECT_EQ(velmora::admin::NewCourse::idFor(QString::fromUtf8(folder)),
                  QString::fromUtf8(id))
            << folder;
    }
}

// --- add-document -----------------------------------------------------------------------------

// Makes the teacher's document `name` in the folder: Markdown written, .docx and .odt made from
// it by pandoc, each with a picture; a page of HTML.
void makeDocument(const QString& folder, const QString& name) {
    QImage picture(40, 20, QImage::Format_RGB32);
    picture.fill(Qt::darkBlue);
    ASSERT_TRUE(picture.save(folder + u"/scheme.png"_s));
    QFile md(folder + u"/text.md"_s);
    ASSERT_TRUE(md.open(QIODevice::WriteOnly));
    md.write("# Желілік модель\n\nOSI моделінің жеті деңгейі бар.\n\n![Сызба](scheme.png)\n");
    md.close();
    const QString suffix = QFileInfo(name).suffix();
    if (suffix == u"html") {
        md.remove();
        QFile page(folder + u'/' + name);
        ASSERT_TRUE(page.open(QIODevice::WriteOnly));
        page.write("<!DOCTYPE html>\n<html lang=\"kk\">\n<head>\n<meta charset=\"utf-8\">\n"
                   "<title>OSI</title>\n</head>\n<body>\n<p>OSI моделі</p>\n</body>\n</html>\n");
        return;
    }
    if (suffix == u"md") {
        ASSERT_TRUE(QFile::rename(md.fileName(), folder + u'/' + name));
        return;
    }
    QProcess pandoc;
    pandoc.setWorkingDirectory(folder);
    pandoc.start(u"pandoc"_s, {u"text.md"_s, u"-o"_s, name});
    ASSERT_TRUE(pandoc.waitForFinished(60000)) << "pandoc is needed: scripts/install-deps";
    ASSERT_EQ(pandoc.exitCode(), 0) << pandoc.readAllStandardError().toStdString();
}

// The item add-document puts after test 1's item of the new course.
const QByteArray kAddedItem = "\n[[menu.item]]\nname = \"osi-model\"\n"
                              "caption = \"2. Желілік модель\"\n"
                              "document = \"data/lectures/osi-model.html\"\nicon = \"lecture\"\n"
                              "after_test = 1\n";

class AddDocument : public ::testing::TestWithParam<const char*> {};

TEST_P(AddDocument, BecomesALectureAfterTheTestItWaitsFor) {
    SKIP_WITHOUT_PANDOC();
    const TempFolder temp;
    const QString course = newCourse(temp);
    const QString name = u"OSI model."_s + QString::fromUtf8(GetParam());
    makeDocument(temp.path(), name);
    const QByteArray before = velmora::readWholeFile(course + u"/course.toml"_s).value();
    const AdminRun run =
        runAdmin({u"course"_s, u"add-document"_s, temp.file(name), u"--menu"_s, u"lectures"_s,
                  u"--caption"_s, u"2. Желілік модель"_s, u"--after-test"_s, u"1"_s},
                 course);
    ASSERT_EQ(run.status, 0) << run.err.toStdString() << run.out.toStdString();
    EXPECT_EQ(run.out, u"Added \"2. Желілік модель\" (data/lectures/osi-model.html) to the menu "
                       u"\"lectures\"\n0 errors, 0 warnings\n"_s);
    // The rest of the file as it was: the item is the last of the file, after test 1.
    EXPECT_EQ(velmora::readWholeFile(course + u"/course.toml"_s).value(), before + kAddedItem);

    const QByteArray page =
        velmora::readWholeFile(course + u"/data/lectures/osi-model.html"_s).value_or("");
    if (QString::fromUtf8(GetParam()) == u"html") {
        EXPECT_EQ(page, velmora::readWholeFile(temp.file(name)).value());
        return;
    }
    EXPECT_TRUE(page.startsWith("<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n"
                                "<title>2. Желілік модель</title>\n"
                                "<link rel=\"stylesheet\" href=\"../style.css\">\n</head>\n"))
        << page.toStdString();
    // The course search reads it as it reads the shipped pages: its title, its words.
    const std::optional<velmora::DocumentText> indexed = velmora::readDocumentText(page);
    ASSERT_TRUE(indexed.has_value());
    EXPECT_EQ(indexed->title, u"2. Желілік модель"_s);
    EXPECT_TRUE(indexed->text.contains(u"OSI моделінің жеті деңгейі бар."_s))
        << indexed->text.toStdString();
    // The picture is a file of its own beside the page, and the page shows it.
    const QRegularExpression image(u"<img src=\"(osi-model_files/[^\"]+)\""_s);
    const QRegularExpressionMatch shown = image.match(QString::fromUtf8(page));
    ASSERT_TRUE(shown.hasMatch()) << page.toStdString();
    EXPECT_FALSE(QImage(course + u"/data/lectures/"_s + shown.captured(1)).isNull());
}

INSTANTIATE_TEST_SUITE_P(Kinds, AddDocument, ::testing::Values("docx", "odt", "md", "html"));

TEST(AddDocumentTwice, TheSecondPageIsNumberedAndLandsBeforeBack) {
    SKIP_WITHOUT_PANDOC();
    const TempFolder temp;
    const QString course = newCourse(temp);
    // A menu closed by the "Назад" command: new items stay above it. Its name is the second
    // page's, so that item is named by its place.
    QFile file(course + u"/course.toml"_s);
    ASSERT_TRUE(file.open(QIODevice::Append));
    file.write("\n[[menu.item]]\nname = \"notes-2\"\ncommand = \"back\"\n");
    file.close();
    temp.write(u"notes.md"_s, "Notes\n");
    for (const char* caption : {"A", "B"}) {
        const AdminRun run =
            runAdmin({u"course"_s, u"add-document"_s, temp.file(u"notes.md"_s), u"--menu"_s,
                      u"Дәрістер және тестілеу"_s, u"--caption"_s, QString::fromUtf8(caption)},
                     course);
        ASSERT_EQ(run.status, 0) << run.err.toStdString();
    }
    const QByteArray text = velmora::readWholeFile(course + u"/course.toml"_s).value();
    EXPECT_TRUE(text.endsWith("[[menu.item]]\ntest = 1\n\n[[menu.item]]\nname = \"notes\"\n"
                              "caption = \"A\"\n"
                              "document = \"data/lectures/notes.html\"\nicon = \"lecture\"\n\n"
                              "[[menu.item]]\ncaption = \"B\"\n"
                              "document = \"data/lectures/notes-2.html\"\nicon = \"lecture\"\n\n"
                              "[[menu.item]]\nname = \"notes-2\"\ncommand = \"back\"\n"))
        << text.toStdString();
}

#ifdef Q_OS_WIN
constexpr const char* kInstallPandoc = "install pandoc (https://pandoc.org/installing.html)";
#else
constexpr const char* kInstallPandoc =
    "install the Debian package \"pandoc\" (sudo apt install pandoc)";
#endif

struct BadInput {
    const char* name;
    const char* file;      // the document given; "" for one that is not there
    QByteArray bytes;      // its content
    const char* converter; // VELMORA_PANDOC; "" for pandoc itself
    const char* menu;
    const char* reason; // what the message says after the file's name
};

void PrintTo(const BadInput& row, std::ostream* os) {
    *os << row.name;
}

class AddDocumentRefused : public ::testing::TestWithParam<BadInput> {};

TEST_P(AddDocumentRefused, NamesTheFileAndTheReasonAndAddsNothing) {
    SKIP_WITHOUT_PANDOC();
    const BadInput& row = GetParam();
    const TempFolder temp;
    const QString course = newCourse(temp);
    const QString file = temp.file(QString::fromUtf8(row.file));
    if (!row.bytes.isNull()) {
        temp.write(QString::fromUtf8(row.file), row.bytes);
    }
    const QMap<QString, QByteArray> before = filesUnder(course);
    // A row's own converter for its run; the machine's (under Wine, the host's) otherwise.
    const QByteArray machines = qgetenv("VELMORA_PANDOC");
    if (*row.converter != '\0') {
        qputenv("VELMORA_PANDOC", row.converter);
    }
    const AdminRun run = runAdmin({u"course"_s, u"add-document"_s, file, u"--menu"_s,
                                   QString::fromUtf8(row.menu), u"--caption"_s, u"X"_s},
                                  course);
    qputenv("VELMORA_PANDOC", machines);
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.err.contains(QString::fromUtf8(row.reason))) << run.err.toStdString();
    EXPECT_EQ(filesUnder(course), before);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, AddDocumentRefused,
    ::testing::Values(
        BadInput{"missing", "gone.docx", QByteArray(), "", "lectures", "gone.docx: no such file"},
        BadInput{"unsupported", "scan.pdf", "%PDF-1.4", "", "lectures",
                 "scan.pdf: unsupported format; give a .docx, .odt, .md or .html file"},
        // The converter's own reason.
        BadInput{"damagedDocx", "broken.docx", "PK\x03\x04 not a zip at all", "", "lectures",
                 "broken.docx: couldn't unpack docx container"},
        BadInput{"damagedOdt", "broken.odt", "plain text", "", "lectures",
                 "broken.odt: Could not unzip ODT"},
        BadInput{"noConverter", "text.md", "# T\n", "/nonexistent/pandoc", "lectures",
                 kInstallPandoc},
        BadInput{"noSuchMenu", "text.md", "# T\n", "", "labs",
                 "no menu \"labs\" in course.toml; its menus are lectures (\"Дәрістер және "
                 "тестілеу\")"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(AddDocumentRefusedForTheCourse, ACourseFileWithErrorsIsNotTouched) {
    const TempFolder temp;
    const QString course = newCourse(temp);
    temp.write(u"text.md"_s, "# T\n");
    QByteArray text = velmora::readWholeFile(course + u"/course.toml"_s).value();
    text.replace("pass_grade", "pass_grde");
    temp.write(u"course/course.toml"_s, text);
    const QMap<QString, QByteArray> before = filesUnder(course);
    const AdminRun run = runAdmin({u"course"_s, u"add-document"_s, temp.file(u"text.md"_s),
                                   u"--menu"_s, u"lectures"_s, u"--caption"_s, u"X"_s},
                                  course);
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.err.startsWith(u"velmora-admin: course.toml has errors; nothing was added:\n"
                                   u"  course.toml:"_s))
        << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(u"«pass_grde»"_s)) << run.err.toStdString();
    EXPECT_EQ(filesUnder(course), before);
}

// A teacher's editor saves course.toml while add-document waits for its lock: the saved change
// is what the item is added to.
TEST(AddDocumentLock, AChangeSavedMeanwhileIsKept) {
    SKIP_WITHOUT_PANDOC();
    const TempFolder temp;
    const QString course = newCourse(temp);
    temp.write(u"text.md"_s, "# T\n");
    const QString courseFile = course + u"/course.toml"_s;
    std::optional<velmora::FileLock> editor(std::in_place, courseFile);
    ASSERT_TRUE(editor->held());
    QProcess admin;
    admin.setWorkingDirectory(course);
    admin.start(QStringLiteral(VELMORA_ADMIN),
                {u"course"_s, u"add-document"_s, temp.file(u"text.md"_s), u"--menu"_s,
                 u"lectures"_s, u"--caption"_s, u"X"_s});
    ASSERT_TRUE(admin.waitForStarted());
    EXPECT_FALSE(admin.waitForFinished(1500)); // waits for the lock
    QByteArray saved = velmora::readWholeFile(courseFile).value();
    saved.replace("caption = \"1. Кіріспе\"", "caption = \"1. Кіріспе (өңделген)\"");
    ASSERT_EQ(velmora::writeFileAtomically(courseFile, saved), 0);
    editor.reset();
    ASSERT_TRUE(admin.waitForFinished(30000));
    EXPECT_EQ(admin.exitCode(), 0) << admin.readAllStandardError().toStdString();
    const QByteArray after = velmora::readWholeFile(courseFile).value();
    EXPECT_TRUE(after.startsWith(saved)) << after.toStdString();
    EXPECT_TRUE(after.endsWith("caption = \"X\"\ndocument = \"data/lectures/text.html\"\n"
                               "icon = \"lecture\"\n"))
        << after.toStdString();
}

// --- add-test ---------------------------------------------------------------------------------

struct TestInput {
    const char* name;
    const char* file;
    QByteArray bytes;
};

void PrintTo(const TestInput& row, std::ostream* os) {
    *os << row.name;
}

class AddTest : public ::testing::TestWithParam<TestInput> {};

TEST_P(AddTest, BuildsTheNextTestAfterTheLastLecture) {
    SKIP_WITHOUT_PANDOC();
    const TempFolder temp;
    const QString course = newCourse(temp);
    temp.write(u"l2.md"_s, "Text\n");
    ASSERT_EQ(runAdmin({u"course"_s, u"add-document"_s, temp.file(u"l2.md"_s), u"--menu"_s,
                        u"lectures"_s, u"--caption"_s, u"2"_s, u"--after-test"_s, u"1"_s},
                       course)
                  .status,
              0);
    temp.write(QString::fromUtf8(GetParam().file), GetParam().bytes);
    const QByteArray before = velmora::readWholeFile(course + u"/course.toml"_s).value();
    const AdminRun run =
        runAdmin({u"course"_s, u"add-test"_s, temp.file(QString::fromUtf8(GetParam().file)),
                  u"--after-test"_s, u"1"_s},
                 course);
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, u"Added test 2 (data/tests/test2.ini), after test 1\n"
                       u"0 errors, 0 warnings\n"_s);
    EXPECT_EQ(velmora::readWholeFile(course + u"/course.toml"_s).value(),
              before + "\n[[menu.item]]\ntest = 2\nafter_test = 1\n");
    const AdminRun shown = runAdmin({u"test"_s, u"show"_s, u"data/tests/test2.ini"_s}, course);
    EXPECT_TRUE(shown.out.startsWith(u"Questions: 1\n\n1. Қай хаттама сенімді?\n"_s))
        << shown.out.toStdString();
    EXPECT_TRUE(shown.out.contains(u"TCP"_s));
    EXPECT_TRUE(QFileInfo(course + u"/sources/test2.txt"_s).isFile());
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, AddTest,
    ::testing::Values(TestInput{"questionSource", "net.txt",
                                "Қай хаттама сенімді?\nA) UDP\nB) TCP*\nC) ICMP\nD) ARP\nE) DNS\n"},
                      TestInput{"giftBank", "net.gift",
                                "::q1:: Қай хаттама сенімді? {~UDP =TCP ~ICMP}\n"},
                      TestInput{"aikenBank", "net-aiken.txt",
                                "Қай хаттама сенімді?\nA. UDP\nB. TCP\nANSWER: B\n"}),
    [](const auto& info) { return std::string(info.param.name); });

// Without a lecture after the last test the new test follows that test, and a closing document
// that is no lecture (a final control, say) stays after both.
TEST(AddTestPlace, AfterTheLastLectureOrTestBeforeOtherDocuments) {
    const TempFolder temp;
    const QString course = newCourse(temp);
    temp.write(u"q.txt"_s, "Сұрақ?\nA) Иә*\nB) Жоқ\n");
    temp.write(u"control.htm"_s, "<p>Қорытынды</p>");
    QFile file(course + u"/course.toml"_s);
    ASSERT_TRUE(file.open(QIODevice::Append));
    file.write("\n[[menu.item]]\ncaption = \"Қорытынды бақылау\"\n"
               "document = \"data/control.htm\"\nicon = \"control\"\n");
    file.close();
    ASSERT_TRUE(QFile::copy(temp.file(u"control.htm"_s), course + u"/data/control.htm"_s));
    const AdminRun run = runAdmin({u"course"_s, u"add-test"_s, temp.file(u"q.txt"_s)}, course);
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    const QByteArray text = velmora::readWholeFile(course + u"/course.toml"_s).value();
    EXPECT_TRUE(text.endsWith("[[menu.item]]\ntest = 1\n\n[[menu.item]]\ntest = 2\n\n"
                              "[[menu.item]]\ncaption = \"Қорытынды бақылау\"\n"
                              "document = \"data/control.htm\"\nicon = \"control\"\n"))
        << text.toStdString();
}

TEST(AddTestRefused, NoBankAndNoSourceAddsNothing) {
    const TempFolder temp;
    const QString course = newCourse(temp);
    temp.write(u"notes.txt"_s, "just some notes\n");
    const QMap<QString, QByteArray> before = filesUnder(course);
    const AdminRun run = runAdmin({u"course"_s, u"add-test"_s, temp.file(u"notes.txt"_s)}, course);
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.err.contains(u"is neither a question source"_s)) << run.err.toStdString();
    EXPECT_EQ(filesUnder(course), before);
}

} // namespace

// SPDX-License-Identifier: GPL-3.0-or-later
// The teacher's commands that make a course: a new course folder, lectures from their own
// documents, tests from question sources and banks.
#include "admin_command.h"
#include "course_package.h"
#include "document_converter.h"
#include "file_and_options.h"
#include "new_course.h"

#include "core/course/course_file.h"
#include "core/course/course_file_edit.h"
#include "core/course/course_folder_check.h"
#include "core/exam/question_bank.h"
#include "core/exam/question_source.h"
#include "core/exam/question_source_converter.h"
#include "core/storage/data_path.h"
#include "core/storage/failure.h"
#include "core/storage/safe_file.h"
#include "core/storage/save_file.h"

#include <QDate>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QTemporaryDir>
#include <cerrno>

namespace velmora::admin {
namespace {

int usage(QTextStream& err, const QString& line) {
    err << "velmora-admin: usage: velmora-admin course " << line << "\n";
    return 2;
}

// K of "--after-test K": a test number, or 0 when the option is not given; nothing when it is no
// number.
std::optional<int> afterTest(const FileAndOptions& args) {
    if (!args.options.contains(QStringLiteral("--after-test"))) {
        return 0;
    }
    bool ok = false;
    const int k = args.options.value(QStringLiteral("--after-test")).toInt(&ok);
    return ok && k > 0 ? std::optional(k) : std::nullopt;
}

// The course folder the command works on: the current directory, which must hold course.toml.
QString courseFolder() {
    QString folder = programFolder();
    if (!QFileInfo(folder + QLatin1Char('/') + kCourseFileName).isFile()) {
        throw Failure(QStringLiteral("no %1 in %2; run the command in a course folder (make one "
                                     "with 'course new')")
                          .arg(kCourseFileName, folder));
    }
    return folder;
}

QString courseFilePath(const QString& folder) {
    return matchLetterCase(folder + QLatin1Char('/') + kCourseFileName);
}

// The course that `text` describes, its files looked up in `folder` and among `added` (paths
// with "/" about to be put there). Throws Failure listing every error of it.
CourseBook checkedCourse(const QByteArray& text, const QString& folder,
                         const QStringList& added = {}) {
    CourseFileReading reading = readCourseFile(text, [&](const QString& relative) {
        return added.contains(relative) || courseFileExists(folder, relative);
    });
    QStringList errors;
    for (const CourseProblem& problem : reading.problems) {
        if (problem.isError()) {
            errors.append(QStringLiteral("  ") + problem.line());
        }
    }
    if (!errors.isEmpty()) {
        throw Failure(QStringLiteral("%1 has errors; nothing was added:\n%2")
                          .arg(kCourseFileName, errors.join(QLatin1Char('\n'))));
    }
    return std::move(reading.course);
}

// The menu named `name` by its object name or its caption, whatever the letter case.
const CourseMenu& menuNamed(const CourseBook& course, const QString& name) {
    QStringList known;
    for (const CourseMenu& menu : course.menus) {
        if (menu.name.compare(name, Qt::CaseInsensitive) == 0 ||
            menu.caption.compare(name, Qt::CaseInsensitive) == 0) {
            return menu;
        }
        known.append(QStringLiteral("%1 (\"%2\")").arg(menu.name, menu.caption));
    }
    throw Failure(QStringLiteral("no menu \"%1\" in %2; its menus are %3")
                      .arg(name, kCourseFileName, known.join(QStringLiteral(", "))));
}

// The header line of the table a new document item follows: the menu's last item that is no
// command (the "Назад" command stays last), or the menu itself when it has none.
int lineForDocument(const CourseMenu& menu) {
    int line = menu.place.line;
    for (const CourseItem& item : menu.items) {
        if (item.kind != CourseItemKind::Command) {
            line = item.place.line;
        }
    }
    return line;
}

// --- course new -------------------------------------------------------------------------------

int courseNew(const QStringList& a, QTextStream& out, QTextStream& err) {
    const auto args = fileAndOptions(a, {QStringLiteral("--title")});
    if (!args || !args->options.contains(QStringLiteral("--title")) ||
        args->options.value(QStringLiteral("--title")).trimmed().isEmpty()) {
        return usage(err, QStringLiteral("new FOLDER --title \"TITLE\""));
    }
    const QString folder = QDir(programFolder()).absoluteFilePath(args->file);
    const NewCourse course(QFileInfo(folder).fileName(),
                           args->options.value(QStringLiteral("--title")));
    course.create(folder);
    out << "Made the course \"" << args->options.value(QStringLiteral("--title")) << "\" ("
        << course.id() << ") in " << QDir::cleanPath(folder) << "\n"
        << "Administrator login: " << course.login() << "\n"
        << "Administrator password: " << course.password() << "\n"
        << "Change them on the program's administrator screen (\"Басқару\") before the students "
           "come.\n";
    return 0;
}

// --- course add-document ----------------------------------------------------------------------

// The name of a new page of the folder data/lectures: the document's name in latin letters,
// digits and "-", numbered when the page or its pictures' folder is there already.
QString freePageName(const QString& lectures, const QString& source) {
    QString stem = NewCourse::idFor(QFileInfo(source).completeBaseName());
    if (stem == u"course") {
        stem = QStringLiteral("lecture");
    }
    QString name = stem;
    for (int n = 2;
         QFileInfo::exists(lectures + QLatin1Char('/') + name + QStringLiteral(".html")) ||
         QFileInfo::exists(lectures + QLatin1Char('/') + name + QStringLiteral("_files"));
         ++n) {
        name = QStringLiteral("%1-%2").arg(stem).arg(n);
    }
    return name;
}

// Copies the files of `from` into `to`, which must not exist yet.
void copyFolder(const QString& from, const QString& to) {
    QDirIterator files(from, QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString file = files.next();
        const QString target = to + QLatin1Char('/') + QDir(from).relativeFilePath(file);
        if (!QDir().mkpath(QFileInfo(target).absolutePath()) || !QFile::copy(file, target)) {
            throw failures::cannotCreateFile(target, EACCES);
        }
    }
}

// A page (and the folder of its pictures, if any) or a test made for the course and not yet named
// in course.toml: removed again unless kept.
class NewFiles {
public:
    NewFiles(QString page, QString pictures)
        : page_(std::move(page)), pictures_(std::move(pictures)) {}
    ~NewFiles() {
        if (kept_) {
            return;
        }
        QFile::remove(page_);
        // An empty QDir is the current directory: only a folder that was named goes.
        if (!pictures_.isEmpty()) {
            QDir(pictures_).removeRecursively();
        }
    }
    NewFiles(const NewFiles&) = delete;
    NewFiles& operator=(const NewFiles&) = delete;
    void keep() { kept_ = true; }

private:
    QString page_;
    QString pictures_;
    bool kept_ = false;
};

// The page of the lecture: an .html file as it is; a document converted in `workFolder`, its
// pictures in the folder `pictures` there, the course's style sheet linked when it has one.
QByteArray lecturePage(const QString& source, const QString& caption, const QString& folder,
                       const QString& workFolder, const QString& pictures) {
    if (DocumentConverter::isPage(source)) {
        int error = 0;
        std::optional<QByteArray> page = readWholeFile(source, &error);
        if (!page) {
            throw failures::cannotOpenFile(source, error);
        }
        return std::move(*page);
    }
    const QByteArray body = DocumentConverter::convert(source, workFolder, pictures);
    const bool styled = courseFileExists(folder, QStringLiteral("data/style.css"));
    return DocumentConverter::page(body, caption,
                                   styled ? QStringLiteral("../style.css") : QString());
}

int addDocument(const QStringList& a, QTextStream& out, QTextStream& err) {
    const QString usageLine =
        QStringLiteral("add-document FILE --menu NAME --caption \"CAPTION\" [--after-test K]");
    const auto args = fileAndOptions(
        a, {QStringLiteral("--menu"), QStringLiteral("--caption"), QStringLiteral("--after-test")});
    const std::optional<int> after = args ? afterTest(*args) : std::nullopt;
    if (!args || !after || !args->options.contains(QStringLiteral("--menu")) ||
        args->options.value(QStringLiteral("--caption")).trimmed().isEmpty()) {
        return usage(err, usageLine);
    }
    const QString folder = courseFolder();
    const QString source = openPath(args->file);
    const QString caption = args->options.value(QStringLiteral("--caption"));
    if (!QFileInfo(source).isFile()) {
        throw Failure(QStringLiteral("cannot convert %1: no such file").arg(args->file));
    }
    if (!DocumentConverter::isPage(source) && DocumentConverter::formatOf(source).isEmpty()) {
        throw Failure(QStringLiteral("cannot convert %1: unsupported format; give a .docx, .odt, "
                                     ".md or .html file")
                          .arg(args->file));
    }
    // The course is checked before anything is converted: a course file with errors is mended
    // first.
    const CourseBook before =
        checkedCourse(readWholeFile(courseFilePath(folder)).value_or(QByteArray()), folder);
    menuNamed(before, args->options.value(QStringLiteral("--menu")));

    const QString lectures = folder + QStringLiteral("/data/lectures");
    const QString name = freePageName(lectures, source);
    const QString document = QStringLiteral("data/lectures/%1.html").arg(name);
    const QString pictures = name + QStringLiteral("_files");
    const QTemporaryDir work;
    if (!work.isValid()) {
        throw Failure(QStringLiteral("cannot make a temporary folder: %1").arg(work.errorString()));
    }
    const QByteArray page = lecturePage(source, caption, folder, work.path(), pictures);
    if (!QDir().mkpath(lectures)) {
        throw failures::cannotCreateFile(lectures, EACCES);
    }
    NewFiles made(lectures + QLatin1Char('/') + name + QStringLiteral(".html"),
                  lectures + QLatin1Char('/') + pictures);
    if (QFileInfo::exists(work.filePath(pictures))) {
        copyFolder(work.filePath(pictures), lectures + QLatin1Char('/') + pictures);
    }
    saveFile(lectures + QLatin1Char('/') + name + QStringLiteral(".html"), page);

    CourseFileEdit::rewrite(courseFilePath(folder), [&](const QByteArray& text) {
        const CourseBook course = checkedCourse(text, folder);
        const CourseMenu& menu = menuNamed(course, args->options.value(QStringLiteral("--menu")));
        QList<CourseFileEdit::Key> keys{
            {"name", CourseFileEdit::string(name)},
            {"caption", CourseFileEdit::string(caption)},
            {"document", CourseFileEdit::string(document)},
            {"icon", "\"lecture\""},
        };
        if (*after > 0) {
            keys.append({"after_test", QByteArray::number(*after)});
        }
        const auto edit = [&] {
            return CourseFileEdit::insertAfterTable(text, lineForDocument(menu),
                                                    CourseFileEdit::itemTable(keys));
        };
        // The page's name names the item too, so that items put before it later do not rename
        // it; a name the course already uses is left out, and the item is named by its place.
        try {
            QByteArray edited = edit();
            checkedCourse(edited, folder);
            return edited;
        } catch (const Failure&) {
            keys.removeFirst();
        }
        QByteArray edited = edit();
        checkedCourse(edited, folder);
        return edited;
    });
    made.keep();
    out << "Added \"" << caption << "\" (" << document << ") to the menu \""
        << args->options.value(QStringLiteral("--menu")) << "\"\n";
    return printCourseCheck(folder, out) > 0 ? 1 : 0;
}

// --- course add-test --------------------------------------------------------------------------

// Whether the item is a lecture or a test: what a new test follows.
bool isLectureOrTest(const CourseItem& item) {
    return item.kind == CourseItemKind::Test ||
           (item.kind == CourseItemKind::Document &&
            item.icon == QStringLiteral(":/icons/lecture.svg"));
}

// The header line of the table a new test item follows, in the menu holding test `after` (or the
// course's last test when `after` is 0; the first menu when there is none): the menu's last
// lecture or test, so that closing documents (a final control) stay last; the last item that is
// no command when it has neither; the menu itself when it is empty.
int lineForTest(const CourseBook& course, int after) {
    const CourseMenu* menu = &course.menus.front();
    const int test = after > 0 ? after : course.highestTest();
    for (const CourseMenu& m : course.menus) {
        for (const CourseItem& item : m.items) {
            if (item.kind == CourseItemKind::Test && item.test == test) {
                menu = &m;
            }
        }
    }
    int lecture = 0;
    int other = menu->place.line;
    for (const CourseItem& item : menu->items) {
        if (isLectureOrTest(item)) {
            lecture = item.place.line;
        } else if (item.kind != CourseItemKind::Command) {
            other = item.place.line;
        }
    }
    return lecture > 0 ? lecture : other;
}

// Builds the test file from a question source or a bank; returns the source's text to keep
// beside the course's other sources.
QByteArray buildTest(const QString& input, const QString& output, QTextStream& err) {
    QuestionSourceConverter converter;
    ConversionResult result;
    QByteArray sourceText;
    if (QuestionSource::isSource(QuestionSource::read(input))) {
        result = converter.convert(input, output, TestFileWrite::Replace);
        sourceText = readWholeFile(input).value_or(QByteArray());
    } else {
        const std::optional<BankFormat> format = QuestionBank::formatOfFile(input);
        if (!format) {
            throw Failure(QStringLiteral("%1 is neither a question source (an answer line \"A)\" "
                                         "... \"E)\" marked with \"*\") nor an Aiken, GIFT or "
                                         "Moodle XML bank")
                              .arg(input));
        }
        const QuestionBank bank = QuestionBank::readFile(input, *format);
        if (bank.imported() == 0) {
            for (const QString& warning : bank.warnings()) {
                err << "velmora-admin: warning: " << warning << "\n";
            }
            throw Failure(QuestionBank::nothingImported(input));
        }
        result = bank.build(converter, output, TestFileWrite::Replace);
        sourceText = bank.sourceText();
    }
    for (const QString& warning : result.warnings) {
        err << "velmora-admin: warning: " << warning << "\n";
    }
    err << "velmora-admin: " << counted(result.questions, "question", "questions") << " written to "
        << output << "\n";
    return sourceText;
}

int addTest(const QStringList& a, QTextStream& out, QTextStream& err) {
    const auto args = fileAndOptions(a, {QStringLiteral("--after-test")});
    const std::optional<int> after = args ? afterTest(*args) : std::nullopt;
    if (!args || !after) {
        return usage(err, QStringLiteral("add-test SOURCE|BANK [--after-test K]"));
    }
    const QString folder = courseFolder();
    const QString input = openPath(args->file);
    if (!QFileInfo(input).isFile()) {
        throw failures::cannotOpenFile(input, ENOENT);
    }
    const CourseBook before =
        checkedCourse(readWholeFile(courseFilePath(folder)).value_or(QByteArray()), folder);
    const int number = before.highestTest() + 1;
    const QString test = QStringLiteral("data/tests/test%1.ini").arg(number);
    const QString testPath = folder + QLatin1Char('/') + test;
    if (QFileInfo::exists(testPath)) {
        throw Failure(QStringLiteral("%1 is there already, though no item names test %2; move it "
                                     "away or add its item by hand")
                          .arg(test)
                          .arg(number));
    }
    QDir().mkpath(QFileInfo(testPath).absolutePath());
    NewFiles made(testPath, QString());
    const QByteArray sourceText = buildTest(input, testPath, err);
    CourseFileEdit::rewrite(courseFilePath(folder), [&](const QByteArray& text) {
        const CourseBook course = checkedCourse(text, folder, {test});
        if (course.highestTest() + 1 != number) {
            throw Failure(QStringLiteral("%1 changed meanwhile: it names test %2 now; run the "
                                         "command again")
                              .arg(kCourseFileName)
                              .arg(course.highestTest()));
        }
        QList<CourseFileEdit::Key> keys{{"test", QByteArray::number(number)}};
        if (*after > 0) {
            keys.append({"after_test", QByteArray::number(*after)});
        }
        QByteArray edited = CourseFileEdit::insertAfterTable(text, lineForTest(course, *after),
                                                             CourseFileEdit::itemTable(keys));
        checkedCourse(edited, folder, {test});
        return edited;
    });
    made.keep();
    // The question source stays with the course, for the teacher to edit and build again.
    const QString kept = folder + QStringLiteral("/sources/test%1.txt").arg(number);
    if (!QFileInfo::exists(kept) && QDir().mkpath(QFileInfo(kept).absolutePath())) {
        saveFile(kept, sourceText);
    }
    out << "Added test " << number << " (" << test << ")";
    if (*after > 0) {
        out << ", after test " << *after;
    }
    out << "\n";
    return printCourseCheck(folder, out) > 0 ? 1 : 0;
}

// --- course pack ------------------------------------------------------------------------------

int pack(const QStringList& a, QTextStream& out, QTextStream& err) {
    const QString usageLine = QStringLiteral(
        "pack FOLDER --deb|--zip [--version V] [--maintainer \"NAME <MAIL>\"] [--output DIR]");
    const auto args = fileAndOptions(
        a,
        {QStringLiteral("--version"), QStringLiteral("--maintainer"), QStringLiteral("--output")},
        {QStringLiteral("--deb"), QStringLiteral("--zip")});
    if (!args || args->flags.size() != 1) {
        return usage(err, usageLine);
    }
    const bool deb = args->flags.first() == QStringLiteral("--deb");
    const QString folder = QDir(programFolder()).absoluteFilePath(args->file);
    if (!QFileInfo(folder + QLatin1Char('/') + kCourseFileName).isFile()) {
        throw Failure(QStringLiteral("no %1 in %2").arg(kCourseFileName, folder));
    }
    QStringList errors;
    for (const CourseProblem& problem : checkCourseFolder(folder)) {
        if (problem.isError()) {
            errors.append(QStringLiteral("  ") + problem.line());
        }
    }
    if (!errors.isEmpty()) {
        throw Failure(QStringLiteral("the course has errors; mend them and pack it again:\n%1")
                          .arg(errors.join(QLatin1Char('\n'))));
    }
    const CoursePackage package(folder, CourseBook::read(folder));
    const QString output =
        QDir(programFolder())
            .absoluteFilePath(args->options.value(QStringLiteral("--output"), QStringLiteral(".")));
    QString made;
    if (deb) {
        const QString version =
            args->options.value(QStringLiteral("--version"),
                                QDate::currentDate().toString(QStringLiteral("yyyy.MM.dd")));
        QString maintainer = args->options.value(QStringLiteral("--maintainer"));
        if (maintainer.isEmpty()) {
            maintainer = qEnvironmentVariable("DEBFULLNAME", QStringLiteral("Course author")) +
                         QStringLiteral(" <") +
                         qEnvironmentVariable("DEBEMAIL", QStringLiteral("author@example.org")) +
                         QLatin1Char('>');
        }
        made = package.buildDeb(output, version, maintainer);
    } else {
        made = package.buildZip(output);
    }
    out << QDir::cleanPath(made) << "\n";
    return 0;
}

} // namespace

QList<AdminCommand> courseAuthoringCommands() {
    return {
        {{QStringLiteral("course"), QStringLiteral("new")},
         QStringLiteral("FOLDER --title \"TITLE\""),
         QStringLiteral("make a new course folder that runs at once"),
         QStringLiteral(
             "Makes the course folder FOLDER, which must not exist or be empty, for the course\n"
             "called TITLE: a course.toml with the title page texts to fill in, one menu with\n"
             "one lecture and test 1 after it, the style sheet and pictures, the help page, an\n"
             "empty test log and user list, the question source sources/test1.txt with two\n"
             "sample questions and its built test, and the administrator settings with the\n"
             "login \"admin\" and a password made up for it, both printed: change them on the\n"
             "administrator screen. The course's id is the folder's name in latin letters,\n"
             "digits and \"-\". A folder that holds anything is refused and nothing is\n"
             "written."),
         -1,
         courseNew},
        {{QStringLiteral("course"), QStringLiteral("add-document")},
         QStringLiteral("FILE --menu NAME --caption \"CAPTION\" [--after-test K]"),
         QStringLiteral("turn a .docx, .odt or .md document into a lecture of the course"),
         QStringLiteral(
             "Run in the course folder. Converts the document FILE (.docx, .odt or Markdown .md)\n"
             "with pandoc into the page data/lectures/NAME.html, its pictures extracted into\n"
             "data/lectures/NAME_files/, the page's charset declared as UTF-8, its title set to\n"
             "CAPTION and the course's style sheet data/style.css linked; an .html file is\n"
             "copied as it is. NAME is the document's name in latin letters, digits and \"-\",\n"
             "numbered when taken. The item (CAPTION, the lecture icon, locked until test K\n"
             "is passed with --after-test) is added as the last item of the menu NAME (its\n"
             "object name or caption) before a \"Назад\" item, without touching the rest of\n"
             "course.toml: comments and order stay. The file is rewritten at once under its\n"
             "lock, read again once the lock is held. Then the course is checked as 'course\n"
             "check' does. A document that cannot be converted, a course.toml with errors or\n"
             "a menu it lacks: a message, exit status 1, nothing added. pandoc is the Debian\n"
             "package \"pandoc\"."),
         -1,
         addDocument},
        {{QStringLiteral("course"), QStringLiteral("add-test")},
         QStringLiteral("SOURCE|BANK [--after-test K]"),
         QStringLiteral("build the course's next test from a question source or bank"),
         QStringLiteral(
             "Run in the course folder. Builds the test file data/tests/testN.ini, N one more\n"
             "than the course's highest test, from the question source SOURCE (as 'test build')\n"
             "or the Aiken, GIFT or Moodle XML bank BANK (as 'test import'), keeps the questions\n"
             "as sources/testN.txt when there is no such file yet, and adds the item \"test = N\"\n"
             "after the last lecture (a document with the lecture icon) or test of the menu\n"
             "holding test K (--after-test K: locked until test K is passed) or the course's\n"
             "last test; other documents after them stay last. course.toml is edited as by\n"
             "'add-document'; then the course is checked as 'course check' does."),
         -1,
         addTest},
        {{QStringLiteral("course"), QStringLiteral("pack")},
         QStringLiteral("FOLDER --deb|--zip [--version V] [--maintainer \"NAME <MAIL>\"] [--output "
                        "DIR]"),
         QStringLiteral("pack a course for the lab's machines: a Debian package or a zip file"),
         QStringLiteral(
             "Packs the course folder FOLDER, which must check without errors ('course check';\n"
             "a course with errors is refused, listing them). --deb builds with dpkg-deb the\n"
             "Debian package velmora-course-ID_V_all.deb (V: --version, by default today's date\n"
             "as YYYY.MM.DD; Maintainer: --maintainer, or $DEBFULLNAME <$DEBEMAIL>), depending\n"
             "on velmora, that installs the course under /usr/share/velmora/courses/ID/ with its\n"
             "own applications-menu entry (\"velmora-launch --course ID\"), its emblem as the\n"
             "icon and AppStream metadata. --zip writes ID.zip, the course in the folder ID, for\n"
             "machines without the package manager. Either holds course.toml, data/ and\n"
             "sources/, an empty user list and test log; nothing a trial run left. The file is\n"
             "written into DIR (--output; the current directory) and its path printed."),
         -1,
         pack},
    };
}

} // namespace velmora::admin

// SPDX-License-Identifier: GPL-3.0-or-later
#include "new_course.h"
#include "document_converter.h"

#include "core/course/course_book.h"
#include "core/course/course_file_edit.h"
#include "core/exam/question_source_converter.h"
#include "core/storage/code_page.h"
#include "core/storage/failure.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <cerrno>

namespace velmora::admin {
namespace {

// Letters and digits nobody mistakes for one another when reading them off a screen.
constexpr QStringView kPasswordLetters = u"abcdefghjkmnpqrstuvwxyz23456789";
constexpr int kPasswordLength = 10;

QString madeUpPassword() {
    QString password;
    for (int i = 0; i < kPasswordLength; ++i) {
        password +=
            kPasswordLetters[QRandomGenerator::system()->bounded(int(kPasswordLetters.size()))];
    }
    return password;
}

const char* const kCourseFile =
    R"(# The course book "@TITLE@". Fill in the title page below with your own texts, add lectures
# with `velmora-admin course add-document`, tests with `velmora-admin course add-test`, and check
# the whole with `velmora-admin course check` before the students see it.
#
# The file is TOML (https://toml.io), written in UTF-8. Paths are in the course folder, written
# with "/". A mistake here (a misspelt key, a missing document, two items with one name) stops
# the program at start-up with a box naming the line and column: nothing half-read is shown.

[course]
# Names the course's folders and packages: latin letters, digits and "-".
id = "@ID@"
# The main window's caption.
caption = @CAPTION@
# The document of "Көмек" → "Көмек".
help = "data/help/index.htm"
# The lowest grade that passes a test (unlocks the items waiting for it).
pass_grade = 3
# Keys "test1" … "test12" written for each student at registration.
grade_slots = 12
# shown_tests left out: the progress screen shows tests 1 … the course's highest.

# The title page and the two about windows: put your own texts in place of these. Pictures are
# files of this folder; put your own in data/img/ under the same names.
[title_page]
institution = "Оқу орнының атауы"
department = "Кафедраның атауы"
kind = "Электронды әдістемелік құрал"
title = @CAPTION@
subject = "Пәннің атауы"
author = "Автордың аты-жөні"
post = "Лауазымы"
programme_code = "Білім беру бағдарламасының коды"
speciality = "Мамандықтың атауы"
place_and_year = "Қала – @YEAR@"
emblem = "data/img/emblem.svg"
emblem_text = "Курстың эмблемасы"
cover = "data/img/cover.svg"
portrait = "data/img/portrait.svg"

# The course's menus, in menu-bar order; the program's own menus ("Басқару", "Авторизация
# формаға", "Көмек", "Шығу") follow them. Each [[menu]] has:
#   name            the object name (optional)
#   caption         as the menu bar shows it
#   before_sign_in  true: shown on the sign-in screen too; otherwise after sign-in only
# and its items, each a [[menu.item]] of one of three kinds:
#   a document:  name, caption, document = "data/…/page.html", icon
#   a test:      test = N  (caption "Тестирование №N", the file data/tests/testN.ini, name "testN")
#   a command:   command = "back"  ("Назад": from the administrator screen to the documents)
# icon is one of the program's icons (lecture, test, lab, practice, literature, control, book,
# back, …) or a picture file of this folder ("data/img/star.png").
# after_test = K keeps an item disabled until the student has passed test K.

# Lectures alternate with their tests: each lecture after the first waits for the test before it.
[[menu]]
name = "lectures"
caption = "Дәрістер және тестілеу"

[[menu.item]]
name = "lecture1"
caption = "1. Кіріспе"
document = "data/lectures/lecture1.html"
icon = "lecture"

[[menu.item]]
test = 1
)";

// The style sheet as the pages of data/lectures and data/help link it.
const QString kStyleLink = QStringLiteral("../style.css");

const char* const kStyleSheet =
    R"(body { font-family: sans-serif; margin: 2em; max-width: 46em; line-height: 1.45; }
h1 { font-size: 1.5em; }
img { max-width: 100%; height: auto; }
table { border-collapse: collapse; }
td, th { border: 1px solid #999; padding: 0.2em 0.5em; }
)";

QByteArray picture(const char* fill, const char* text) {
    return QByteArray(
               R"(<svg xmlns="http://www.w3.org/2000/svg" width="200" height="200" viewBox="0 0 200 200">
<rect x="10" y="10" width="180" height="180" rx="24" fill=")") +
           fill + R"("/>
<text x="100" y="115" font-size="36" text-anchor="middle" fill="#ffffff">)" +
           text + "</text>\n</svg>\n";
}

// The bodies of the sample lecture and the help page; DocumentConverter::page puts the head around
// them, as around a converted lecture.
const char* const kLectureBody = R"(<p><a href="../help/index.htm">Мазмұны</a></p>
<h1>1. Кіріспе</h1>
<p>Бұл беттің орнына өз дәрісіңізді қойыңыз: курс папкасында
<code>velmora-admin course add-document дәріс.docx --menu lectures --caption "2. …" --after-test 1</code>
командасы Word, LibreOffice немесе Markdown құжатын курстың бетіне айналдырады.</p>
<p>Дәрістен кейін 1-тест келеді; оның сұрақтары <code>sources/test1.txt</code> файлында.</p>
)";

const char* const kHelpBody = R"(<h1>Мазмұны</h1>
<ul><li><a href="../lectures/lecture1.html">1. Кіріспе</a></li></ul>
)";

// Two sample questions: the answer marked "*" is the correct one.
const char* const kTestSource = R"(Курстың бірінші дәрісі қалай аталады?
A) Қорытынды
B) Кіріспе*
C) Әдебиет
D) Зертханалық жұмыс
E) Емтихан сұрақтары
********
Тест сұрақтары қай файлда жазылады?
A) course.toml
B) data/style.css
C) sources/test1.txt*
D) report.txt
E) users
)";

void writeInto(const QString& folder, const QString& relative, const QByteArray& content) {
    const QString path = folder + QLatin1Char('/') + relative;
    if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
        throw failures::cannotCreateFile(path, EACCES);
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size() ||
        !file.flush()) {
        throw Failure(QStringLiteral("cannot write %1: %2").arg(path, file.errorString()));
    }
}

bool isEmptyFolder(const QString& folder) {
    return QDir(folder).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::System |
                                QDir::NoDotAndDotDot);
}

} // namespace

NewCourse::NewCourse(const QString& folderName, QString title)
    : id_(idFor(folderName)), title_(std::move(title)), password_(madeUpPassword()) {}

QString NewCourse::idFor(const QString& folderName) {
    QString id;
    for (const QChar c : folderName.toLower()) {
        const bool kept = (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9');
        if (kept) {
            id += c;
        } else if (!id.isEmpty() && !id.endsWith(u'-')) {
            id += u'-';
        }
    }
    while (id.endsWith(u'-')) {
        id.chop(1);
    }
    // "course" names the shipped course's folder in the user's data; a course of its own needs
    // another.
    return id.isEmpty() || id == reservedCourseId() ? QStringLiteral("new-course") : id;
}

QByteArray NewCourse::courseFile() const {
    QByteArray text(kCourseFile);
    QString commentTitle = title_;
    commentTitle.replace(QLatin1Char('\n'), QLatin1Char(' '));
    text.replace("@TITLE@", commentTitle.toUtf8());
    text.replace("@ID@", id_.toUtf8());
    text.replace("@CAPTION@", CourseFileEdit::string(title_));
    text.replace("@YEAR@", QByteArray::number(QDate::currentDate().year()));
    return text;
}

QMap<QString, QByteArray> NewCourse::files() const {
    return {
        {QStringLiteral("course.toml"), courseFile()},
        {QStringLiteral("users"), QByteArray()},
        {QStringLiteral("report.txt"), QByteArray()},
        {QStringLiteral("data/info/tumb.db"),
         CodePage::encode(QStringLiteral("%1|%2|report.txt").arg(login(), password_)) + "\r\n"},
        {QStringLiteral("data/style.css"), kStyleSheet},
        {QStringLiteral("data/img/emblem.svg"), picture("#2b5f8a", "Курс")},
        {QStringLiteral("data/img/cover.svg"), picture("#3d7a4f", "Курс")},
        {QStringLiteral("data/img/portrait.svg"), picture("#7a5a3d", "Автор")},
        {QStringLiteral("data/lectures/lecture1.html"),
         DocumentConverter::page(kLectureBody, QStringLiteral("1. Кіріспе"), kStyleLink)},
        {QStringLiteral("data/help/index.htm"),
         DocumentConverter::page(kHelpBody, QStringLiteral("Мазмұны"), kStyleLink)},
        {QStringLiteral("sources/test1.txt"), kTestSource},
    };
}

void NewCourse::create(const QString& folder) const {
    const QFileInfo target(folder);
    if (target.exists() && !(target.isDir() && isEmptyFolder(folder))) {
        throw Failure(QStringLiteral("%1 exists and is not empty; a new course needs a new or "
                                     "empty folder")
                          .arg(folder));
    }
    const QString parent = target.absolutePath();
    if (!QDir().mkpath(parent)) {
        throw failures::cannotCreateFile(parent, EACCES);
    }
    QTemporaryDir made(parent + QStringLiteral("/.") + target.fileName() +
                       QStringLiteral("-XXXXXX"));
    if (!made.isValid()) {
        throw Failure(
            QStringLiteral("cannot make a folder in %1: %2").arg(parent, made.errorString()));
    }
    const QMap<QString, QByteArray> contents = files();
    for (auto file = contents.begin(); file != contents.end(); ++file) {
        writeInto(made.path(), file.key(), file.value());
    }
    QDir(made.path()).mkpath(QStringLiteral("data/tests"));
    QuestionSourceConverter converter;
    converter.convert(made.filePath(QStringLiteral("sources/test1.txt")),
                      made.filePath(QStringLiteral("data/tests/test1.ini")),
                      TestFileWrite::Replace);
    // The course folder is the teacher's, open to read like any other: not the private folder a
    // temporary one is made as.
    QFile::setPermissions(made.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                           QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther |
                                           QFile::ExeOther);
    if (target.exists() && !QDir().rmdir(target.absoluteFilePath())) {
        throw Failure(QStringLiteral("cannot replace the empty folder %1").arg(folder));
    }
    if (!QDir().rename(made.path(), target.absoluteFilePath())) {
        throw Failure(QStringLiteral("cannot rename %1 to %2").arg(made.path(), folder));
    }
    made.setAutoRemove(false);
}

} // namespace velmora::admin

// SPDX-License-Identifier: GPL-3.0-or-later
// The course file: reading and checking the shipped course.toml (target under 2 ms), a generated
// course of 1,000 items (under 50 ms), and `velmora-admin course check` of a course of 1,000
// linked documents (under 2 s).
#include "core/course/course_book.h"
#include "core/course/course_file.h"
#include "core/course/course_folder_check.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace velmora;

namespace {

void writeFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        qFatal("cannot write %s", qPrintable(path));
    }
}

// A course folder holding `courseFile` and an empty file for each document it names.
void writeCourseFolder(const QString& folder, const QByteArray& courseFile) {
    writeFile(folder + QStringLiteral("/course.toml"), courseFile);
    const CourseFileReading reading =
        readCourseFile(courseFile, [](const QString&) { return true; });
    writeFile(folder + QLatin1Char('/') + reading.course.help, "<p>help</p>");
    const CourseTitlePage& page = reading.course.titlePage;
    for (const QString& picture : {page.emblem, page.cover, page.portrait}) {
        if (picture.isEmpty()) {
            continue;
        }
        writeFile(folder + QLatin1Char('/') + picture, "<svg/>");
    }
    for (const CourseItem* item : reading.course.items()) {
        if (!item->document.isEmpty()) {
            writeFile(folder + QLatin1Char('/') + item->document, "<p>page</p>");
        }
    }
}

// `items` lectures in menus of 100, every tenth a test, each lecture after the test before it.
QByteArray generatedCourse(int items) {
    QByteArray text = "[course]\nid = \"generated\"\ncaption = \"Курс\"\nhelp = \"data/help.htm\"\n"
                      "grade_slots = 99\n";
    int test = 0;
    for (int i = 0; i < items; ++i) {
        if (i % 100 == 0) {
            text += "\n[[menu]]\ncaption = \"Раздел " + QByteArray::number(i / 100 + 1) + "\"\n";
        }
        if (i % 10 == 9 && test < 99) {
            text += "\n[[menu.item]]\ntest = " + QByteArray::number(++test) + "\n";
            continue;
        }
        text += "\n[[menu.item]]\nname = \"item" + QByteArray::number(i) +
                "\"\ncaption = \"Лекция " + QByteArray::number(i) + "\"\ndocument = \"data/l/" +
                QByteArray::number(i) + ".htm\"\nicon = \"lecture\"\n";
        if (test > 0) {
            text += "after_test = " + QByteArray::number(test) + "\n";
        }
    }
    return text;
}

void BM_ReadShippedCourse(benchmark::State& state) {
    const QTemporaryDir dir;
    writeCourseFolder(dir.path(), CourseBook::builtInText());
    for (auto _ : state) {
        benchmark::DoNotOptimize(CourseBook::read(dir.path()));
    }
}
BENCHMARK(BM_ReadShippedCourse)->Unit(benchmark::kMillisecond);

void BM_ReadGeneratedCourse(benchmark::State& state) {
    const QTemporaryDir dir;
    writeCourseFolder(dir.path(), generatedCourse(int(state.range(0))));
    for (auto _ : state) {
        benchmark::DoNotOptimize(CourseBook::read(dir.path()));
    }
}
BENCHMARK(BM_ReadGeneratedCourse)->Arg(1000)->Unit(benchmark::kMillisecond);

// Every document links to the next, to a picture and to a page on the web.
void BM_CheckCourseFolder(benchmark::State& state) {
    const QTemporaryDir dir;
    const int documents = int(state.range(0));
    writeCourseFolder(dir.path(), generatedCourse(documents));
    writeFile(dir.path() + QStringLiteral("/data/img/a.svg"), "<svg/>");
    for (int i = 0; i < documents; ++i) {
        const QByteArray next = QByteArray::number(i + 1);
        writeFile(dir.path() + QStringLiteral("/data/l/%1.htm").arg(i),
                  "<html><body><h1>Лекция</h1><p>" + QByteArray(2000, 'x') +
                      "</p><img src=\"../img/a.svg\"><a href=\"" + next +
                      ".htm#top\">дальше</a> <a href=\"https://example.org/\">сайт</a></body>"
                      "</html>\n");
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(checkCourseFolder(dir.path()));
    }
}
BENCHMARK(BM_CheckCourseFolder)->Arg(1000)->Unit(benchmark::kMillisecond);

} // namespace

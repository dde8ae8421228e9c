// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/course/course_book.h"
#include "core/results/results_settings.h"
#include "core/storage/failure.h"
#include "support/temp_folder.h"

#include <QFile>
#include <gtest/gtest.h>

namespace velmora {
namespace {

CourseBook courseWithId(const QString& id) {
    CourseBook course;
    course.id = id;
    return course;
}

TEST(ResultsSettings, ReadsTheFileOrRefusesItWithItsProblem) {
    struct Row {
        const char* text;
        const char* endpoint; // nullptr: refused
        const char* problem;  // part of the refusal
    };
    const Row rows[] = {
        {"endpoint = \"https://lrs.school.kz/xapi\"\nkey = \"k\"\nsecret = \"s\"\n",
         "https://lrs.school.kz/xapi/", ""},
        {"endpoint = \"http://127.0.0.1:8080/xapi/\"\nkey = \"k\"\nsecret = \"s\"\n",
         "http://127.0.0.1:8080/xapi/", ""},
        {"key = \"k\"\nsecret = \"s\"\n", nullptr, "нет ключа «endpoint»"},
        {"endpoint = \"https://x.kz/\"\nkey = \"k\"\n", nullptr, "нет ключа «secret»"},
        {"endpoint = 5\nkey = \"k\"\nsecret = \"s\"\n", nullptr, "«endpoint» должен быть строкой"},
        {"endpoint = \"ftp://x.kz/\"\nkey = \"k\"\nsecret = \"s\"\n", nullptr, "не http или https"},
        {"endpoint = \"https://x.kz/\"\nkey = \"k\"\nsecret = \"s\"\ncourse = \"курс\"\n", nullptr,
         "курс «курс» не http"},
        {"endpoint = \"https://x.kz/\n", nullptr, "results.toml: 1:"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        if (row.endpoint != nullptr) {
            EXPECT_EQ(ResultsSettings::parse(row.text).endpoint, QString::fromUtf8(row.endpoint));
            continue;
        }
        try {
            (void)ResultsSettings::parse(row.text);
            ADD_FAILURE() << "accepted";
        } catch (const Failure& failure) {
            EXPECT_TRUE(failure.message().contains(QString::fromUtf8(row.problem)))
                << failure.what();
        }
    }
}

TEST(ResultsSettings, WritesOwnerOnlyAndReadsBackWithTheCourseIriDefault) {
    const test::TempFolder folder;
    const CourseBook course = courseWithId(QStringLiteral("velmora"));
    EXPECT_FALSE(ResultsSettings::read(folder.path(), course)) << "no file sends nothing";

    ResultsSettings::write(folder.path(),
                           {QStringLiteral("https://lrs.school.kz/xapi/"), QStringLiteral("key"),
                            QStringLiteral("se\"cr\\et"), QString()},
                           course);
    const std::optional<ResultsSettings> read = ResultsSettings::read(folder.path(), course);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->secret, QStringLiteral("se\"cr\\et"));
    EXPECT_EQ(read->courseIri, QStringLiteral("https://velmora.invalid/courses/velmora"));
    EXPECT_FALSE(folder.read(QStringLiteral("results.toml")).contains("course ="))
        << "the default is made, not written";
#ifndef Q_OS_WIN
    const QFile::Permissions mode = QFile::permissions(folder.file(QStringLiteral("results.toml")));
    EXPECT_TRUE(mode.testFlag(QFile::ReadOwner) && mode.testFlag(QFile::WriteOwner));
    EXPECT_EQ((mode & (QFile::ReadGroup | QFile::WriteGroup | QFile::ReadOther | QFile::WriteOther))
                  .toInt(),
              0)
        << "the secret is the owner's alone";
#endif

    // A course IRI of the teacher's own is kept, and another course's default is not taken.
    ResultsSettings own = *read;
    own.courseIri = QStringLiteral("https://school.kz/courses/is-101");
    ResultsSettings::write(folder.path(), own, course);
    EXPECT_EQ(
        ResultsSettings::read(folder.path(), courseWithId(QStringLiteral("other")))->courseIri,
        own.courseIri);
    EXPECT_EQ(read->authorization(), "Basic " + QByteArray("key:se\"cr\\et").toBase64());
}

} // namespace
} // namespace velmora

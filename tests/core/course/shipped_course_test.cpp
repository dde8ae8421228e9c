// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/access/unlock_chain.h"
#include "core/course/course_file.h"
#include "core/course/course_shape.h"
#include "core/course/course_texts.h"
#include "core/course/main_menu.h"
#include "support/widget_tree.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace velmora;

namespace {

const QString kCourseFolder = QStringLiteral(VELMORA_SOURCE_ROOT "/course");

// The shipped course as the compiled tables give it.
int afterTestOf(const QString& name) {
    for (int test = 1; test <= UnlockChain::kRows; ++test) {
        for (const QString& unlocked : UnlockChain::itemsFor(QStringLiteral("test%1").arg(test))) {
            if (unlocked.compare(name, Qt::CaseInsensitive) == 0) {
                return test;
            }
        }
    }
    return 0;
}

CourseItem itemOf(const MenuEntry& entry) {
    CourseItem item;
    item.name = entry.item;
    item.caption = entry.caption;
    item.icon = entry.icon;
    item.afterTest = afterTestOf(entry.item);
    if (entry.kind == MenuEntryKind::Document) {
        item.kind = CourseItemKind::Document;
        item.document = entry.document.mid(1).replace(QLatin1Char('\\'), QLatin1Char('/'));
    } else if (entry.kind == MenuEntryKind::Test) {
        item.kind = CourseItemKind::Test;
        item.test = entry.item.mid(4).toInt();
    } else {
        item.kind = CourseItemKind::Command;
    }
    return item;
}

CourseBook compiledCourse() {
    CourseBook course;
    course.id = QStringLiteral("velmora");
    course.caption = QStringLiteral("ЭУИ Velmora");
    course.help = helpContentsPage().mid(1).replace(QLatin1Char('\\'), QLatin1Char('/'));
    course.passGrade = kPassGrade;
    course.gradeSlots = kTestSlots;
    course.shownTests = kShownGrades;
    TitlePage& page = course.titlePage;
    page.institution = courseTexts::institution();
    page.department = courseTexts::department();
    page.kind = QStringLiteral("Электронды әдістемелік кұрал");
    page.title = QStringLiteral("Velmora");
    page.subject = QStringLiteral("Velmora пәнінен");
    page.author = courseTexts::author();
    page.post = courseTexts::authorPost();
    page.programmeCode = courseTexts::programmeCode();
    page.speciality = QStringLiteral("Ақпараттық жүйелер мамандығына арналған");
    page.placeAndYear = courseTexts::placeAndYear();
    page.emblem = QStringLiteral("data/img/emblem.svg");
    page.emblemText = QStringLiteral("Velmora эмблемасы");
    page.cover = QStringLiteral("data/img/cover.svg");
    page.portrait = QStringLiteral("data/img/portrait.svg");
    for (const MenuEntry& entry : mainMenuTable()) {
        if (entry.item == QStringLiteral("Nadm")) {
            break;
        }
        CourseMenu menu{entry.item, entry.caption, entry.item == QStringLiteral("N8"), {}, {}};
        for (const MenuEntry& sub : entry.entries) {
            menu.items.push_back(itemOf(sub));
        }
        course.menus.push_back(std::move(menu));
    }
    return course;
}

// Every field the program shows, one line each.
QString dump(const CourseBook& course) {
    QStringList lines{
        QStringLiteral("id=%1 caption=«%2» help=%3 passGrade=%4 gradeSlots=%5 shownTests=%6")
            .arg(course.id, course.caption, course.help)
            .arg(course.passGrade)
            .arg(course.gradeSlots)
            .arg(course.shownTests)};
    const TitlePage& p = course.titlePage;
    for (const QString& text : {p.institution, p.department, p.kind, p.title, p.subject, p.author,
                                p.post, p.programmeCode, p.speciality, p.placeAndYear, p.emblem,
                                p.emblemText, p.cover, p.portrait}) {
        lines.append(QStringLiteral("title «%1»").arg(text));
    }
    for (const CourseMenu& menu : course.menus) {
        lines.append(QStringLiteral("menu %1 «%2» beforeSignIn=%3 holdsTest=%4")
                         .arg(menu.name, menu.caption)
                         .arg(int(menu.beforeSignIn))
                         .arg(int(menu.holdsTest())));
        for (const CourseItem& item : menu.items) {
            lines.append(QStringLiteral("  %1 «%2» kind=%3 document=%4 icon=%5 test=%6 after=%7")
                             .arg(item.name, item.caption)
                             .arg(int(item.kind))
                             .arg(item.document, item.icon)
                             .arg(item.test)
                             .arg(item.afterTest));
        }
    }
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

CourseFileReading shippedFile() {
    QFile file(kCourseFolder + QStringLiteral("/course.toml"));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return readCourseFile(file.readAll(), [](const QString& relative) {
        return courseFileExists(kCourseFolder, relative);
    });
}

TEST(ShippedCourse, FileHoldsTheCompiledCourseWithoutProblems) {
    const CourseFileReading reading = shippedFile();
    for (const CourseProblem& problem : reading.problems) {
        ADD_FAILURE() << problem.line().toStdString();
    }
    EXPECT_EQ(dump(reading.course).toStdString(), dump(compiledCourse()).toStdString());
    test::expectMatchesGolden(QStringLiteral("shipped_course"), dump(reading.course));
}

} // namespace

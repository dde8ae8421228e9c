// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/course/course_book.h"

#include "core/access/unlock_chain.h"
#include "core/course/course_shape.h"
#include "core/course/main_menu.h"

namespace velmora {
namespace {

// Interim: the shipped course as the compiled tables give it, until course.toml is read.
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
    switch (entry.kind) {
    case MenuEntryKind::Document:
        item.kind = CourseItemKind::Document;
        item.document = entry.document.mid(1).replace(QLatin1Char('\\'), QLatin1Char('/'));
        break;
    case MenuEntryKind::Test:
        item.kind = CourseItemKind::Test;
        item.test = entry.item.mid(4).toInt();
        break;
    case MenuEntryKind::Command:
    case MenuEntryKind::Menu:
        item.kind = CourseItemKind::Command;
        item.command = CourseCommand::Back;
        break;
    }
    return item;
}

CourseBook shippedCourse() {
    CourseBook course;
    course.id = QStringLiteral("velmora");
    course.caption = QStringLiteral("ЭУИ Velmora");
    course.help = QStringLiteral("data/help/sod.htm");
    course.passGrade = kPassGrade;
    course.gradeSlots = kTestSlots;
    course.shownTests = kShownGrades;
    TitlePage& page = course.titlePage;
    page.institution = QStringLiteral("«Жетіқұм» техникалық университеті");
    page.department = QStringLiteral("Ақпараттық жүйелер кафедрасы");
    page.kind = QStringLiteral("Электронды әдістемелік кұрал");
    page.title = QStringLiteral("Velmora");
    page.subject = QStringLiteral("Velmora пәнінен");
    page.author = QStringLiteral("Д. Велморқызы");
    page.post = QStringLiteral("аға оқытушы");
    page.programmeCode = QStringLiteral("6В0699");
    page.speciality = QStringLiteral("Ақпараттық жүйелер мамандығына арналған");
    page.placeAndYear = QStringLiteral("Жетіқұм – 2024");
    page.emblem = QStringLiteral("data/img/emblem.svg");
    page.emblemText = QStringLiteral("Velmora эмблемасы");
    page.cover = QStringLiteral("data/img/cover.svg");
    page.portrait = QStringLiteral("data/img/portrait.svg");
    const QStringList courseMenus{QStringLiteral("N0"), QStringLiteral("nlab"),
                                  QStringLiteral("Nprak"), QStringLiteral("Nrk"),
                                  QStringLiteral("N8")};
    for (const MenuEntry& entry : mainMenuTable()) {
        if (!courseMenus.contains(entry.item)) {
            continue;
        }
        CourseMenu menu{entry.item, entry.caption, entry.item == QStringLiteral("N8"), {}, {}};
        for (const MenuEntry& sub : entry.entries) {
            menu.items.push_back(itemOf(sub));
        }
        course.menus.push_back(std::move(menu));
    }
    return course;
}

} // namespace

bool CourseMenu::holdsTest() const {
    for (const CourseItem& item : items) {
        if (item.kind == CourseItemKind::Test) {
            return true;
        }
    }
    return false;
}

int CourseBook::highestTest() const {
    int highest = 0;
    for (const CourseItem* item : items()) {
        if (item->kind == CourseItemKind::Test) {
            highest = std::max(highest, item->test);
        }
    }
    return highest;
}

std::vector<const CourseItem*> CourseBook::items() const {
    std::vector<const CourseItem*> all;
    for (const CourseMenu& menu : menus) {
        for (const CourseItem& item : menu.items) {
            all.push_back(&item);
        }
    }
    return all;
}

const CourseItem* CourseBook::item(const QString& name) const {
    for (const CourseItem* item : items()) {
        if (item->name.compare(name, Qt::CaseInsensitive) == 0) {
            return item;
        }
    }
    return nullptr;
}

const CourseBook& CourseBook::current() {
    static const CourseBook shipped = shippedCourse();
    return shipped;
}

} // namespace velmora

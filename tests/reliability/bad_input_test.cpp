// SPDX-License-Identifier: GPL-3.0-or-later
// Bad input typed into the sign-in and administrator screens and values at the store's limit,
// through the main window's handlers, with the exact boxes shown and the files left as they were
// whenever the command is refused.

#include "core/access/admin_settings.h"
#include "core/program/course_state.h"
#include "core/storage/code_page.h"
#include "course_state.h"
#include "gui/screens/admin_screen.h"
#include "support/course_driver.h"

#include <QLineEdit>
#include <gtest/gtest.h>

using namespace velmora;
using namespace velmora::test;

namespace {

const QString kRegistered =
    QStringLiteral("Information: Пользователь зарегистрирован.Нажмите \"Далее>>\"");
const QString kBadName = QStringLiteral("Error: Недопустимое имя пользователя!");
const QString kBadPassword = QStringLiteral("Error: Недопустимый пароль!");

class BadInput : public ::testing::Test {
protected:
    void SetUp() override {
        prepareCourse(folder);
        course.start();
        course.forgetBoxes();
    }

    // Registers through "Жаңа қолданушы"; the boxes shown.
    QStringList registerStudent(const QString& name, const QString& password) const {
        course.forgetBoxes();
        course.registerStudent(name, password);
        return course.boxTexts();
    }
    // Signs in through "Әрі қарай>>"; the boxes shown.
    QStringList signIn(const QString& name, const QString& password) const {
        course.forgetBoxes();
        course.signIn(name, password);
        return course.boxTexts();
    }

    TempFolder folder;
    CourseDriver course{folder};
};

struct Typed {
    const char* what;
    QString name;
    QString password;
    QString box; // empty: registered, and the student can sign in
};

// Names and passwords of every class of character: registered ones sign in with the same text;
// refused ones leave every file as it was.
TEST_F(BadInput, NamesAndPasswordsOfEveryCharacterClass) {
    const QString kazakh = QStringLiteral("ӘәҒғҚқҢңӨөҰұҮүҺһІі");
    const Typed cases[] = {
        {"ascii letters and digits", QStringLiteral("Student42"), QStringLiteral("Pass123"), {}},
        {"inner blank", QStringLiteral("Ivan Petrov"), QStringLiteral("two words"), {}},
        {"punctuation",
         QStringLiteral("O'Neil-Smith.Jr,"),
         QStringLiteral("!@#$%^&*()=;:\"'<>?/\\~`"),
         {}},
        {"russian", QStringLiteral("Пётр Ёлкин"), QStringLiteral("пароль"), {}},
        {"kazakh", kazakh, kazakh, {}},
        {"code page symbols", QStringLiteral("№€§"), QStringLiteral("«»—"), {}},
        {"only digits", QStringLiteral("12345"), QStringLiteral("0"), {}},
        {"empty password", QStringLiteral("NoPassword"), QString(), {}},
        {"leading blank", QStringLiteral(" Ivan2"), QStringLiteral("pw"), kBadName},
        {"trailing blank", QStringLiteral("Ivan2 "), QStringLiteral("pw"), kBadName},
        {"bracket", QStringLiteral("[Ivan]"), QStringLiteral("pw"), kBadName},
        {"bar", QStringLiteral("a|b"), QStringLiteral("pw"), kBadName},
        {"tab", QStringLiteral("a\tb"), QStringLiteral("pw"), kBadName},
        {"line break", QStringLiteral("a\nb"), QStringLiteral("pw"), kBadName},
        {"chinese", QStringLiteral("学生"), QStringLiteral("pw"), kBadName},
        {"emoji", QStringLiteral("Ivan😀"), QStringLiteral("pw"), kBadName},
        {"empty name", QString(), QStringLiteral("pw"), kBadName},
        // The scrambled form of blanks, quotes and line breaks holds none of them, so the register
        // keeps such passwords whole.
        {"blank-edged password", QStringLiteral("Blanks"), QStringLiteral(" pw "), {}},
        {"quoted password", QStringLiteral("Quotes"), QStringLiteral("\"pw\""), {}},
        {"password with a line break", QStringLiteral("Breaks"), QStringLiteral("p\nw"), {}},
        {"password outside the code page", QStringLiteral("Emoji"), QStringLiteral("pw😀"),
         // The message names the whole character, not half of its surrogate pair.
         kBadPassword + QStringLiteral("\nСимвол «😀» (U+1F600) нельзя сохранить в файлах курса")},
    };
    for (const Typed& c : cases) {
        SCOPED_TRACE(c.what);
        const auto before = snapshot(folder);
        const QStringList boxes = registerStudent(c.name, c.password);
        if (!c.box.isEmpty()) {
            EXPECT_EQ(boxes, QStringList{c.box});
            EXPECT_EQ(changedFiles(before, snapshot(folder)), QStringList());
            continue;
        }
        EXPECT_EQ(boxes, QStringList{kRegistered});
        EXPECT_EQ(changedFiles(before, snapshot(folder)),
                  (QStringList{QStringLiteral("users"), QStringLiteral("users.ini")}));
        EXPECT_EQ(signIn(c.name, c.password), QStringList());
        EXPECT_EQ(course.session().userName, c.name);
        course.restart(); // back at the sign-in screen, nobody signed in
    }
}

// A password of 2,047 bytes is the longest the register keeps; one byte more is refused and
// nothing is written.
TEST_F(BadInput, PasswordAtTheStoresLimit) {
    const QString longest(2047, u'я');
    EXPECT_EQ(registerStudent(QStringLiteral("Longest"), longest), QStringList{kRegistered});
    EXPECT_EQ(signIn(QStringLiteral("Longest"), longest), QStringList());
    EXPECT_EQ(course.session().userName, QStringLiteral("Longest"));

    const auto before = snapshot(folder);
    EXPECT_EQ(registerStudent(QStringLiteral("TooLong"), QString(2048, u'я')),
              QStringList{kBadPassword});
    EXPECT_EQ(changedFiles(before, snapshot(folder)), QStringList());
}

// The administrator screen's boxes typed and applied with "Применить"; the boxes shown.
QStringList applySettings(const CourseDriver& course, const AdminSettings& typed) {
    course.choose("Ntun");
    course.forgetBoxes();
    course.applyAdminSettings(typed.login, typed.password, typed.password, typed.reportFile);
    return course.boxTexts();
}

// `bytes` characters of the code page, each a single byte in the file, in an order a cut or a
// shift would break.
QString valueOfLength(qsizetype bytes) {
    const QString pattern = QStringLiteral("Әкімші-0123456789 құпия|");
    QString value;
    while (value.size() < bytes) {
        value += pattern;
    }
    value.truncate(bytes);
    return value.replace(QLatin1Char('|'), QLatin1Char('_'));
}

// The settings line keeps each field whole at any length: values of 2,047 and 2,048 bytes (the
// register's limit and one byte over it) are stored, read back whole by the next start, and the
// administrator signs in with them.
TEST_F(BadInput, SettingsValuesAroundTheRegistersLimit) {
    const AdminSettings plain{QStringLiteral("teacher"), QStringLiteral("new"),
                              QStringLiteral("log.txt")};
    for (const qsizetype bytes : {2047, 2048}) {
        for (const int field : {0, 1, 2}) {
            SCOPED_TRACE("field " + std::to_string(field + 1) + ", " + std::to_string(bytes) +
                         " bytes");
            AdminSettings typed = plain;
            QString* const values[] = {&typed.login, &typed.password, &typed.reportFile};
            *values[field] = valueOfLength(bytes);
            EXPECT_EQ(applySettings(course, typed), QStringList());
            EXPECT_EQ(folder.read(QStringLiteral("data/info/tumb.db")),
                      CodePage::encode(typed.line()) + "\r\n");

            course.forgetBoxes();
            const MainWindow& restarted = course.restart();
            EXPECT_EQ(course.boxTexts(), QStringList());
            EXPECT_EQ(course.session().admin, typed);
            EXPECT_EQ(findIn<AdminScreen>(restarted, "adminScreen")->loginBox()->text(),
                      typed.login);
            EXPECT_EQ(findIn<AdminScreen>(restarted, "adminScreen")->passwordAgainBox()->text(),
                      typed.password);
            EXPECT_EQ(findIn<AdminScreen>(restarted, "adminScreen")->reportFileBox()->text(),
                      typed.reportFile);
            EXPECT_EQ(signIn(typed.login, typed.password), QStringList());
            EXPECT_EQ(course.session().userName, typed.login);
            EXPECT_EQ(stateOf(restarted).menuState(), MenuState::Administrator);
        }
    }
}

// A value the settings file cannot hold whole is refused with the reason, and the file keeps its
// bytes: nothing is cut or replaced.
TEST_F(BadInput, SettingsValuesTheFileCannotHoldAreRefused) {
    const QString title = QStringLiteral("ЭУИ Velmora: ");
    const QString emoji = QStringLiteral("Символ «😀» (U+1F600) нельзя сохранить в файлах курса.");
    struct Case {
        const char* what;
        AdminSettings typed;
        QString box;
    };
    const Case cases[] = {
        {"login outside the code page",
         {QStringLiteral("admin😀"), QStringLiteral("pw"), QStringLiteral("log.txt")},
         title + emoji},
        {"password outside the code page",
         {QStringLiteral("admin"), QStringLiteral("pw😀"), QStringLiteral("log.txt")},
         title + emoji},
        {"log name outside the code page",
         {QStringLiteral("admin"), QStringLiteral("pw"), QStringLiteral("log😀.txt")},
         title + emoji},
        {"bar in the login",
         {QStringLiteral("ad|min"), QStringLiteral("pw"), QStringLiteral("log.txt")},
         QStringLiteral("Error: Недопустимые настройки администратора!")},
        {"line break in the log name",
         {QStringLiteral("admin"), QStringLiteral("pw"), QStringLiteral("log\n.txt")},
         QStringLiteral("Error: Недопустимые настройки администратора!")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto before = snapshot(folder);
        EXPECT_EQ(applySettings(course, c.typed), QStringList{c.box});
        EXPECT_EQ(changedFiles(before, snapshot(folder)), QStringList());
    }
}

} // namespace

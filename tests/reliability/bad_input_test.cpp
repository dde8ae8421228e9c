// Bad input typed into the sign-in screen and values at the store's limit, through the main
// window's handlers, with the exact boxes shown and the files left as they were whenever the
// command is refused.

#include "access/sign_in_screen.h"
#include "app/main_window.h"
#include "app/message_boxes.h"
#include "course_state.h"
#include "support/recording_document_view.h"

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
        window = std::make_unique<MainWindow>(RecordingDocumentView::factory());
        window->show();
        MessageBoxes::clearShown();
    }

    // Registers through "Жаңа қолданушы"; the boxes shown.
    QStringList registerStudent(const QString& name, const QString& password) {
        MessageBoxes::clearShown();
        window->signInContent()->nameBox()->setText(name);
        window->signInContent()->passwordBox()->setText(password);
        window->SpeedButton1Click();
        return shownBoxes();
    }

    TempFolder folder;
    std::unique_ptr<MainWindow> window;
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
        MessageBoxes::clearShown();
        signIn(*window, c.name, c.password);
        EXPECT_EQ(shownBoxes(), QStringList());
        EXPECT_EQ(window->username, c.name);
        window->signedin = 0;
        window->showScreen(window->signInScreen());
    }
}

// A password of 2,047 bytes is the longest the register keeps; one byte more is refused and
// nothing is written.
TEST_F(BadInput, PasswordAtTheStoresLimit) {
    const QString longest(2047, u'я');
    EXPECT_EQ(registerStudent(QStringLiteral("Longest"), longest), QStringList{kRegistered});
    MessageBoxes::clearShown();
    signIn(*window, QStringLiteral("Longest"), longest);
    EXPECT_EQ(shownBoxes(), QStringList());
    EXPECT_EQ(window->username, QStringLiteral("Longest"));

    const auto before = snapshot(folder);
    EXPECT_EQ(registerStudent(QStringLiteral("TooLong"), QString(2048, u'я')),
              QStringList{kBadPassword});
    EXPECT_EQ(changedFiles(before, snapshot(folder)), QStringList());
}

} // namespace

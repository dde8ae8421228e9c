// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/exam/test_file.h"
#include "core/program/course_state.h"
#include "core/storage/code_page.h"
#include "gui/kit/message_boxes.h"
#include "gui/windows/scrambling_tool.h"
#include "support/course_driver.h"
#include "support/temp_folder.h"
#include "support/widget_tree.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace velmora;
using velmora::test::CourseDriver;
using velmora::test::dumpWidgetTree;
using velmora::test::expectMatchesGolden;
using velmora::test::stateOf;
using velmora::test::TempFolder;

namespace {

// Answers the file dialog with a path, or cancels it when there is none.
class AnsweringChooser : public SourceFileChooser {
public:
    explicit AnsweringChooser(std::optional<QString> answer) : answer_(std::move(answer)) {}
    std::optional<QString> choose(QWidget*) override {
        ++asked;
        return answer_;
    }
    int asked = 0;

private:
    std::optional<QString> answer_;
};

template <typename T> T* child(const QWidget& w, const char* name) {
    T* found = w.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}

const QByteArray kSource =
    CodePage::encode(QStringLiteral("Что такое ERP?\r\nA) Система планирования ресурсов*\r\nB) "
                                    "Язык\r\nC) Сеть\r\nD) Шина\r\nE) Файл\r\n"
                                    "********\r\nЧто такое CRM?\r\nA) Склад\r\nB) Работа с "
                                    "клиентами*\r\nC) Сеть\r\nD) Шина\r\nE) Файл\r\n"));

class ScramblingToolTest : public ::testing::Test {
protected:
    void SetUp() override { MessageBoxes::clearShown(); }

    AnsweringChooser* answer(std::optional<QString> path) {
        auto chooser = std::make_unique<AnsweringChooser>(std::move(path));
        AnsweringChooser* raw = chooser.get();
        tool.setChooser(std::move(chooser));
        return raw;
    }

    TempFolder folder;
    ScramblingTool tool;
};

TEST_F(ScramblingToolTest, MatchesTheReviewedDump) {
    tool.show();
    expectMatchesGolden(QStringLiteral("scrambling_tool"), dumpWidgetTree(&tool));
}

// The teacher's road with the keyboard alone: Tab from box to box, F4 opens the file chooser,
// Space presses "Зашифровать". Every key goes to the control that has the focus.
TEST_F(ScramblingToolTest, ConvertsWithTheKeyboardAlone) {
    QDir().mkpath(QStringLiteral("sources"));
    folder.write(QStringLiteral("sources/lecture1.txt"), kSource);
    AnsweringChooser* chooser = answer(folder.file(QStringLiteral("sources/lecture1.txt")));
    tool.show();
    QApplication::setActiveWindow(&tool);
    const auto press = [](Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        ASSERT_NE(QApplication::focusWidget(), nullptr);
        QTest::keyClick(QApplication::focusWidget(), key, modifiers);
    };
    child<QLineEdit>(tool, "Edit9")->setFocus();
    press(Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("test1"));
    press(Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), child<QLineEdit>(tool, "Edit10"));
    press(Qt::Key_F4);
    EXPECT_EQ(chooser->asked, 1);
    press(Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), child<QPushButton>(tool, "Button1"));
    press(Qt::Key_Space);

    ASSERT_EQ(MessageBoxes::shown().size(), 1);
    EXPECT_EQ(MessageBoxes::shown()[0].text, QStringLiteral("Создание тестов успешно завершено."));
    EXPECT_EQ(TestFile(QStringLiteral("\\sources\\test1.ini")).total(), 2);
}

TEST_F(ScramblingToolTest, ConvertsTheChosenSourceBesideIt) {
    QDir().mkpath(QStringLiteral("sources"));
    folder.write(QStringLiteral("sources/lecture1.txt"), kSource);
    const QString programFolder = QDir::currentPath();
    AnsweringChooser* chooser = answer(folder.file(QStringLiteral("sources/lecture1.txt")));
    tool.show();
    QTest::mouseClick(child<QLineEdit>(tool, "Edit10"), Qt::LeftButton);
    EXPECT_EQ(chooser->asked, 1);
    EXPECT_EQ(child<QLineEdit>(tool, "Edit10")->text(),
              folder.file(QStringLiteral("sources/lecture1.txt")));
    child<QLineEdit>(tool, "Edit9")->setText(QStringLiteral("test1"));
    QTest::mouseClick(child<QPushButton>(tool, "Button1"), Qt::LeftButton);

    ASSERT_EQ(MessageBoxes::shown().size(), 1);
    EXPECT_EQ(MessageBoxes::shown()[0].kind, MessageBoxes::Kind::Information);
    EXPECT_EQ(MessageBoxes::shown()[0].text, QStringLiteral("Создание тестов успешно завершено."));
    EXPECT_EQ(child<QLabel>(tool, "Label1")->text(), QStringLiteral("Вопрос №2"));
    EXPECT_EQ(QDir::currentPath(), programFolder);
    const TestFile file(QStringLiteral("\\sources\\test1.ini"));
    EXPECT_EQ(file.total(), 2);
    EXPECT_EQ(file.question(2).correctLetter(), QChar(u'B'));
    EXPECT_EQ(child<QLineEdit>(tool, "Edit1")->text(), QStringLiteral("Что такое CRM?"));
    EXPECT_EQ(child<QLineEdit>(tool, "Edit7")->text(), QStringLiteral("2"));
    EXPECT_EQ(child<QLineEdit>(tool, "Edit8")->text(), QStringLiteral("2"));

    QTest::mouseClick(child<QPushButton>(tool, "Button2"), Qt::LeftButton);
    EXPECT_FALSE(tool.isVisible());
}

TEST_F(ScramblingToolTest, CancellingTheDialogChangesNothing) {
    const QString programFolder = QDir::currentPath();
    AnsweringChooser* chooser = answer(std::nullopt);
    tool.show();
    QTest::mouseClick(child<QLineEdit>(tool, "Edit10"), Qt::LeftButton);
    EXPECT_EQ(chooser->asked, 1);
    EXPECT_EQ(child<QLineEdit>(tool, "Edit10")->text(),
              QStringLiteral("Щелкните здесь мышкой и выберите файл теста"));
    EXPECT_EQ(QDir::currentPath(), programFolder);
    // Converting now names no real file: the input/output error, nothing written.
    QTest::mouseClick(child<QPushButton>(tool, "Button1"), Qt::LeftButton);
    ASSERT_EQ(MessageBoxes::shown().size(), 1);
    EXPECT_EQ(MessageBoxes::shown()[0].caption, applicationTitle());
    EXPECT_EQ(MessageBoxes::shown()[0].text, QStringLiteral("File not found."));
    EXPECT_TRUE(QDir().entryList(QDir::Files).isEmpty());
    EXPECT_EQ(child<QLabel>(tool, "Label1")->text(), QStringLiteral("Номера вопросов"));
}

TEST_F(ScramblingToolTest, WarningsComeInOneBoxBeforeTheSuccessMessage) {
    folder.write(QStringLiteral("t.txt"),
                 CodePage::encode(QStringLiteral("Вопрос без ответов\r\n")));
    answer(folder.file(QStringLiteral("t.txt")));
    tool.show();
    QTest::mouseClick(child<QLineEdit>(tool, "Edit10"), Qt::LeftButton);
    QTest::mouseClick(child<QPushButton>(tool, "Button1"), Qt::LeftButton);
    ASSERT_EQ(MessageBoxes::shown().size(), 2);
    EXPECT_EQ(MessageBoxes::shown()[0].kind, MessageBoxes::Kind::Warning);
    EXPECT_EQ(MessageBoxes::shown()[0].caption, QStringLiteral("Warning"));
    EXPECT_TRUE(MessageBoxes::shown()[0].text.startsWith(QStringLiteral("Вопрос №1: нет ответов")));
    EXPECT_EQ(MessageBoxes::shown()[1].kind, MessageBoxes::Kind::Information);
    // The test name box still holds its first text: the file is named after it.
    EXPECT_TRUE(
        QFile::exists(folder.file(QStringLiteral("Введите название теста (Test1-Test10).ini"))));
}

// A GIFT bank picked in the file dialog is imported and built as a source is, its warnings in the
// same box.
TEST_F(ScramblingToolTest, ImportsAGiftBankChosenInTheDialog) {
    folder.write(QStringLiteral("erp.gift"),
                 QStringLiteral("::ERP::Что такое ERP? {=Планирование ресурсов ~Язык ~Сеть}\n\n"
                                "::CRM::Что такое CRM? {=Работа с клиентами =Склад}\n")
                     .toUtf8());
    answer(folder.file(QStringLiteral("erp.gift")));
    tool.show();
    QTest::mouseClick(child<QLineEdit>(tool, "Edit10"), Qt::LeftButton);
    child<QLineEdit>(tool, "Edit9")->setText(QStringLiteral("test3"));
    QTest::mouseClick(child<QPushButton>(tool, "Button1"), Qt::LeftButton);

    ASSERT_EQ(MessageBoxes::shown().size(), 2);
    EXPECT_EQ(MessageBoxes::shown()[0].kind, MessageBoxes::Kind::Warning);
    EXPECT_EQ(MessageBoxes::shown()[0].text,
              QStringLiteral("Вопрос №1 «ERP»: ответы D), E) оставлены пустыми.\n"
                             "Вопрос №2 «CRM» пропущен: вопрос с кратким ответом.\n"
                             "Импортировано вопросов: 1, пропущено: 1."));
    EXPECT_EQ(MessageBoxes::shown()[1].text, QStringLiteral("Создание тестов успешно завершено."));
    EXPECT_EQ(child<QLabel>(tool, "Label1")->text(), QStringLiteral("Вопрос №1"));
    const Question q = TestFile(QStringLiteral("\\test3.ini")).question(1);
    EXPECT_EQ(q.text, QStringLiteral("Что такое ERP?"));
    EXPECT_EQ(q.answers[2], QStringLiteral("C) Сеть"));
    EXPECT_EQ(q.correctLetter(), QChar(u'A'));
}

// A bank of which nothing can be imported writes no test file: its warnings, then the error box.
TEST_F(ScramblingToolTest, ABankWithNothingImportableWritesNothing) {
    folder.write(QStringLiteral("essay.gift"), "::Эссе:: Опишите сеть. {}\n");
    answer(folder.file(QStringLiteral("essay.gift")));
    tool.show();
    QTest::mouseClick(child<QLineEdit>(tool, "Edit10"), Qt::LeftButton);
    child<QLineEdit>(tool, "Edit9")->setText(QStringLiteral("t1copy"));
    QTest::mouseClick(child<QPushButton>(tool, "Button1"), Qt::LeftButton);

    ASSERT_EQ(MessageBoxes::shown().size(), 2);
    EXPECT_EQ(MessageBoxes::shown()[0].kind, MessageBoxes::Kind::Warning);
    EXPECT_EQ(MessageBoxes::shown()[0].text,
              QStringLiteral("Вопрос №1 «Эссе» пропущен: эссе.\n"
                             "Импортировано вопросов: 0, пропущено: 1."));
    EXPECT_EQ(MessageBoxes::shown()[1].kind, MessageBoxes::Kind::Error);
    EXPECT_EQ(MessageBoxes::shown()[1].caption, QStringLiteral("Error"));
    EXPECT_EQ(MessageBoxes::shown()[1].text,
              QStringLiteral("Из банка %1 не импортировано ни одного вопроса: ничего не записано")
                  .arg(folder.file(QStringLiteral("essay.gift"))));
    EXPECT_EQ(QDir().entryList(QDir::Files), QStringList{QStringLiteral("essay.gift")});
    EXPECT_EQ(child<QLabel>(tool, "Label1")->text(), QStringLiteral("Номера вопросов"));
}

// A source of ours stays one when a line of it begins with "ANSWER:": its marked answer counts.
TEST_F(ScramblingToolTest, ASourceWithAnAnswerKeyLineIsConvertedAsASource) {
    folder.write(QStringLiteral("keyed.txt"),
                 CodePage::encode(QStringLiteral("Столица?\r\nA) Астана*\r\nB) Алматы\r\n"
                                                 "ANSWER: B\r\n")));
    answer(folder.file(QStringLiteral("keyed.txt")));
    tool.show();
    QTest::mouseClick(child<QLineEdit>(tool, "Edit10"), Qt::LeftButton);
    child<QLineEdit>(tool, "Edit9")->setText(QStringLiteral("test4"));
    QTest::mouseClick(child<QPushButton>(tool, "Button1"), Qt::LeftButton);

    ASSERT_FALSE(MessageBoxes::shown().isEmpty());
    EXPECT_EQ(MessageBoxes::shown().last().text,
              QStringLiteral("Создание тестов успешно завершено."));
    const TestFile file(QStringLiteral("\\test4.ini"));
    EXPECT_EQ(file.total(), 2); // "ANSWER: B" is a question line of ours
    const Question q = file.question(1);
    EXPECT_EQ(q.answers[0], QStringLiteral("A) Астана "));
    EXPECT_EQ(q.correctLetter(), QChar(u'A'));
}

TEST_F(ScramblingToolTest, ClosingPutsBackTheFolderFoundAtShowing) {
    const QString programFolder = QDir::currentPath();
    tool.show();
    QDir().mkpath(QStringLiteral("elsewhere"));
    QDir::setCurrent(QStringLiteral("elsewhere"));
    QTest::mouseClick(child<QPushButton>(tool, "Button2"), Qt::LeftButton);
    EXPECT_FALSE(tool.isVisible());
    EXPECT_EQ(QDir::currentPath(), programFolder);
}

// The administrator's road: "Тестті өзгерту" in the main window's menu opens the tool modally.
class AdministratorFlow : public ScramblingToolTest {
protected:
    AdministratorFlow() {
        folder.write(QStringLiteral("users"), QByteArray());
        folder.write(QStringLiteral("data/info/tumb.db"), "admin|admin|report.txt\r\n");
        course.start().setCompanionWindows(&tool, nullptr, nullptr);
        course.signIn(QStringLiteral("admin"), QStringLiteral("admin"));
        EXPECT_EQ(stateOf(course.window()).menuState(), MenuState::Administrator);
        course.forgetBoxes();
    }

    // Opens the tool through its menu command; `inside` runs while the tool is shown modally and
    // the tool is closed with "Выход" afterwards.
    void openTool(const std::function<void()>& inside) {
        bool ran = false;
        QTimer::singleShot(0, &tool, [&] {
            ran = tool.isVisible() && tool.isModal();
            inside();
            QTest::mouseClick(child<QPushButton>(tool, "Button2"), Qt::LeftButton);
        });
        ASSERT_TRUE(course.offered("nred"));
        course.choose("nred");
        EXPECT_TRUE(ran);
        EXPECT_FALSE(tool.isVisible());
    }

    CourseDriver course{folder};
};

TEST_F(AdministratorFlow, ConvertsASourceChosenInTheDialog) {
    QDir().mkpath(QStringLiteral("teacher"));
    folder.write(QStringLiteral("teacher/erp.txt"), kSource);
    answer(folder.file(QStringLiteral("teacher/erp.txt")));
    const QString programFolder = QDir::currentPath();
    openTool([&] {
        QTest::mouseClick(child<QLineEdit>(tool, "Edit10"), Qt::LeftButton);
        child<QLineEdit>(tool, "Edit9")->setText(QStringLiteral("test2"));
        QTest::mouseClick(child<QPushButton>(tool, "Button1"), Qt::LeftButton);
    });
    EXPECT_EQ(tool.windowTitle(), QStringLiteral("admin"));
    EXPECT_EQ(QDir::currentPath(), programFolder);
    ASSERT_EQ(MessageBoxes::shown().size(), 1);
    EXPECT_EQ(MessageBoxes::shown()[0].text, QStringLiteral("Создание тестов успешно завершено."));
    EXPECT_EQ(TestFile(QStringLiteral("\\teacher\\test2.ini")).total(), 2);
    // Opened again in the same run, the tool still holds the last conversion's record.
    openTool([&] {
        EXPECT_EQ(child<QLineEdit>(tool, "Edit8")->text(), QStringLiteral("2"));
        EXPECT_EQ(child<QLabel>(tool, "Label1")->text(), QStringLiteral("Вопрос №2"));
    });
}

TEST_F(AdministratorFlow, CancellingTheDialogWritesNothing) {
    AnsweringChooser* chooser = answer(std::nullopt);
    const QString programFolder = QDir::currentPath();
    openTool([&] { QTest::mouseClick(child<QLineEdit>(tool, "Edit10"), Qt::LeftButton); });
    EXPECT_EQ(chooser->asked, 1);
    EXPECT_EQ(child<QLineEdit>(tool, "Edit10")->text(),
              QStringLiteral("Щелкните здесь мышкой и выберите файл теста"));
    EXPECT_EQ(QDir::currentPath(), programFolder);
    EXPECT_TRUE(MessageBoxes::shown().isEmpty());
    // Nothing beside the course's name list.
    EXPECT_EQ(QDir().entryList(QDir::Files), QStringList{QStringLiteral("users")});
}

} // namespace

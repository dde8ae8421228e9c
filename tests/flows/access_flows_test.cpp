// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/access/user_register.h"
#include "core/program/course_state.h"
#include "core/storage/code_page.h"
#include "core/storage/scrambled_store.h"
#include "gui/screens/admin_screen.h"
#include "gui/screens/sign_in_screen.h"
#include "support/course_copy.h"
#include "support/course_driver.h"
#include "support/test_file_builder.h"

#include <QAction>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFrame>
#include <QLineEdit>
#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace velmora;
using velmora::test::CourseDriver;
using velmora::test::findIn;
using velmora::test::stateOf;
using velmora::test::TempFolder;

namespace {

// A course whose administrator is "boss" with the password "pw" and the test log "log.txt".
class AccessFlows : public ::testing::Test {
protected:
    AccessFlows() {
        course.folder().write(QStringLiteral("data/info/tumb.db"), "boss|pw|log.txt\r\n");
    }

    QString shownTexts() const { return course.boxTexts().join(QLatin1Char('\n')); }
    const Session& session() const { return course.session(); }
    MainWindow& window() const { return course.window(); }
    void closeWindow() const {
        QSignalSpy closed(&window(), &MainWindow::closed);
        course.closeWindow();
        EXPECT_EQ(closed.count(), 1);
    }

    CourseDriver course;
    const TempFolder& folder = course.folder();
};

TEST_F(AccessFlows, StartUpLoadsTheListAndTheSettings) {
    folder.write(QStringLiteral("users"), CodePage::encode(u"Ivan\r\nӘсел\r\n"));
    folder.write(QStringLiteral("data/info/tumb.db"), "boss|pw|log.txt\r\nsecond|line|\r\n");
    course.start();
    EXPECT_EQ(shownTexts(), QString());
    EXPECT_EQ(course.userList(), (QStringList{QStringLiteral("Ivan"), QStringLiteral("Әсел")}));
    EXPECT_FALSE(course.userListShown());
    EXPECT_EQ(session().admin.login, QStringLiteral("boss"));
    EXPECT_EQ(session().admin.password, QStringLiteral("pw"));
    EXPECT_EQ(session().admin.reportFile, QStringLiteral("log.txt"));
    const AdminScreen* admin = findIn<AdminScreen>(window(), "adminScreen");
    EXPECT_EQ(admin->loginBox()->text(), QStringLiteral("boss"));
    EXPECT_EQ(admin->passwordBox()->text(), QStringLiteral("pw"));
    EXPECT_EQ(admin->passwordAgainBox()->text(), QStringLiteral("pw"));
    EXPECT_EQ(admin->reportFileBox()->text(), QStringLiteral("log.txt"));
    EXPECT_TRUE(findIn<QFrame>(window(), "Panel4")->isVisible());
    EXPECT_FALSE(course.offered("N0"));
    EXPECT_FALSE(session().signedIn);
    EXPECT_EQ(findIn<SignInScreen>(window(), "signInScreen")->parentWidget(),
              findIn<QFrame>(window(), "Panel4"));
    EXPECT_EQ(findIn<AdminScreen>(window(), "adminScreen")->parentWidget(),
              findIn<QFrame>(window(), "Panel7"));
}

TEST_F(AccessFlows, AMissingUserListIsShownAndStartUpGoesOn) {
    QFile::remove(folder.file(QStringLiteral("users")));
    course.start();
    EXPECT_EQ(shownTexts(),
              QStringLiteral("ЭУИ Velmora: Cannot open file \"%1\". No such file or directory.")
                  .arg(folder.file(QStringLiteral("users"))));
    EXPECT_FALSE(course.offered("N0"));
    EXPECT_TRUE(findIn<QFrame>(window(), "Panel4")->isVisible());
    EXPECT_FALSE(findIn<QFrame>(window(), "Panel1")->isVisible());
    EXPECT_EQ(session().admin.login, QStringLiteral("boss"));
}

TEST_F(AccessFlows, UnreadableSettingsLeaveTheDesignTextsAndNoAdministrator) {
    QDir(folder.file(QStringLiteral("data"))).removeRecursively();
    course.start();
    EXPECT_EQ(shownTexts(), QStringLiteral("ЭУИ Velmora: Invalid filename."));
    EXPECT_EQ(findIn<AdminScreen>(window(), "adminScreen")->loginBox()->text(),
              QStringLiteral("Edit3"));
    EXPECT_EQ(findIn<AdminScreen>(window(), "adminScreen")->reportFileBox()->text(),
              QStringLiteral("Edit6"));
    EXPECT_TRUE(session().admin.login.isEmpty());
    MessageBoxes::clearShown();
    course.signIn(QString(), QString()); // would be the administrator's login and password
    EXPECT_EQ(shownTexts(), QStringLiteral("Error: Проверьте правильность имени и пароля!"));
    EXPECT_FALSE(session().signedIn);
}

TEST_F(AccessFlows, ANewStudentRegistersAndSignsInWithLaterLecturesLocked) {
    course.start();
    course.registerStudent(QStringLiteral("Айгүл"), QStringLiteral("qwerty"));
    EXPECT_EQ(shownTexts(),
              QStringLiteral("Information: Пользователь зарегистрирован.Нажмите \"Далее>>\""));
    EXPECT_EQ(course.userList(), QStringList{QStringLiteral("Айгүл")});
    EXPECT_EQ(folder.read(QStringLiteral("users")), CodePage::encode(u"Айгүл\r\n"));
    EXPECT_TRUE(findIn<QFrame>(window(), "Panel4")->isVisible()); // registration changes no screen

    MessageBoxes::clearShown();
    course.signInWithEnter(QStringLiteral("АЙГҮЛ"), QStringLiteral("qwerty"));
    EXPECT_EQ(shownTexts(), QString());
    EXPECT_TRUE(session().signedIn);
    EXPECT_EQ(session().userName, QStringLiteral("АЙГҮЛ"));
    EXPECT_TRUE(findIn<QFrame>(window(), "Panel1")->isVisible());
    EXPECT_FALSE(findIn<QFrame>(window(), "Panel4")->isVisible());
    for (const char* item : {"N0", "nlab", "Nprak", "Nrk", "Nadm", "Ni"}) {
        EXPECT_TRUE(course.offered(item)) << item;
    }
    for (const char* item : {"notch", "Ntun", "nred", "njournal", "NaFormuAvtorizazii"}) {
        EXPECT_FALSE(course.offered(item)) << item;
    }
    EXPECT_FALSE(course.userListShown());
    EXPECT_TRUE(course.enabled("n1"));
    EXPECT_TRUE(course.enabled("test1"));
    for (const char* item : {"N2", "test2", "N3", "test3", "N33", "test4", "N34", "test5"}) {
        EXPECT_FALSE(course.enabled(item)) << item;
    }
    EXPECT_EQ(session().grades[1], 1);
}

TEST_F(AccessFlows, StoredGradesDecideWhichItemsAreOpen) {
    course.storeStudent(QStringLiteral("ivan"), QStringLiteral("p"),
                        {4, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
    course.start();
    course.signIn(QStringLiteral("ivan"), QStringLiteral("p"));
    EXPECT_TRUE(course.enabled("N2"));
    EXPECT_TRUE(course.enabled("test2"));
    for (const char* item : {"N3", "test3", "N33", "test4", "N34", "test5"}) {
        EXPECT_FALSE(course.enabled(item)) << item;
    }
}

TEST_F(AccessFlows, RefusedSignInsChangeNothing) {
    course.storeStudent(QStringLiteral("ivan"), QStringLiteral("p"),
                        {5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5});
    course.start();
    course.signIn(QStringLiteral("ivan"), QStringLiteral("P"));
    EXPECT_EQ(shownTexts(), QStringLiteral("Error: Проверьте правильность имени и пароля!"));
    MessageBoxes::clearShown();
    course.signIn(QStringLiteral("boss"),
                  QStringLiteral("wrong")); // the administrator: refused silently
    course.signIn(QStringLiteral("Boss"),
                  QStringLiteral("pw")); // letter case counts for the administrator
    EXPECT_EQ(shownTexts(), QStringLiteral("Error: Проверьте правильность имени и пароля!"));
    EXPECT_FALSE(session().signedIn);
    EXPECT_TRUE(findIn<QFrame>(window(), "Panel4")->isVisible());
    EXPECT_FALSE(course.offered("N0"));
    EXPECT_EQ(findIn<SignInScreen>(window(), "signInScreen")->nameBox()->text(),
              QStringLiteral("Boss"));
}

TEST_F(AccessFlows, TheAdministratorSignsInWithTheUserListAndAllItemsOpen) {
    folder.write(QStringLiteral("users"), "Ivan\r\n");
    course.start();
    course.signIn(QStringLiteral("boss"), QStringLiteral("pw"));
    EXPECT_EQ(shownTexts(), QString());
    EXPECT_TRUE(session().signedIn);
    EXPECT_EQ(session().userName, QStringLiteral("boss"));
    for (const char* item : {"N0", "Nadm", "notch", "Ntun", "nred", "njournal"}) {
        EXPECT_TRUE(course.offered(item)) << item;
    }
    EXPECT_FALSE(course.offered("NaFormuAvtorizazii"));
    EXPECT_TRUE(course.userListShown());
    for (const char* item : {"N2", "test2", "N34", "test5"}) {
        EXPECT_TRUE(course.enabled(item)) << item;
    }
}

TEST_F(AccessFlows, ANonNumericGradeStopsTheSignInHalfWay) {
    course.storeStudent(QStringLiteral("ivan"), QStringLiteral("p"), {1, 4});
    writeini(QStringLiteral("ivan"), QStringLiteral("test3"), QStringLiteral("x"),
             UserRegister::path());
    course.start();
    course.signIn(QStringLiteral("ivan"), QStringLiteral("p"));
    EXPECT_EQ(shownTexts(), QStringLiteral("ЭУИ Velmora: 'x' is not a valid integer value."));
    EXPECT_FALSE(session().signedIn);
    EXPECT_EQ(session().grades[2], 4);
    EXPECT_FALSE(course.enabled("N2")); // the lock of test 1 was applied before the failure
    EXPECT_TRUE(findIn<QFrame>(window(), "Panel4")->isVisible());
    EXPECT_FALSE(course.offered("N0"));

    // A later sign-in follows its own grades only.
    MessageBoxes::clearShown();
    course.storeStudent(QStringLiteral("olga"), QStringLiteral("p"),
                        {5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5});
    course.signIn(QStringLiteral("olga"), QStringLiteral("p"));
    EXPECT_TRUE(session().signedIn);
    EXPECT_TRUE(course.enabled("N2"));
}

TEST_F(AccessFlows, RegistrationRefusalsWriteNothing) {
    course.storeStudent(QStringLiteral("ivan"), QStringLiteral("p"), {1});
    folder.write(QStringLiteral("users"), "ivan\r\n");
    course.start();
    const QByteArray registerBefore = folder.read(QStringLiteral("users.ini"));
    const std::pair<QString, QString> refused[] = {
        {QStringLiteral("IVAN"),
         QStringLiteral("Error: Пользователь с таким именем уже зарегистрирован!")},
        {QStringLiteral("BOSS"),
         QStringLiteral("Error: Пользователь с таким именем уже зарегистрирован!")},
        {QStringLiteral("a|b"), QStringLiteral("Error: Недопустимое имя пользователя!")},
        {QString(), QStringLiteral("Error: Недопустимое имя пользователя!")},
    };
    for (const auto& [name, message] : refused) {
        MessageBoxes::clearShown();
        course.registerStudent(name, QStringLiteral("x"));
        EXPECT_EQ(shownTexts(), message) << name.toStdString();
    }
    EXPECT_EQ(folder.read(QStringLiteral("users.ini")), registerBefore);
    EXPECT_EQ(folder.read(QStringLiteral("users")), QByteArray("ivan\r\n"));
    EXPECT_EQ(course.userList(), QStringList{QStringLiteral("ivan")});
}

TEST_F(AccessFlows, DeletionWithTheRightPasswordIsSilent) {
    course.storeStudent(QStringLiteral("Ivan"), QStringLiteral("p"), {1});
    folder.write(QStringLiteral("users"), "Olga\r\nIvan\r\n");
    course.start();
    course.deleteStudent(QStringLiteral("ivan"), QStringLiteral("wrong"));
    EXPECT_EQ(shownTexts(), QStringLiteral("Error: Проверьте правильность имени и пароля!"));
    EXPECT_EQ(course.userList().size(), 2);
    MessageBoxes::clearShown();
    course.deleteStudent(QStringLiteral("ivan"), QStringLiteral("p"));
    EXPECT_EQ(shownTexts(), QString());
    EXPECT_EQ(course.userList(), QStringList{QStringLiteral("Olga")});
    EXPECT_EQ(folder.read(QStringLiteral("users")), QByteArray("Olga\r\n"));
    EXPECT_EQ(readini(QStringLiteral("Ivan"), QStringLiteral("password"), UserRegister::path()),
              missingValue());
}

TEST_F(AccessFlows, CloseWritesTheSignedInUsersGradesBack) {
    course.storeStudent(QStringLiteral("ivan"), QStringLiteral("p"),
                        {4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 3, 3});
    velmora::test::writeTestFile(QStringLiteral("test2"), velmora::test::numberedQuestions({1}),
                                 QStringLiteral("1"));
    course.start();
    course.signIn(QStringLiteral("IVAN"), QStringLiteral("p"));
    course.startTest(2);
    course.answer(1);
    // Another copy of the program changes the register meanwhile: the session's grades win.
    writeini(QStringLiteral("ivan"), QStringLiteral("test2"), QStringLiteral("2"),
             UserRegister::path());
    closeWindow();
    EXPECT_EQ(course.storedGrade(QStringLiteral("ivan"), 1), QStringLiteral("4"));
    EXPECT_EQ(course.storedGrade(QStringLiteral("ivan"), 2), QStringLiteral("5"));
    EXPECT_EQ(course.storedGrade(QStringLiteral("ivan"), 11),
              QStringLiteral("0")); // never read at sign-in
    EXPECT_EQ(folder.read(QStringLiteral("users.ini")).count('['), 1);
}

TEST_F(AccessFlows, CloseWithoutASignInWritesNothing) {
    course.storeStudent(QStringLiteral("ivan"), QStringLiteral("p"), {4});
    const QByteArray before = folder.read(QStringLiteral("users.ini"));
    course.start();
    course.signIn(QStringLiteral("ivan"), QStringLiteral("wrong"));
    closeWindow();
    EXPECT_EQ(folder.read(QStringLiteral("users.ini")), before);
}

TEST_F(AccessFlows, AFailedWriteBackIsShownAndTheProgramStillEnds) {
    course.storeStudent(QStringLiteral("ivan"), QStringLiteral("p"),
                        {4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
    course.start();
    course.signIn(QStringLiteral("ivan"), QStringLiteral("p"));
    MessageBoxes::clearShown();
    QFile::setPermissions(folder.file(QStringLiteral("users.ini")), QFile::ReadOwner);
    closeWindow();
    const QList<MessageBoxes::Shown>& shown = MessageBoxes::shown();
    ASSERT_EQ(shown.size(), 2); // the exit question, then the failure
    EXPECT_EQ(
        shown[1].text,
        QStringLiteral("Unable to write to %1.").arg(folder.file(QStringLiteral("users.ini"))));
}

TEST_F(AccessFlows, TheAdministratorChangesTheSettings) {
    course.start();
    course.signIn(QStringLiteral("boss"), QStringLiteral("pw"));
    course.choose("Ntun");
    EXPECT_TRUE(findIn<QFrame>(window(), "Panel7")->isVisible());
    for (QFrame* other : {findIn<QFrame>(window(), "Panel1"), findIn<QFrame>(window(), "Panel4"),
                          findIn<QFrame>(window(), "Panel6"), findIn<QFrame>(window(), "Panel3"),
                          findIn<QFrame>(window(), "Panel2")}) {
        EXPECT_FALSE(other->isVisible()) << other->objectName().toStdString();
    }
    const auto apply = [&](const char* login, const char* password, const char* again,
                           const char* file) {
        course.applyAdminSettings(QString::fromUtf8(login), QString::fromUtf8(password),
                                  QString::fromUtf8(again), QString::fromUtf8(file));
    };
    apply("neo", "one", "two", "r.txt");
    apply("", "one", "one", "r.txt");
    apply("neo", "one", "one", "r|txt");
    apply("neo", "one", "one", "");
    QDir().mkpath(folder.file(QStringLiteral("logs")));
    apply("neo", "one", "one", "logs");
    EXPECT_EQ(shownTexts(),
              QStringLiteral(
                  "Error: Проверьте пароль!\nError: Недопустимые настройки администратора!\n"
                  "Error: Недопустимые настройки администратора!\n"
                  "Error: Недопустимое имя файла отчета!\nError: Недопустимое имя файла отчета!"));
    EXPECT_EQ(folder.read(QStringLiteral("data/info/tumb.db")), QByteArray("boss|pw|log.txt\r\n"));

    MessageBoxes::clearShown();
    apply("neo", "one", "one", "r.txt");
    EXPECT_EQ(shownTexts(), QString());
    EXPECT_EQ(folder.read(QStringLiteral("data/info/tumb.db")), QByteArray("neo|one|r.txt\r\n"));
    EXPECT_EQ(session().admin.login, QStringLiteral("boss")); // in force from the next start
    EXPECT_TRUE(findIn<QFrame>(window(), "Panel7")->isVisible());

    course.leaveAdminSettings();
    EXPECT_FALSE(findIn<QFrame>(window(), "Panel7")->isVisible());
    EXPECT_TRUE(findIn<QFrame>(window(), "Panel1")->isVisible());
}

TEST_F(AccessFlows, SignInFormBringsTheSignInScreenBackInFront) {
    course.start();
    course.choose("N13"); // the syllabus, on the document screen
    EXPECT_EQ(course.screenInFront(), 1);
    course.choose("NaFormuAvtorizazii");
    EXPECT_EQ(course.screenInFront(), 4);
    EXPECT_TRUE(findIn<QFrame>(window(), "Panel1")->isVisible());
}

TEST_F(AccessFlows, PassingATestOpensTheLectureAndTestAfterItOnly) {
    course.start();
    course.registerStudent(QStringLiteral("Ivan"), QStringLiteral("pw"));
    course.signIn(QStringLiteral("Ivan"), QStringLiteral("pw"));
    EXPECT_FALSE(course.enabled("N2"));
    EXPECT_FALSE(course.enabled("test2"));
    course.passTest(1);
    EXPECT_TRUE(course.enabled("N2"));
    EXPECT_TRUE(course.enabled("test2"));
    EXPECT_FALSE(course.enabled("N3"));
    EXPECT_FALSE(course.enabled("test3"));
    EXPECT_TRUE(course.offered("N0"));
}

// Start-up puts the sign-in screen alone in front, whatever screens were visible before.
TEST_F(AccessFlows, StartUpLeavesTheSignInScreenAloneFromAnyScreens) {
    const std::set<int> starts[] = {{1}, {2}, {3}, {6}, {7}, {1, 4}, {1, 7}, {6, 7}, {1, 2, 3, 4}};
    for (const std::set<int>& screens : starts) {
        course.create();
        course.setVisibleScreens(screens);
        course.show();
        EXPECT_EQ(course.visibleScreens(), std::set<int>{4}) << ::testing::PrintToString(screens);
        EXPECT_EQ(stateOf(course.window()).menuState(), MenuState::BeforeSignIn);
    }
}

// On the course folder: a new student registers and signs in with lectures 2 to 5 and tests 2 to
// 5 greyed; at the next start the administrator signs in with the installed settings, changes
// them, and the new line is in the file.
TEST(CourseFolder, StudentAndAdministratorRoad) {
    const QString course = qEnvironmentVariable("VELMORA_SOURCE_DIR") + QStringLiteral("/course");
    ASSERT_TRUE(QFileInfo::exists(course));
    const TempFolder folder;
    test::copyFolder(course, folder.path());
    if (!QFileInfo::exists(folder.file(QStringLiteral("users")))) {
        folder.write(QStringLiteral("users"), QByteArray());
    }
    if (!QFileInfo::exists(folder.file(QStringLiteral("data/info/tumb.db")))) {
        folder.write(QStringLiteral("data/info/tumb.db"), "admin|admin|data\\info\\report.txt\r\n");
    }
    CourseDriver road(folder);
    road.start();
    road.registerStudent(QStringLiteral("Жаңа студент"), QStringLiteral("құпия"));
    road.signIn(QStringLiteral("Жаңа студент"), QStringLiteral("құпия"));
    EXPECT_TRUE(road.session().signedIn);
    for (const char* item : {"N2", "N3", "N33", "N34", "test2", "test3", "test4", "test5"}) {
        EXPECT_FALSE(road.enabled(item)) << item;
    }
    EXPECT_TRUE(road.enabled("test1"));
    road.closeWindow();

    road.restart();
    const AdminSettings installed = road.session().admin;
    ASSERT_FALSE(installed.login.isEmpty());
    road.signIn(installed.login, installed.password);
    ASSERT_TRUE(road.session().signedIn);
    // The ready folder holds the empty test log its settings name, so a new teacher's first look
    // at it shows an empty log, not an error.
    road.choose("N30");
    EXPECT_EQ(road.visibleScreens(), std::set<int>{6});
    road.choose("Ntun");
    road.applyAdminSettings(QStringLiteral("teacher"), QStringLiteral("new"), QStringLiteral("new"),
                            installed.reportFile);
    EXPECT_EQ(folder.read(QStringLiteral("data/info/tumb.db")),
              QByteArray("teacher|new|") + CodePage::encode(installed.reportFile) + "\r\n");
    road.closeWindow();
    QStringList messages;
    for (const MessageBoxes::Shown& s : MessageBoxes::shown()) {
        messages.append(s.text);
    }
    EXPECT_EQ(messages,
              (QStringList{QStringLiteral("Пользователь зарегистрирован.Нажмите \"Далее>>\""),
                           QStringLiteral("Вы действительно хотите выйти из программы?"),
                           QStringLiteral("Вы действительно хотите выйти из программы?")}));
}

} // namespace

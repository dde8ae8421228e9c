// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/access/access_texts.h"
#include "core/access/registration.h"
#include "core/access/sign_in.h"
#include "core/access/user_register.h"
#include "core/storage/failure.h"
#include "core/storage/scrambled_store.h"
#include "support/temp_folder.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace velmora;
using velmora::test::TempFolder;
using Outcome = SignIn::Outcome;

namespace {

struct CheckCase {
    const char* name;
    QString typedName;
    QString typedPassword;
    QString adminLogin;
    QString adminPassword;
    Outcome expected;
};

void PrintTo(const CheckCase& c, std::ostream* os) {
    *os << c.name;
}

class SignInCheck : public ::testing::TestWithParam<CheckCase> {
protected:
    SignInCheck() {
        EXPECT_TRUE(UserRegister::addStudent(QStringLiteral("Ivan"), QStringLiteral("Secret")));
        EXPECT_TRUE(UserRegister::addStudent(QStringLiteral("boss"), QStringLiteral("student")));
    }
    TempFolder folder;
};

TEST_P(SignInCheck, DecidesWhoSignsIn) {
    const CheckCase& c = GetParam();
    EXPECT_EQ(SignIn::check(c.typedName, c.typedPassword, c.adminLogin, c.adminPassword),
              c.expected);
}

QString s(const char* text) {
    return QString::fromUtf8(text);
}

INSTANTIATE_TEST_SUITE_P(
    Flows, SignInCheck,
    ::testing::Values(
        CheckCase{"studentExact", s("Ivan"), s("Secret"), s("boss"), s("pw"), Outcome::Student},
        CheckCase{"studentNameAnyCase", s("iVAN"), s("Secret"), s("boss"), s("pw"),
                  Outcome::Student},
        CheckCase{"studentPasswordCaseCounts", s("Ivan"), s("secret"), s("boss"), s("pw"),
                  Outcome::Refused},
        CheckCase{"studentWrongPassword", s("Ivan"), s("x"), s("boss"), s("pw"), Outcome::Refused},
        CheckCase{"unregistered", s("Nobody"), s("Secret"), s("boss"), s("pw"), Outcome::Refused},
        CheckCase{"unencodableName", s("Iv\xe2\x98\x83"), s("Secret"), s("boss"), s("pw"),
                  Outcome::Refused},
        CheckCase{"admin", s("boss"), s("pw"), s("boss"), s("pw"), Outcome::Administrator},
        CheckCase{"adminWrongPasswordIsSilent", s("boss"), s("student"), s("boss"), s("pw"),
                  Outcome::Ignored},
        CheckCase{"adminPasswordCaseCounts", s("boss"), s("PW"), s("boss"), s("pw"),
                  Outcome::Ignored},
        // The administrator comparison is exact: another letter case goes the student's way and
        // finds the student "boss".
        CheckCase{"adminLoginOtherCaseIsAStudent", s("BOSS"), s("student"), s("boss"), s("pw"),
                  Outcome::Student},
        CheckCase{"adminLoginOtherCaseWithAdminPassword", s("Boss"), s("pw"), s("boss"), s("pw"),
                  Outcome::Refused},
        CheckCase{"adminLoginBlankCounts", s("boss "), s("pw"), s("boss"), s("pw"),
                  Outcome::Refused},
        // Without a login in the settings, empty boxes must not open the administrator's menus.
        CheckCase{"emptyAdminLogin", s(""), s(""), s(""), s(""), Outcome::Refused},
        CheckCase{"emptyAdminLoginStudentStillWorks", s("ivan"), s("Secret"), s(""), s(""),
                  Outcome::Student}));

TEST(GradeWriteBack, WritesAllTwelveGradesInOneGo) {
    const TempFolder folder;
    ASSERT_TRUE(UserRegister::addStudent(QStringLiteral("Ivan"), QStringLiteral("p")));
    Grades grades{};
    grades[1] = 5;
    grades[2] = 3;
    grades[12] = 2;
    UserRegister::writeGrades(QStringLiteral("IVAN"), grades);
    EXPECT_EQ(readini(QStringLiteral("ivan"), QStringLiteral("password"), UserRegister::path()),
              QStringLiteral("p"));
    const QStringList expected = {QStringLiteral("5"), QStringLiteral("3"), QStringLiteral("0"),
                                  QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0"),
                                  QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0"),
                                  QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("2")};
    QStringList keys;
    for (int n = 1; n <= 12; ++n) {
        keys.append(UserRegister::testKey(n));
    }
    EXPECT_EQ(readiniValues(QStringLiteral("Ivan"), keys, UserRegister::path()), expected);
    // The administrator has no section: the write-back creates one holding grades only.
    UserRegister::writeGrades(QStringLiteral("admin"), Grades{});
    EXPECT_EQ(readini(QStringLiteral("admin"), QStringLiteral("test12"), UserRegister::path()),
              QStringLiteral("0"));
    EXPECT_EQ(readini(QStringLiteral("admin"), QStringLiteral("password"), UserRegister::path()),
              missingValue());
}

TEST(GradeWriteBack, ReadOnlyRegisterFailsAndKeepsTheOldGrades) {
    const TempFolder folder;
    ASSERT_TRUE(UserRegister::addStudent(QStringLiteral("ivan"), QStringLiteral("p")));
    const QString path = folder.file(QStringLiteral("users.ini"));
    QFile::setPermissions(path, QFile::ReadOwner);
    Grades grades{};
    grades[1] = 5;
    try {
        UserRegister::writeGrades(QStringLiteral("ivan"), grades);
        ADD_FAILURE() << "wrote a read-only register";
    } catch (const Failure& f) {
        EXPECT_EQ(f.message(), QStringLiteral("Unable to write to %1").arg(path));
    }
    EXPECT_EQ(readini(QStringLiteral("ivan"), QStringLiteral("test1"), UserRegister::path()),
              QStringLiteral("1"));
}

// The administrator's grades leave a section without a password in the register. Whatever is typed
// (the text a missing value reads as included), nobody signs in to it as a student, nor deletes it,
// by the login in another letter case or after the login has changed.
TEST(SectionWithoutPassword, IsNeverSignedIntoNorDeleted) {
    const TempFolder folder;
    Grades grades{};
    grades.fill(5);
    UserRegister::writeGrades(QStringLiteral("Teacher"), grades);
    const QByteArray before = folder.read(QStringLiteral("users.ini"));
    for (const QString& adminLogin : {QStringLiteral("Teacher"), QStringLiteral("new")}) {
        for (const QString& password : {missingValue(), QString()}) {
            EXPECT_EQ(SignIn::check(QStringLiteral("teacher"), password, adminLogin,
                                    QStringLiteral("pw")),
                      Outcome::Refused);
        }
    }
    UserList list;
    EXPECT_EQ(Registration::deleteStudent(QStringLiteral("TEACHER"), missingValue(), list),
              texts::wrongNameOrPassword());
    EXPECT_EQ(folder.read(QStringLiteral("users.ini")), before);
}

} // namespace

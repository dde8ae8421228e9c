// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/access/access_texts.h"
#include "core/access/registration.h"
#include "core/access/user_register.h"
#include "core/storage/code_page.h"
#include "core/storage/failure.h"
#include "core/storage/scrambled_store.h"
#include "support/temp_folder.h"

#include <QDateTime>
#include <QFile>
#include <gtest/gtest.h>

using namespace velmora;
using velmora::test::TempFolder;

namespace {

const QString kAdmin = QStringLiteral("admin");

QString q(const char16_t* s) {
    return QString::fromUtf16(s);
}

class RegistrationFlow : public ::testing::Test {
protected:
    RegistrationFlow() { folder.write(QStringLiteral("users"), QByteArray()); }

    std::optional<QString> registerStudent(const QString& name, const QString& password) {
        return Registration::registerStudent(name, password, kAdmin, list);
    }
    QString stored(const QString& name, const QString& key) const {
        return readini(name, key, UserRegister::path());
    }

    TempFolder folder;
    UserList list;
};

TEST_F(RegistrationFlow, NewStudentGetsPasswordGradesAndAListEntry) {
    EXPECT_EQ(registerStudent(q(u"Айгүл"), QStringLiteral("qwerty")), std::nullopt);
    EXPECT_EQ(stored(q(u"айгүл"), QStringLiteral("password")), QStringLiteral("qwerty"));
    EXPECT_EQ(stored(q(u"Айгүл"), QStringLiteral("test1")), QStringLiteral("1"));
    for (int n = 2; n <= 12; ++n) {
        EXPECT_EQ(stored(q(u"Айгүл"), UserRegister::testKey(n)), QStringLiteral("0")) << n;
    }
    EXPECT_EQ(stored(q(u"Айгүл"), QStringLiteral("test13")), missingValue());
    EXPECT_EQ(list.names(), QStringList{q(u"Айгүл")});
    EXPECT_EQ(folder.read(QStringLiteral("users")), CodePage::encode(u"Айгүл\r\n"));

    EXPECT_EQ(registerStudent(QStringLiteral("Bob"), QString()), std::nullopt);
    EXPECT_EQ(folder.read(QStringLiteral("users")), CodePage::encode(u"Айгүл\r\nBob\r\n"));
    EXPECT_EQ(stored(QStringLiteral("bob"), QStringLiteral("password")), QString());
}

// The moment of registration lets the journal tell a new student from an earlier one of the same
// name. It is stored scrambled like every value, and no reader of grades takes it for one.
TEST_F(RegistrationFlow, RegistrationStoresItsMomentScrambled) {
    const QDateTime before = QDateTime::currentDateTime().addMSecs(-999);
    ASSERT_EQ(registerStudent(q(u"Айгүл"), QStringLiteral("qwerty")), std::nullopt);
    const QDateTime after = QDateTime::currentDateTime();
    const QString stored = this->stored(q(u"АЙГҮЛ"), QStringLiteral("registered"));
    const QDateTime moment = QDateTime::fromString(stored, Qt::ISODate);
    ASSERT_TRUE(moment.isValid()) << stored.toStdString();
    EXPECT_EQ(stored.size(), 19) << stored.toStdString(); // local time to the second
    EXPECT_LE(before, moment);
    EXPECT_LE(moment, after);
    EXPECT_FALSE(folder.read(QStringLiteral("users.ini")).contains(stored.toLatin1()));
    const StoredGrades grades = UserRegister::readGrades(q(u"Айгүл"));
    EXPECT_EQ(grades.count(), 12);
    EXPECT_EQ(grades.grade(1), std::optional<quint8>(1));
    EXPECT_EQ(grades.grade(12), std::optional<quint8>(0));
}

// Registering over an existing name would hand its grades to whoever typed it.
TEST_F(RegistrationFlow, TakenNamesAreRefusedAndNothingIsWritten) {
    ASSERT_EQ(registerStudent(q(u"Айгүл"), QStringLiteral("first")), std::nullopt);
    writeini(q(u"Айгүл"), QStringLiteral("test1"), QStringLiteral("5"), UserRegister::path());
    const QByteArray registerBefore = folder.read(QStringLiteral("users.ini"));
    const QByteArray listBefore = folder.read(QStringLiteral("users"));
    for (const QString& name : {q(u"Айгүл"), q(u"АЙГҮЛ"), q(u"айгүл"), QStringLiteral("admin"),
                                QStringLiteral("ADMIN"), QStringLiteral("Admin")}) {
        EXPECT_EQ(registerStudent(name, QStringLiteral("second")), texts::nameTaken())
            << name.toStdString();
    }
    EXPECT_EQ(folder.read(QStringLiteral("users.ini")), registerBefore);
    EXPECT_EQ(folder.read(QStringLiteral("users")), listBefore);
    EXPECT_EQ(list.names().size(), 1);
    EXPECT_EQ(stored(q(u"Айгүл"), QStringLiteral("password")), QStringLiteral("first"));
}

TEST_F(RegistrationFlow, NamesTheFilesCannotHoldAreRefused) {
    const QString invalid[] = {QString(),
                               QStringLiteral(" ivan"),
                               QStringLiteral("ivan "),
                               QStringLiteral("\tivan"),
                               QStringLiteral("iv[an"),
                               QStringLiteral("ivan]"),
                               QStringLiteral("iv|an"),
                               QStringLiteral("iv\nan"),
                               QStringLiteral("ivan\r"),
                               q(u"日本"),
                               q(u"Ivan\u2603")};
    for (const QString& name : invalid) {
        EXPECT_EQ(registerStudent(name, QStringLiteral("p")), texts::invalidUserName())
            << name.toStdString();
    }
    EXPECT_FALSE(QFile::exists(folder.file(QStringLiteral("users.ini"))));
    EXPECT_TRUE(folder.read(QStringLiteral("users")).isEmpty());
    // Inner blanks and the Kazakh letters are fine.
    EXPECT_EQ(registerStudent(q(u"Ұлан Қасым"), QStringLiteral("p")), std::nullopt);
}

TEST_F(RegistrationFlow, PasswordsTheStoreCannotKeepAreRefusedBeforeAnyWrite) {
    // A character that scrambles to a line break, and one the code page lacks.
    QByteArray plain;
    crypt(QByteArray("\n"), kScrambleKey, plain);
    const QString breaksLine = QStringLiteral("ab") + CodePage::decode(plain) + QStringLiteral("c");
    EXPECT_EQ(registerStudent(QStringLiteral("ivan"), breaksLine), texts::invalidPassword());
    const auto unencodable = registerStudent(QStringLiteral("ivan"), q(u"пароль\u2603"));
    ASSERT_TRUE(unencodable.has_value());
    EXPECT_TRUE(unencodable->startsWith(texts::invalidPassword()));
    EXPECT_TRUE(unencodable->contains(QStringLiteral("U+2603")));
    EXPECT_FALSE(QFile::exists(folder.file(QStringLiteral("users.ini"))));
    EXPECT_TRUE(list.names().isEmpty());
}

TEST_F(RegistrationFlow, EmptyAdministratorLoginTakesNoNameAway) {
    EXPECT_EQ(
        Registration::registerStudent(QStringLiteral("ivan"), QStringLiteral("p"), QString(), list),
        std::nullopt);
}

TEST_F(RegistrationFlow, ReadOnlyRegisterFailsWithoutTouchingTheList) {
    folder.write(QStringLiteral("users.ini"), QByteArray());
    QFile::setPermissions(folder.file(QStringLiteral("users.ini")),
                          QFile::ReadOwner | QFile::ReadGroup);
    try {
        (void)registerStudent(QStringLiteral("ivan"), QStringLiteral("p"));
        ADD_FAILURE() << "registered into a read-only register";
    } catch (const Failure& f) {
        EXPECT_EQ(
            f.message(),
            QStringLiteral("Unable to write to %1").arg(folder.file(QStringLiteral("users.ini"))));
    }
    EXPECT_TRUE(folder.read(QStringLiteral("users.ini")).isEmpty());
    EXPECT_TRUE(list.names().isEmpty());
    EXPECT_TRUE(folder.read(QStringLiteral("users")).isEmpty());
}

// A registration is all or nothing across both files: the register section goes again when the
// list cannot be written, so the student may register once the list can be.
TEST_F(RegistrationFlow, UnwritableListUndoesTheRegistrationAndNamesTheFile) {
    ASSERT_EQ(registerStudent(QStringLiteral("Olga"), QStringLiteral("pw")), std::nullopt);
    const QByteArray before = folder.read(QStringLiteral("users.ini"));
    QFile::setPermissions(folder.file(QStringLiteral("users")),
                          QFile::ReadOwner | QFile::ReadGroup);
    try {
        (void)registerStudent(QStringLiteral("ivan"), QStringLiteral("p"));
        ADD_FAILURE() << "wrote a read-only list";
    } catch (const Failure& f) {
        EXPECT_EQ(f.message(), QStringLiteral("Cannot create file \"%1\". Permission denied")
                                   .arg(folder.file(QStringLiteral("users"))));
    }
    EXPECT_EQ(folder.read(QStringLiteral("users.ini")), before);
    // The list shows what the file holds.
    EXPECT_EQ(list.names(), QStringList{QStringLiteral("Olga")});
    QFile::setPermissions(folder.file(QStringLiteral("users")),
                          QFile::ReadOwner | QFile::WriteOwner);
    EXPECT_EQ(registerStudent(QStringLiteral("ivan"), QStringLiteral("p")), std::nullopt);
    EXPECT_EQ(folder.read(QStringLiteral("users")), QByteArray("Olga\r\nivan\r\n"));
}

TEST_F(RegistrationFlow, DeletionNeedsTheStoredPassword) {
    ASSERT_EQ(registerStudent(QStringLiteral("Ivan"), QStringLiteral("secret")), std::nullopt);
    ASSERT_EQ(registerStudent(QStringLiteral("Olga"), QStringLiteral("pw")), std::nullopt);
    const QByteArray before = folder.read(QStringLiteral("users.ini"));

    for (const QString& password :
         {QStringLiteral("Secret"), QStringLiteral("secret "), QString()}) {
        EXPECT_EQ(Registration::deleteStudent(QStringLiteral("Ivan"), password, list),
                  texts::wrongNameOrPassword());
    }
    EXPECT_EQ(Registration::deleteStudent(QStringLiteral("nobody"), QStringLiteral("x"), list),
              texts::wrongNameOrPassword());
    EXPECT_EQ(Registration::deleteStudent(q(u"\u2603"), QStringLiteral("x"), list),
              texts::wrongNameOrPassword());
    EXPECT_EQ(folder.read(QStringLiteral("users.ini")), before);
    EXPECT_EQ(list.names().size(), 2);

    EXPECT_EQ(Registration::deleteStudent(QStringLiteral("iVAN"), QStringLiteral("secret"), list),
              std::nullopt);
    EXPECT_EQ(stored(QStringLiteral("Ivan"), QStringLiteral("password")), missingValue());
    EXPECT_EQ(stored(QStringLiteral("Olga"), QStringLiteral("password")), QStringLiteral("pw"));
    EXPECT_EQ(list.names(), QStringList{QStringLiteral("Olga")});
    EXPECT_EQ(folder.read(QStringLiteral("users")), QByteArray("Olga\r\n"));
}

TEST_F(RegistrationFlow, DeletingANameMissingFromTheListErasesTheSectionOnly) {
    writeini(QStringLiteral("ghost"), QStringLiteral("password"), QStringLiteral("p"),
             UserRegister::path());
    folder.write(QStringLiteral("users"), "Olga\r\nghost2\r\n");
    list = UserList::load();
    EXPECT_EQ(Registration::deleteStudent(QStringLiteral("ghost"), QStringLiteral("p"), list),
              std::nullopt);
    EXPECT_EQ(stored(QStringLiteral("ghost"), QStringLiteral("password")), missingValue());
    EXPECT_EQ(folder.read(QStringLiteral("users")), QByteArray("Olga\r\nghost2\r\n"));
}

// An old list may hold a name twice: one deletion removes the first entry only.
TEST_F(RegistrationFlow, DeletionRemovesTheFirstOfTwoEntries) {
    writeini(QStringLiteral("ivan"), QStringLiteral("password"), QStringLiteral("p"),
             UserRegister::path());
    folder.write(QStringLiteral("users"), "IVAN\r\nOlga\r\nivan\r\n");
    list = UserList::load();
    EXPECT_EQ(Registration::deleteStudent(QStringLiteral("ivan"), QStringLiteral("p"), list),
              std::nullopt);
    EXPECT_EQ(list.names(), (QStringList{QStringLiteral("Olga"), QStringLiteral("ivan")}));
    EXPECT_EQ(folder.read(QStringLiteral("users")), QByteArray("Olga\r\nivan\r\n"));
}

} // namespace

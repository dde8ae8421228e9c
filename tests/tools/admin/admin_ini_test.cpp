// SPDX-License-Identifier: GPL-3.0-or-later
#include "admin_command.h"
#include "core/storage/code_page.h"
#include "core/storage/scrambled_store.h"
#include "support/admin_run.h"
#include "support/temp_folder.h"

#include <QFile>
#include <functional>
#include <gtest/gtest.h>

using namespace velmora;
using velmora::test::TempFolder;

namespace {

using Result = velmora::test::AdminRun;

// velmora-admin run as the teacher runs it, in `folder`.
Result runProgram(const QString& folder, const QStringList& args) {
    return velmora::test::runAdmin(args, folder);
}

// The same commands in this process; the test folder is the current directory.
Result runInProcess(const QString&, const QStringList& args) {
    Result r;
    QTextStream out(&r.out);
    QTextStream err(&r.err);
    r.status = admin::runAdmin(args, out, err);
    out.flush();
    err.flush();
    return r;
}

// One way of running velmora-admin: the program itself, or its commands in this process.
struct Runner {
    const char* name;
    std::function<Result(const QString&, const QStringList&)> run;
    Result operator()(const QString& folder, const QStringList& args) const {
        return run(folder, args);
    }
};

void PrintTo(const Runner& r, std::ostream* os) {
    *os << r.name;
}

class AdminIni : public ::testing::TestWithParam<Runner> {};

const QString kKazakh = QStringLiteral("Әсел Құрманғазықызы: ұлттық үйлесім, һ, і — №5");
const QString kRussian = QStringLiteral("Ёлка «Привет, мир!» (щит; эхо) Ъ/ю");

TEST_P(AdminIni, RoundTripsKazakhAndRussianValuesThroughAScrambledFile) {
    const TempFolder folder;
    const Runner run = GetParam();
    const QString section = QStringLiteral("Айгүл");
    for (const QString& value : {kKazakh, kRussian}) {
        SCOPED_TRACE(value.toStdString());
        const Result set = run(folder.path(), {QStringLiteral("ini"), QStringLiteral("set"),
                                               QStringLiteral("users.ini"), section,
                                               QStringLiteral("password"), value});
        EXPECT_EQ(set.status, 0) << set.err.toStdString();
        EXPECT_TRUE(set.err.isEmpty());
        // Names match without regard to letter case, the file's name too.
        const Result get = run(folder.path(), {QStringLiteral("ini"), QStringLiteral("get"),
                                               QStringLiteral("USERS.ini"), QStringLiteral("АЙГҮЛ"),
                                               QStringLiteral("Password")});
        EXPECT_EQ(get.status, 0) << get.err.toStdString();
        EXPECT_EQ(get.out, value + QLatin1Char('\n'));
        // On disk: the section name in the code page, the value scrambled; the program reads it.
        const QByteArray raw = folder.read(QStringLiteral("users.ini"));
        EXPECT_TRUE(raw.startsWith(CodePage::encode(u"[Айгүл]\r\npassword=")));
        EXPECT_FALSE(raw.contains(CodePage::encode(value.left(4))));
        EXPECT_EQ(readini(section, QStringLiteral("password"), QStringLiteral("\\users.ini")),
                  value);
    }
    const Result erase = run(folder.path(), {QStringLiteral("ini"), QStringLiteral("erase"),
                                             QStringLiteral("users.ini"), QStringLiteral("айгүл")});
    EXPECT_EQ(erase.status, 0) << erase.err.toStdString();
    EXPECT_EQ(folder.read(QStringLiteral("users.ini")), QByteArray());
}

struct FailureCase {
    const char* name;
    QStringList args;
    int status;
    QString errContains; // with %1 for the test folder
};

// Every failure is a clear message on standard error and a non-zero status, and no file changes.
TEST_P(AdminIni, FailsClearlyAndChangesNothing) {
    const TempFolder folder;
    const Runner run = GetParam();
    writeini(QStringLiteral("s"), QStringLiteral("k"), QStringLiteral("old"),
             QStringLiteral("\\users.ini"));
    writeini(QStringLiteral("s"), QStringLiteral("k"), QStringLiteral("old"),
             QStringLiteral("\\locked.ini"));
    QFile::setPermissions(folder.file(QStringLiteral("locked.ini")), QFileDevice::ReadOwner);
    const QByteArray users = folder.read(QStringLiteral("users.ini"));
    QByteArray plainOfCr;
    crypt("\r", kScrambleKey, plainOfCr);
    const QString ini = QStringLiteral("ini");
    const QString set = QStringLiteral("set");
    const QString u = QStringLiteral("users.ini");
    const QString s = QStringLiteral("s");
    const QString k = QStringLiteral("k");
    const FailureCase cases[] = {
        {"noArguments", {}, 2, QStringLiteral("Usage: velmora-admin")},
        {"unknownCommand",
         {QStringLiteral("frobnicate")},
         2,
         QStringLiteral("unknown command 'frobnicate'")},
        {"unknownIniCommand",
         {ini, QStringLiteral("list"), u},
         2,
         QStringLiteral("unknown command")},
        {"missingArgument",
         {ini, QStringLiteral("get"), u, s},
         2,
         QStringLiteral("usage: velmora-admin ini get FILE SECTION KEY")},
        {"extraArgument",
         {ini, set, u, s, k, QStringLiteral("v"), QStringLiteral("w")},
         2,
         QStringLiteral("usage: velmora-admin ini set FILE SECTION KEY VALUE")},
        {"characterTheFilesLack",
         {ini, set, u, s, k, QStringLiteral("日本")},
         1,
         QStringLiteral("«日» (U+65E5)")},
        {"valueThatWouldNotReadBack",
         {ini, set, u, s, k, QStringLiteral("a") + CodePage::decode(plainOfCr)},
         1,
         QStringLiteral("нельзя сохранить")},
        {"valueTooLong",
         {ini, set, u, s, k, QString(3000, QLatin1Char('x'))},
         1,
         QStringLiteral("2047")},
        {"keyThatWouldSplit",
         {ini, set, u, s, QStringLiteral("a=b"), QStringLiteral("v")},
         1,
         QStringLiteral("Недопустимое имя")},
        {"readOnlyFile",
         {ini, set, QStringLiteral("locked.ini"), s, k, QStringLiteral("new")},
         1,
         QStringLiteral("Unable to write to %1/locked.ini")},
        {"missingFolder",
         {ini, set, QStringLiteral("nowhere/users.ini"), s, k, QStringLiteral("v")},
         1,
         QStringLiteral("Unable to write to %1/nowhere/users.ini")},
        {"eraseReadOnly",
         {ini, QStringLiteral("erase"), QStringLiteral("locked.ini"), s},
         1,
         QStringLiteral("Unable to write to %1/locked.ini")},
        {"getMissingFile",
         {ini, QStringLiteral("get"), QStringLiteral("nothing.ini"), s, k},
         1,
         QStringLiteral("Cannot open file \"%1/nothing.ini\"")},
        {"getMissingKey",
         {ini, QStringLiteral("get"), u, s, QStringLiteral("other")},
         1,
         QStringLiteral("no value for key 'other' in section 's'")},
        {"eraseMissingSection",
         {ini, QStringLiteral("erase"), u, QStringLiteral("t")},
         1,
         QStringLiteral("no section 't'")},
    };
    for (const FailureCase& c : cases) {
        SCOPED_TRACE(c.name);
        const Result r = run(folder.path(), c.args);
        EXPECT_EQ(r.status, c.status);
        const QString expected = c.errContains.contains(QStringLiteral("%1"))
                                     ? c.errContains.arg(folder.path())
                                     : c.errContains;
        EXPECT_TRUE(r.err.contains(expected)) << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty()) << r.out.toStdString();
    }
    EXPECT_EQ(folder.read(QStringLiteral("users.ini")), users);
    EXPECT_EQ(folder.read(QStringLiteral("locked.ini")), users);
    EXPECT_FALSE(QFile::exists(folder.file(QStringLiteral("nothing.ini"))));
    QFile::setPermissions(folder.file(QStringLiteral("locked.ini")),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

TEST_P(AdminIni, HelpListsTheCommands) {
    const TempFolder folder;
    for (const QStringList& args :
         {QStringList{QStringLiteral("--help")}, QStringList{QStringLiteral("-h")}}) {
        const Result r = GetParam()(folder.path(), args);
        EXPECT_EQ(r.status, 0);
        for (const char* usage : {"ini get FILE SECTION KEY", "ini set FILE SECTION KEY VALUE",
                                  "ini erase FILE SECTION"}) {
            EXPECT_TRUE(r.out.contains(QString::fromLatin1(usage))) << usage;
        }
    }
    const Result one = GetParam()(
        folder.path(), {QStringLiteral("ini"), QStringLiteral("set"), QStringLiteral("--help")});
    EXPECT_EQ(one.status, 0);
    EXPECT_TRUE(one.out.contains(QStringLiteral("atomically")));
}

// A command group's --help lists the commands of the group and only those; a word that is no
// group stays an unknown command.
TEST_P(AdminIni, GroupHelpListsTheGroupsCommands) {
    const TempFolder folder;
    const struct {
        QStringList args;
        QStringList listed;
        QStringList notListed;
    } cases[] = {
        {{QStringLiteral("users"), QStringLiteral("--help")},
         {QStringLiteral("users list"), QStringLiteral("users add NAME PASSWORD"),
          QStringLiteral("users remove NAME"), QStringLiteral("users grades NAME")},
         {QStringLiteral("ini get"), QStringLiteral("settings show")}},
        {{QStringLiteral("settings"), QStringLiteral("--help")},
         {QStringLiteral("settings show"),
          QStringLiteral("settings set LOGIN PASSWORD REPORTFILE")},
         {QStringLiteral("users list")}},
        {{QStringLiteral("test"), QStringLiteral("-h")},
         {QStringLiteral("test build SOURCE OUTPUT"), QStringLiteral("test check FILE"),
          QStringLiteral("test import FILE"), QStringLiteral("test export FILE")},
         {QStringLiteral("ini set")}},
        {{QStringLiteral("ini"), QStringLiteral("--help")},
         {QStringLiteral("ini get FILE SECTION KEY"), QStringLiteral("ini erase FILE SECTION")},
         {QStringLiteral("grades")}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.join(u' ').toStdString());
        const Result r = GetParam()(folder.path(), c.args);
        EXPECT_EQ(r.status, 0) << r.err.toStdString();
        EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
        for (const QString& usage : c.listed) {
            EXPECT_TRUE(r.out.contains(QStringLiteral("velmora-admin ") + usage))
                << usage.toStdString() << "\n"
                << r.out.toStdString();
        }
        for (const QString& other : c.notListed) {
            EXPECT_FALSE(r.out.contains(other)) << other.toStdString();
        }
    }
    for (const QStringList& args :
         {QStringList{QStringLiteral("pupils"), QStringLiteral("--help")},
          QStringList{QStringLiteral("users"), QStringLiteral("rename")}}) {
        const Result r = GetParam()(folder.path(), args);
        EXPECT_EQ(r.status, 2) << args.join(u' ').toStdString();
        EXPECT_TRUE(r.err.contains(QStringLiteral("unknown command"))) << r.err.toStdString();
    }
}

// Arguments come from the terminal as UTF-8; bytes that are not UTF-8 are refused, never stored
// as replacement characters.
TEST(AdminArguments, AreDecodedFromUtf8AndRefusedOtherwise) {
    QString errText;
    QTextStream err(&errText);
    const char* good[] = {"velmora-admin", "ini", "\xD3\x98\xD1\x81\xD0\xB5\xD0\xBB"}; // "Әсел"
    EXPECT_EQ(admin::terminalArguments(3, good, err),
              (QStringList{QStringLiteral("ini"), QStringLiteral("Әсел")}));
    const char* bad[] = {"velmora-admin", "ini", "\xC0\xDB"}; // "АЫ" in the code page, not UTF-8
    EXPECT_EQ(admin::terminalArguments(3, bad, err), std::nullopt);
    err.flush();
    EXPECT_TRUE(errText.contains(QStringLiteral("argument 2 is not UTF-8")))
        << errText.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Admin, AdminIni,
                         ::testing::Values(Runner{"program", runProgram},
                                           Runner{"inProcess", runInProcess}),
                         [](const ::testing::TestParamInfo<Runner>& info) {
                             return std::string(info.param.name);
                         });

} // namespace

// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/admin_run.h"
#include "support/temp_folder.h"

#include <QFile>
#include <QXmlStreamReader>
#include <gtest/gtest.h>

using velmora::test::AdminRun;
using velmora::test::runAdmin;
using velmora::test::TempFolder;

namespace {

QStringList words(const char* line) {
    return QString::fromUtf8(line).split(u' ');
}

const QByteArray kGift = R"(// Сети
$CATEGORY: Сети

::Протокол::[html]Какой <b>протокол</b> передаёт веб-страницы? {
  =HTTP#верно
  ~SMTP
  ~FTP
}

::Правда::Земля круглая.{T}
)";

TEST(BankCommands, ImportWritesASourceBesideTheBankOrBuildsTheTest) {
    const TempFolder folder;
    folder.write(QStringLiteral("net.gift"), kGift);
    AdminRun run = runAdmin(words("test import net.gift"));
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(run.err, QStringLiteral("velmora-admin: warning: Вопрос №1 «Протокол»: ответы D), E) "
                                      "оставлены пустыми.\n"
                                      "velmora-admin: warning: Вопрос №2 «Правда» пропущен: вопрос "
                                      "«верно/неверно».\n"
                                      "velmora-admin: warning: Импортировано вопросов: 1, "
                                      "пропущено: 1.\n"
                                      "velmora-admin: 1 questions written to %1\n")
                           .arg(folder.file(QStringLiteral("net.source.txt"))));
    EXPECT_EQ(QString::fromUtf8(folder.read(QStringLiteral("net.source.txt"))),
              QStringLiteral("Какой протокол передаёт веб-страницы?\nA) HTTP*\nB) SMTP\nC) FTP\n"
                             "D)\nE)\n"));

    run = runAdmin(words("test import net.gift --build net.ini"));
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_TRUE(run.err.endsWith(
        QStringLiteral("1 questions written to %1\n").arg(folder.file(QStringLiteral("net.ini")))));
    run = runAdmin(words("test show net.ini"));
    EXPECT_EQ(run.out, QStringLiteral("Questions: 1\n\n1. Какой протокол передаёт веб-страницы?\n"
                                      "   A) HTTP \n   B) SMTP\n   C) FTP\n   D)\n   E)\n"
                                      "   correct: A\n"));
}

// "test export ... --format moodle-xml" of the course's test 1 is well-formed XML, and importing
// it builds a test that 'test show' prints exactly as test 1.
TEST(BankCommands, CourseTestExportedAsMoodleXmlImportsBackTheSame) {
    const TempFolder folder;
    const QString test1 = QStringLiteral(VELMORA_SOURCE_ROOT "/course/data/tests/test1.ini");
    const AdminRun exported = runAdmin({QStringLiteral("test"), QStringLiteral("export"), test1,
                                        QStringLiteral("--format"), QStringLiteral("moodle-xml")});
    ASSERT_EQ(exported.status, 0) << exported.err.toStdString();
    QXmlStreamReader xml(exported.out);
    int questions = 0;
    while (!xml.atEnd()) {
        questions += xml.readNext() == QXmlStreamReader::StartElement && xml.name() == u"single";
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    folder.write(QStringLiteral("test1.xml"), exported.out.toUtf8());
    EXPECT_EQ(runAdmin(words("test import test1.xml --build back.ini")).status, 0);
    const AdminRun original = runAdmin({QStringLiteral("test"), QStringLiteral("show"), test1});
    const AdminRun back = runAdmin(words("test show back.ini"));
    EXPECT_EQ(back.out, original.out);
    EXPECT_TRUE(original.out.startsWith(QStringLiteral("Questions: %1\n").arg(questions)));
}

TEST(BankCommands, RefuseWrongArgumentsAndUnknownFormats) {
    const TempFolder folder;
    folder.write(QStringLiteral("ours.txt"), "Вопрос\nA) да*\n");
    const struct {
        const char* line;
        int status;
        const char* err;
    } cases[] = {
        {"test import ours.txt", 1, "is no Aiken bank (no \"ANSWER:\" line); give its format"},
        {"test import ours.txt --format docx", 2, "usage: velmora-admin test import FILE"},
        {"test import ours.txt --build", 2, "usage: velmora-admin test import FILE"},
        {"test import missing.gift", 1, "Cannot open file"},
        {"test export t.ini", 2, "usage: velmora-admin test export FILE --format"},
        {"test export t.ini --format gift --output a --output b", 2, "usage:"},
    };
    for (const auto& c : cases) {
        const AdminRun run = runAdmin(words(c.line));
        EXPECT_EQ(run.status, c.status) << c.line;
        EXPECT_TRUE(run.err.contains(QString::fromUtf8(c.err))) << run.err.toStdString();
    }
    EXPECT_FALSE(QFile::exists(QStringLiteral("ours.source.txt")));
}

} // namespace

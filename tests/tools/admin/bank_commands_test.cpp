// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/admin_run.h"
#include "support/temp_folder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringEncoder>
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
                                      "velmora-admin: warning: Вопрос №2 «Правда»: вопрос "
                                      "«верно/неверно» превращён в вопрос с двумя ответами "
                                      "«Верно» и «Неверно».\n"
                                      "velmora-admin: warning: Импортировано вопросов: 2, "
                                      "пропущено: 0.\n"
                                      "velmora-admin: 2 questions written to %1\n")
                           .arg(folder.file(QStringLiteral("net.source.txt"))));
    EXPECT_EQ(QString::fromUtf8(folder.read(QStringLiteral("net.source.txt"))),
              QStringLiteral("Какой протокол передаёт веб-страницы?\nA) HTTP*\nB) SMTP\nC) FTP\n"
                             "D)\nE)\n********\nЗемля круглая.\nA) Верно*\nB) Неверно\nC)\nD)\n"
                             "E)\n"));

    run = runAdmin(words("test import net.gift --build net.ini"));
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_TRUE(run.err.endsWith(
        QStringLiteral("2 questions written to %1\n").arg(folder.file(QStringLiteral("net.ini")))));
    run = runAdmin(words("test show net.ini"));
    EXPECT_EQ(run.out, QStringLiteral("Questions: 2\n\n1. Какой протокол передаёт веб-страницы?\n"
                                      "   A) HTTP \n   B) SMTP\n   C) FTP\n   D)\n   E)\n"
                                      "   correct: A\n\n2. Земля круглая.\n   A) Верно \n"
                                      "   B) Неверно\n   C)\n   D)\n   E)\n   correct: A\n"));
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
    folder.write(QStringLiteral("keyed.txt"), "Вопрос\nA) да*\nB) нет\nANSWER: B\n");
    folder.write(QStringLiteral("loose.txt"), "Вопрос\nA. да\nANSWER: A\nзаметки\n");
    const struct {
        const char* line;
        int status;
        const char* err;
    } cases[] = {
        {"test import ours.txt", 1,
         "ours.txt is a question source (an answer line \"A)\" ... "
         "\"E)\" marked with \"*\"); build it with 'test build', or "
         "give the bank's format with --format"},
        {"test import keyed.txt", 1, "keyed.txt is a question source"},
        {"test import loose.txt", 1,
         "loose.txt is no Aiken bank (each question's answers closed "
         "by an \"ANSWER:\" line); give its format with --format"},
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
    EXPECT_FALSE(QFile::exists(QStringLiteral("keyed.source.txt")));
}

#ifndef Q_OS_WIN // names that differ in letter case name one file on Windows
// A file named to be written is that exact name, whatever files differ from it in letter case,
// and an import replaces an existing output only with --force, naming it otherwise.
TEST(BankCommands, OutputsAreTheNamesTypedAndImportReplacesOnlyWithForce) {
    const TempFolder folder;
    folder.write(QStringLiteral("notes.txt"), "заметки\n");
    folder.write(QStringLiteral("net.ini"), "keep");
    folder.write(QStringLiteral("out.ini"), "keep");
    folder.write(QStringLiteral("net.gift"), kGift);
    folder.write(QStringLiteral("src.txt"), "Вопрос?\nA) да*\n");
    const QString test1 = QStringLiteral(VELMORA_SOURCE_ROOT "/course/data/tests/test1.ini");
    const struct {
        QStringList args;
        const char* written;
    } named[] = {
        {{QStringLiteral("test"), QStringLiteral("export"), test1, QStringLiteral("--format"),
          QStringLiteral("aiken"), QStringLiteral("--output"), QStringLiteral("Notes.txt")},
         "Notes.txt"},
        {words("test import net.gift --build Net.ini"), "Net.ini"},
        {words("test build src.txt Out.ini"), "Out.ini"},
    };
    for (const auto& c : named) {
        const AdminRun run = runAdmin(c.args);
        EXPECT_EQ(run.status, 0) << run.err.toStdString();
        EXPECT_TRUE(run.err.endsWith(
            QStringLiteral(" written to %1\n").arg(folder.file(QString::fromUtf8(c.written)))))
            << run.err.toStdString();
        EXPECT_TRUE(QFile::exists(folder.file(QString::fromUtf8(c.written)))) << c.written;
    }
    EXPECT_EQ(folder.read(QStringLiteral("notes.txt")), "заметки\n");
    EXPECT_EQ(folder.read(QStringLiteral("net.ini")), "keep");
    EXPECT_EQ(folder.read(QStringLiteral("out.ini")), "keep");

    folder.write(QStringLiteral("net.source.txt"), "правлено вручную\n");
    for (const char* line : {"test import net.gift", "test import net.gift --build Net.ini"}) {
        const QString output = folder.file(QString::fromUtf8(line).endsWith(u"Net.ini")
                                               ? QStringLiteral("Net.ini")
                                               : QStringLiteral("net.source.txt"));
        const QByteArray before = folder.read(QFileInfo(output).fileName());
        const AdminRun run = runAdmin(words(line));
        EXPECT_EQ(run.status, 1) << line;
        EXPECT_EQ(
            run.err,
            QStringLiteral("velmora-admin: %1 exists; give --force to replace it\n").arg(output));
        EXPECT_EQ(folder.read(QFileInfo(output).fileName()), before) << line;
    }
    AdminRun run = runAdmin(words("test import net.gift --force"));
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_TRUE(folder.read(QStringLiteral("net.source.txt")).startsWith("Какой протокол"));
    run = runAdmin(words("test import --force net.gift --build Net.ini"));
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_TRUE(runAdmin(words("test import --help")).out.contains(QStringLiteral("--force")));
}
#endif

// A bank of which no question can be imported writes nothing, says so, and fails.
TEST(BankCommands, ABankWithNothingImportableWritesNothing) {
    const TempFolder folder;
    folder.write(QStringLiteral("essay.gift"), "::Эссе:: Опишите сеть. {}\n");
    const QString said =
        QStringLiteral("velmora-admin: warning: Вопрос №1 «Эссе» пропущен: эссе.\n"
                       "velmora-admin: warning: Импортировано вопросов: 0, пропущено: 1.\n"
                       "velmora-admin: Из банка %1 не импортировано ни одного вопроса: ничего не "
                       "записано\n")
            .arg(folder.file(QStringLiteral("essay.gift")));
    for (const char* line :
         {"test import essay.gift --build t1copy.ini", "test import essay.gift"}) {
        const AdminRun run = runAdmin(words(line));
        EXPECT_EQ(run.status, 1) << line;
        EXPECT_EQ(run.err, said) << line;
    }
    EXPECT_EQ(QDir().entryList(QDir::Files), QStringList{QStringLiteral("essay.gift")});
    folder.write(QStringLiteral("t1copy.ini"), "[inf]\r\n");
    EXPECT_EQ(runAdmin(words("test import essay.gift --force --build t1copy.ini")).status, 1);
    EXPECT_EQ(folder.read(QStringLiteral("t1copy.ini")), "[inf]\r\n");
}

// A bank saved by Notepad as "Unicode" imports as its text; bytes that are no text are refused,
// the file named.
TEST(BankCommands, Utf16BanksImportAndUndecodableFilesAreRefused) {
    const TempFolder folder;
    QStringEncoder utf16(QStringEncoder::Utf16LE, QStringEncoder::Flag::WriteBom);
    folder.write(QStringLiteral("notepad.txt"),
                 utf16.encode(QStringLiteral("Вопрос?\r\nA. да\r\nB. нет\r\nANSWER: A\r\n")));
    AdminRun run = runAdmin(words("test import notepad.txt"));
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(QString::fromUtf8(folder.read(QStringLiteral("notepad.source.txt"))),
              QStringLiteral("Вопрос?\nA) да*\nB) нет\nC)\nD)\nE)\n"));

    folder.write(QStringLiteral("wide.txt"), QByteArray("Q\0?\0\r\0\n\0", 8));
    const QString refused =
        QStringLiteral("velmora-admin: Файл %1 не читается как текст: в нём нулевые байты "
                       "(двоичный файл или UTF-16 без метки порядка байтов)\n")
            .arg(folder.file(QStringLiteral("wide.txt")));
    for (const char* line : {"test import wide.txt", "test import wide.txt --format aiken",
                             "test build wide.txt wide.ini"}) {
        run = runAdmin(words(line));
        EXPECT_EQ(run.status, 1) << line;
        EXPECT_EQ(run.err, refused) << line;
    }
    EXPECT_FALSE(QFile::exists(QStringLiteral("wide.source.txt")));
    EXPECT_FALSE(QFile::exists(QStringLiteral("wide.ini")));
}

} // namespace

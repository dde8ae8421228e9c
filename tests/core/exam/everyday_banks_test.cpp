// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/exam/question_bank.h"

#include <gtest/gtest.h>

using namespace velmora;

namespace {

// A GIFT bank with one question of every kind a teacher's bank holds.
const QString kEverydayGift = QStringLiteral(R"(// Вопросы всех видов
$CATEGORY: $course$/top/Всё вперемешку

::Эссе::Расскажите о своей первой сети. {}

::Пары::Сопоставьте протокол и порт. {
  =HTTP -> 80
  =SMTP -> 25
  =SSH -> 22
}

::Выбор с отзывами::Какой протокол шифрует веб-страницы? {
  ~HTTP#Без шифрования.
  =HTTPS#Верно, TLS.
  ~FTP#Это файлы.
  ####Вспомните про замок в адресной строке.
}

::Несколько::Какие протоколы работают поверх TCP? {
  ~%50%HTTP
  ~%50%SMTP
  ~%-100%DNS по UDP
}

::Число::Сколько бит в октете? {#8:0}

::Краткий::Как называется адрес устройства в сети? {=IP-адрес =IP}

::Истина::Ethernet — технология локальных сетей. {T}

::Ложь::DNS передаёт почту. {FALSE#Нет, DNS переводит имена.#Верно!}

::С общим отзывом::Маска /24 оставляет 256 адресов. {TRUE####Из них 254 для узлов.}

::Коротко нет::Порт HTTP — 21. {F}
)");

// A Moodle XML export of true/false questions in nested categories, and an essay.
const QString kNestedXml = QStringLiteral(R"(<?xml version="1.0" encoding="UTF-8"?>
<quiz>
  <question type="category">
    <category><text>$course$/top/По умолчанию</text></category>
  </question>
  <question type="truefalse">
    <name><text>Первая</text></name>
    <questiontext format="html"><text><![CDATA[<p>Кабель <b>витая пара</b> медный.</p>]]></text></questiontext>
    <generalfeedback format="html"><text></text></generalfeedback>
    <defaultgrade>1.0000000</defaultgrade>
    <penalty>1.0000000</penalty>
    <hidden>0</hidden>
    <answer fraction="100" format="moodle_auto_format"><text>true</text>
      <feedback format="html"><text>Да.</text></feedback></answer>
    <answer fraction="0" format="moodle_auto_format"><text>false</text>
      <feedback format="html"><text>Подумайте.</text></feedback></answer>
  </question>
  <question type="category">
    <category><text>$course$/top/По умолчанию/Сети/Кабели</text></category>
    <info format="moodle_auto_format"><text>Вложенная категория</text></info>
  </question>
  <question type="truefalse">
    <name><text>Вторая</text></name>
    <questiontext format="moodle_auto_format"><text>Оптоволокно проводит ток.</text></questiontext>
    <answer fraction="0" format="moodle_auto_format"><text>true</text></answer>
    <answer fraction="100" format="moodle_auto_format"><text>false</text></answer>
  </question>
  <question type="category">
    <category><text>$course$/top/По умолчанию/Сети</text></category>
  </question>
  <question type="essay">
    <name><text>Эссе</text></name>
    <questiontext format="html"><text>Сравните медь и стекло.</text></questiontext>
    <responseformat>editor</responseformat>
  </question>
  <question type="truefalse">
    <name><text>Без верного</text></name>
    <questiontext format="html"><text>Ни то ни другое.</text></questiontext>
    <answer fraction="0"><text>true</text></answer>
    <answer fraction="0"><text>false</text></answer>
  </question>
</quiz>
)");

QString trueFalseNote(int number, const char* title) {
    return QStringLiteral("Вопрос №%1 «%2»: вопрос «верно/неверно» превращён в вопрос с двумя "
                          "ответами «Верно» и «Неверно».")
        .arg(number)
        .arg(QString::fromUtf8(title));
}

QStringList trueFalseBlock(const char* text, bool truth) {
    return {QString::fromUtf8(text),
            truth ? QStringLiteral("A) Верно*") : QStringLiteral("A) Верно"),
            truth ? QStringLiteral("B) Неверно") : QStringLiteral("B) Неверно*"),
            QStringLiteral("C)"),
            QStringLiteral("D)"),
            QStringLiteral("E)")};
}

const QString kSeparator = QStringLiteral("********");

// Every true/false question becomes its two answers, with or without feedback, in either
// spelling; the single choice is imported as before and every other kind is skipped by name.
TEST(EverydayBanks, GiftOfEveryKind) {
    const QuestionBank bank = QuestionBank::read(kEverydayGift.toUtf8(), BankFormat::Gift);
    const QStringList expectedLines =
        QStringList{QStringLiteral("Какой протокол шифрует веб-страницы?"),
                    QStringLiteral("A) HTTP"),
                    QStringLiteral("B) HTTPS*"),
                    QStringLiteral("C) FTP"),
                    QStringLiteral("D)"),
                    QStringLiteral("E)")} +
        QStringList{kSeparator} + trueFalseBlock("Ethernet — технология локальных сетей.", true) +
        QStringList{kSeparator} + trueFalseBlock("DNS передаёт почту.", false) +
        QStringList{kSeparator} + trueFalseBlock("Маска /24 оставляет 256 адресов.", true) +
        QStringList{kSeparator} + trueFalseBlock("Порт HTTP — 21.", false);
    EXPECT_EQ(bank.sourceLines().join(u'\n').toStdString(),
              expectedLines.join(u'\n').toStdString());
    const QStringList expectedWarnings = {
        QStringLiteral("Вопрос №1 «Эссе» пропущен: эссе."),
        QStringLiteral("Вопрос №2 «Пары» пропущен: вопрос на соответствие."),
        QStringLiteral("Вопрос №3 «Выбор с отзывами»: ответы D), E) оставлены пустыми."),
        QStringLiteral("Вопрос №4 «Несколько» пропущен: ответы с частичной оценкой."),
        QStringLiteral("Вопрос №5 «Число» пропущен: числовой вопрос."),
        QStringLiteral("Вопрос №6 «Краткий» пропущен: вопрос с кратким ответом."),
        trueFalseNote(7, "Истина"),
        trueFalseNote(8, "Ложь"),
        trueFalseNote(9, "С общим отзывом"),
        trueFalseNote(10, "Коротко нет"),
        QStringLiteral("Импортировано вопросов: 5, пропущено: 5."),
    };
    EXPECT_EQ(bank.warnings().join(u'\n').toStdString(),
              expectedWarnings.join(u'\n').toStdString());
}

// Categories at any depth are no questions; the true/false questions take their correct answer
// from the "true" and "false" answers' credit, and one without a correct answer is skipped.
TEST(EverydayBanks, MoodleXmlTrueFalseInNestedCategories) {
    const QuestionBank bank = QuestionBank::read(kNestedXml.toUtf8(), BankFormat::MoodleXml);
    const QStringList expectedLines = trueFalseBlock("Кабель витая пара медный.", true) +
                                      QStringList{kSeparator} +
                                      trueFalseBlock("Оптоволокно проводит ток.", false);
    EXPECT_EQ(bank.sourceLines().join(u'\n').toStdString(),
              expectedLines.join(u'\n').toStdString());
    const QStringList expectedWarnings = {
        trueFalseNote(1, "Первая"),
        trueFalseNote(2, "Вторая"),
        QStringLiteral("Вопрос №3 «Эссе» пропущен: эссе."),
        QStringLiteral("Вопрос №4 «Без верного» пропущен: нет правильного ответа."),
        QStringLiteral("Импортировано вопросов: 2, пропущено: 2."),
    };
    EXPECT_EQ(bank.warnings().join(u'\n').toStdString(),
              expectedWarnings.join(u'\n').toStdString());
}

} // namespace

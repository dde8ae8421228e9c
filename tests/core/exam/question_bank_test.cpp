// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/exam/question_bank.h"
#include "core/exam/question_bank_writer.h"
#include "core/exam/question_source.h"
#include "core/exam/test_file.h"
#include "core/storage/failure.h"
#include "core/storage/scrambled_store.h"
#include "support/temp_folder.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QStringEncoder>
#include <QXmlStreamReader>
#include <gtest/gtest.h>

using namespace velmora;
using velmora::test::TempFolder;

namespace {

// One rule of a bank: the source block its question becomes (empty when it is skipped) and the
// warning it gives (empty when none).
struct Row {
    const char* rule;
    QStringList block;
    QString warning;
};

QStringList block(const QString& text, std::initializer_list<const char*> answers) {
    QStringList lines{text};
    for (const char* answer : answers) {
        lines.append(QString::fromUtf8(answer));
    }
    return lines;
}

// A true/false question as its two answers, the right one marked, and the warning that says so.
QStringList trueFalse(const char* text, bool truth) {
    return block(QString::fromUtf8(text), {truth ? "A) Верно*" : "A) Верно",
                                           truth ? "B) Неверно" : "B) Неверно*", "C)", "D)", "E)"});
}
QString converted(int number, const char* title) {
    return QStringLiteral("Вопрос №%1 «%2»: вопрос «верно/неверно» превращён в вопрос с двумя "
                          "ответами «Верно» и «Неверно».")
        .arg(number)
        .arg(QString::fromUtf8(title));
}

// The bank gives exactly the rows' blocks, in order, and exactly their warnings and the count.
void expectRows(const QuestionBank& bank, const std::vector<Row>& rows, const QString& count) {
    QStringList lines;
    QStringList warnings;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.rule);
        if (!row.block.isEmpty()) {
            lines += (lines.isEmpty() ? QStringList() : QStringList{QStringLiteral("********")}) +
                     row.block;
        }
        if (!row.warning.isEmpty()) {
            warnings.append(row.warning);
            EXPECT_TRUE(bank.warnings().contains(row.warning)) << row.warning.toStdString();
        }
    }
    // Compared as text, so that a difference reads as one.
    EXPECT_EQ(bank.sourceLines().join(u'\n').toStdString(), lines.join(u'\n').toStdString());
    EXPECT_EQ(bank.warnings().join(u'\n').toStdString(),
              (warnings + QStringList{count}).join(u'\n').toStdString());
}

const QString kGift = QStringLiteral(R"(// Банк по сетям, как его выгружает платформа
$CATEGORY: $course$/top/Сети

::Протокол::Какой протокол
передаёт веб-страницы? {
  =HTTP#верно
  ~SMTP#это почта
  // комментарий внутри вопроса
  ~FTP
  ~SSH
  ~DNS
}

::Знаки::Что значит \{x\} в записи 1\=1 \: 2? {=множество \# 1 ~пара \~ ~ничего}

::Разметка::[html]<p>Какой тег <b>делает</b> абзац?</p><br>Выберите&nbsp;&laquo;тег&raquo; {=&lt;p&gt;#да ~&lt;br&gt; ####общий отзыв}

::Правда::Земля круглая.{T}

::Краткий::Два плюс два? {=четыре =4}

::Пары::Сопоставьте. {=a -> 1 =b -> 2 =c -> 3}

::Число::Сколько бит в байте? {#8:0}

::Эссе::Опишите сеть. {}

Описание без ответов.

::Два верных::Какие числа чётные? {=2 =4 ~3}

::Без верного::Что выбрать? {~а ~б}

::Частичный::Что выбрать? {~%50%а ~%50%б ~%0%в}

::Шесть::Буква? {=a ~b ~c ~d ~e ~f}

::Пропуск::Moodle стоит {~дорого =ничего} учителям.

::Иероглиф::Что значит 日? {=солнце ~луна}

::Картинка::[html]Что на рисунке? <img src="@@PLUGINFILE@@/net.png"> {=сеть ~шина}

::Скобка::C) или D)* {=C ~D* ~E ~A ~B}

::Ложь::DNS передаёт почту. {FALSE#Нет, имена.#Да!}

::Отзыв::Маска /24 даёт 256 адресов. {TRUE####Из них 254 для узлов.}

::Нет::Порт HTTP — 21. {F}
)");

TEST(QuestionBanks, GiftRules) {
    const QuestionBank bank = QuestionBank::read(kGift.toUtf8(), BankFormat::Gift);
    const QString answers3 = QStringLiteral("ответы C), D), E) оставлены пустыми");
    const std::vector<Row> rows = {
        {"multi-line, comments, feedback dropped",
         block(QStringLiteral("Какой протокол передаёт веб-страницы?"),
               {"A) HTTP*", "B) SMTP", "C) FTP", "D) SSH", "E) DNS"}),
         {}},
        {"escapes",
         block(QStringLiteral("Что значит {x} в записи 1=1 : 2?"),
               {"A) множество # 1*", "B) пара ~", "C) ничего", "D)", "E)"}),
         QStringLiteral("Вопрос №2 «Знаки»: ответы D), E) оставлены пустыми.")},
        {"html reduced, answers in the question's format, general feedback dropped",
         block(QStringLiteral("Какой тег делает абзац? Выберите «тег»"),
               {"A) <p>*", "B) <br>", "C)", "D)", "E)"}),
         QStringLiteral("Вопрос №3 «Разметка»: %1.").arg(answers3)},
        {"true/false as its two answers", trueFalse("Земля круглая.", true),
         converted(4, "Правда")},
        {"short answer",
         {},
         QStringLiteral("Вопрос №5 «Краткий» пропущен: вопрос с кратким ответом.")},
        {"matching", {}, QStringLiteral("Вопрос №6 «Пары» пропущен: вопрос на соответствие.")},
        {"numerical", {}, QStringLiteral("Вопрос №7 «Число» пропущен: числовой вопрос.")},
        {"essay", {}, QStringLiteral("Вопрос №8 «Эссе» пропущен: эссе.")},
        {"description, named by its text",
         {},
         QStringLiteral("Вопрос №9 «Описание без ответов.» пропущен: описание, а не вопрос.")},
        {"several correct",
         {},
         QStringLiteral("Вопрос №10 «Два верных» пропущен: несколько правильных ответов.")},
        {"no correct",
         {},
         QStringLiteral("Вопрос №11 «Без верного» пропущен: нет правильного ответа.")},
        {"partial credit",
         {},
         QStringLiteral("Вопрос №12 «Частичный» пропущен: ответы с частичной оценкой.")},
        {"more than five",
         {},
         QStringLiteral("Вопрос №13 «Шесть» пропущен: ответов больше пяти (6).")},
        {"missing word",
         block(QStringLiteral("Moodle стоит _____ учителям."),
               {"A) дорого", "B) ничего*", "C)", "D)", "E)"}),
         QStringLiteral("Вопрос №14 «Пропуск»: %1.").arg(answers3)},
        {"a text the test file cannot hold, with the store's reason",
         {},
         QStringLiteral("Вопрос №15 «Иероглиф» пропущен: %1.")
             .arg(unstorableValueReason(QStringLiteral("Что значит 日?")))},
        {"pictures dropped",
         block(QStringLiteral("Что на рисунке?"), {"A) сеть*", "B) шина", "C)", "D)", "E)"}),
         QStringLiteral("Вопрос №16 «Картинка»: %1; картинка net.png не перенесена.")
             .arg(answers3)},
        {"texts kept from reading as our answer lines and marks",
         block(QStringLiteral(" C) или D)*"), {"A) C*", "B) D* ", "C) E", "D) A", "E) B"}),
         {}},
        {"false, feedback dropped", trueFalse("DNS передаёт почту.", false), converted(18, "Ложь")},
        {"general feedback dropped", trueFalse("Маска /24 даёт 256 адресов.", true),
         converted(19, "Отзыв")},
        {"short false", trueFalse("Порт HTTP — 21.", false), converted(20, "Нет")},
    };
    expectRows(bank, rows, QStringLiteral("Импортировано вопросов: 10, пропущено: 10."));
}

const QString kAiken = QStringLiteral(R"(Какой протокол передаёт
веб-страницы?
A. SMTP
B) HTTP
C. FTP
D. SSH
E. DNS
ANSWER: B

Сколько бит в байте?
A) 4
B) 8
ANSWER: B

Буква?
A. a
B. b
C. c
D. d
E. e
F. f
ANSWER: F

Без строки ответа?
A. да
B. нет
Два ответа?
A. да
B. нет
ANSWER: A, B
Ответ не из списка?
A. да
B. нет
ANSWER: C
)");

TEST(QuestionBanks, AikenRules) {
    const QuestionBank bank = QuestionBank::read(kAiken.toUtf8(), BankFormat::Aiken);
    const std::vector<Row> rows = {
        {"multi-line text joined, \"A.\" and \"A)\"",
         block(QStringLiteral("Какой протокол передаёт веб-страницы?"),
               {"A) SMTP", "B) HTTP*", "C) FTP", "D) SSH", "E) DNS"}),
         {}},
        {"fewer than five",
         block(QStringLiteral("Сколько бит в байте?"), {"A) 4", "B) 8*", "C)", "D)", "E)"}),
         QStringLiteral("Вопрос №2 «Сколько бит в байте?»: ответы C), D), E) оставлены пустыми.")},
        {"more than five",
         {},
         QStringLiteral("Вопрос №3 «Буква?» пропущен: ответов больше пяти (6).")},
        {"no ANSWER line before the next question",
         {},
         QStringLiteral("Вопрос №4 «Без строки ответа?» пропущен: нет правильного ответа.")},
        {"several letters",
         {},
         QStringLiteral("Вопрос №5 «Два ответа?» пропущен: несколько правильных ответов.")},
        {"a letter no answer has",
         {},
         QStringLiteral("Вопрос №6 «Ответ не из списка?» пропущен: нет правильного ответа.")},
    };
    expectRows(bank, rows, QStringLiteral("Импортировано вопросов: 2, пропущено: 4."));
}

// A Moodle XML export as the platform writes it, with an answer's HTML escaped instead of in CDATA.
const QString kMoodleXml = QStringLiteral(R"(<?xml version="1.0" encoding="UTF-8"?>
<quiz>
<!-- question: 0  -->
  <question type="category">
    <category><text>$course$/top/Сети</text></category>
    <info format="html"><text></text></info>
  </question>
  <question type="multichoice">
    <name><text>Протокол</text></name>
    <questiontext format="html">
      <text><![CDATA[<p>Какой протокол<br>передаёт <b>веб-страницы</b>?</p>]]></text>
    </questiontext>
    <generalfeedback format="html"><text></text></generalfeedback>
    <defaultgrade>1.0000000</defaultgrade>
    <single>true</single>
    <shuffleanswers>true</shuffleanswers>
    <answer fraction="0" format="html"><text><![CDATA[<p>SMTP</p>]]></text>
      <feedback format="html"><text>Это почта</text></feedback></answer>
    <answer fraction="100.0000000" format="html"><text>&lt;p&gt;HTTP &amp;amp; HTTPS&lt;/p&gt;</text></answer>
    <answer fraction="0" format="plain_text"><text>a &lt; b</text></answer>
  </question>
  <question type="multichoice">
    <name><text>Схема</text></name>
    <questiontext format="html">
      <text><![CDATA[<p>Что на схеме? <img src="@@PLUGINFILE@@/net.png"></p>]]></text>
      <file name="net.png" path="/" encoding="base64">iVBORw0KGgo=</file>
    </questiontext>
    <single>true</single>
    <answer fraction="100"><text>Звезда</text></answer>
    <answer fraction="0"><text>Кольцо</text></answer>
  </question>
  <question type="truefalse"><name><text>Правда</text></name><image></image><image_base64/>
    <questiontext format="html"><text>Земля круглая.</text></questiontext>
    <answer fraction="100"><text>true</text></answer><answer fraction="0"><text>false</text></answer></question>
  <question type="shortanswer"><name><text>Краткий</text></name>
    <questiontext format="html"><text>Два плюс два?</text></questiontext>
    <answer fraction="100"><text>4</text></answer></question>
  <question type="multichoice"><name><text>Несколько</text></name>
    <questiontext format="html"><text>Чётные?</text></questiontext><single>false</single>
    <answer fraction="100"><text>2</text></answer><answer fraction="0"><text>3</text></answer></question>
  <question type="multichoice"><name><text>Частичный</text></name>
    <questiontext format="html"><text>Чётные?</text></questiontext><single>true</single>
    <answer fraction="50"><text>2</text></answer><answer fraction="50"><text>4</text></answer></question>
  <question type="multichoice"><name><text>Два верных</text></name>
    <questiontext format="html"><text>Выберите</text></questiontext>
    <answer fraction="100"><text>a</text></answer><answer fraction="100"><text>b</text></answer></question>
  <question type="cloze"><name><text>Пропуски</text></name>
    <questiontext format="html"><text>{1:MULTICHOICE:=a~b}</text></questiontext></question>
  <question type="description"><name><text>Описание</text></name>
    <questiontext format="html"><text>Раздел о сетях</text></questiontext></question>
  <question type="matching"><name><text>Пары</text></name></question>
  <question type="numerical"><name><text>Число</text></name></question>
  <question type="essay"><name><text>Эссе</text></name></question>
  <question type="ddwtos"><name><text>Перетаскивание</text></name></question>
  <question type="multichoice"><name><text>Медиа</text></name>
    <questiontext format="html"><text><![CDATA[<p>Послушайте <a href="@@PLUGINFILE@@/%D0%B7%D0%B2%D1%83%D0%BA.mp3?time=1">запись</a> и <a href="https://example.org/">сайт</a></p>]]></text></questiontext>
    <image>pics/diagram.png</image>
    <image_base64>iVBORw0KGgo=</image_base64>
    <single>true</single>
    <answer fraction="100"><text><![CDATA[<img src="@@PLUGINFILE@@/a.png">Звезда]]></text>
      <file name="a.png" path="/" encoding="base64">iVBORw0KGgo=</file>
      <feedback format="html"><text>Да</text><file name="fb.png" encoding="base64">iVBO</file></feedback></answer>
    <answer fraction="0"><text><![CDATA[<video><source src="https://example.org/v.mp4"></video>Шина]]></text></answer>
  </question>
  <question type="multichoice"><name><text>Без имени</text></name>
    <questiontext format="html"><text>Что на рисунке?</text></questiontext>
    <image_base64>iVBORw0KGgo=</image_base64>
    <answer fraction="100"><text>Звезда</text></answer><answer fraction="0"><text>Шина</text></answer>
  </question>
  <question type="category"><category><text>$course$/top/Сети/Кабели</text></category></question>
  <question type="truefalse"><name><text>Ложь</text></name>
    <questiontext format="moodle_auto_format"><text>Оптоволокно проводит ток.</text></questiontext>
    <answer fraction="0" format="moodle_auto_format"><text>true</text><feedback><text>Нет</text></feedback></answer>
    <answer fraction="100" format="moodle_auto_format"><text>false</text></answer></question>
  <question type="category"><category><text>$course$/top/Сети/Кабели/Медь</text></category></question>
  <question type="truefalse"><name><text>Ни то ни другое</text></name>
    <questiontext format="html"><text>Медь?</text></questiontext>
    <answer fraction="0"><text>true</text></answer><answer fraction="0"><text>false</text></answer></question>
</quiz>
)");

TEST(QuestionBanks, MoodleXmlRules) {
    const QuestionBank bank = QuestionBank::read(kMoodleXml.toUtf8(), BankFormat::MoodleXml);
    const auto skipped = [](int n, const char* title, const char* why) {
        return QStringLiteral("Вопрос №%1 «%2» пропущен: %3.")
            .arg(n)
            .arg(QString::fromUtf8(title), QString::fromUtf8(why));
    };
    const std::vector<Row> rows = {
        {"categories are no questions; CDATA, HTML and entities reduced, plain text kept",
         block(QStringLiteral("Какой протокол передаёт веб-страницы?"),
               {"A) SMTP", "B) HTTP & HTTPS*", "C) a < b", "D)", "E)"}),
         QStringLiteral("Вопрос №1 «Протокол»: ответы D), E) оставлены пустыми.")},
        {"files dropped",
         block(QStringLiteral("Что на схеме?"), {"A) Звезда*", "B) Кольцо", "C)", "D)", "E)"}),
         QStringLiteral("Вопрос №2 «Схема»: ответы C), D), E) оставлены пустыми; картинка net.png "
                        "не перенесена.")},
        {"true/false as its two answers", trueFalse("Земля круглая.", true),
         converted(3, "Правда")},
        {"short answer", {}, skipped(4, "Краткий", "вопрос с кратким ответом")},
        {"several answers allowed", {}, skipped(5, "Несколько", "можно выбрать несколько ответов")},
        {"partial credit", {}, skipped(6, "Частичный", "ответы с частичной оценкой")},
        {"several correct", {}, skipped(7, "Два верных", "несколько правильных ответов")},
        {"cloze", {}, skipped(8, "Пропуски", "вопрос со встроенными ответами (cloze)")},
        {"description", {}, skipped(9, "Описание", "описание, а не вопрос")},
        {"matching", {}, skipped(10, "Пары", "вопрос на соответствие")},
        {"numerical", {}, skipped(11, "Число", "числовой вопрос")},
        {"essay", {}, skipped(12, "Эссе", "эссе")},
        {"any other type", {}, skipped(13, "Перетаскивание", "вопрос типа «ddwtos»")},
        {"every picture and sound named once, in order; a link to a page and feedback are no "
         "files of the question",
         block(QStringLiteral("Послушайте запись и сайт"),
               {"A) Звезда*", "B) Шина", "C)", "D)", "E)"}),
         QStringLiteral("Вопрос №14 «Медиа»: ответы C), D), E) оставлены пустыми; картинка "
                        "звук.mp3 не перенесена; картинка pics/diagram.png не перенесена; "
                        "картинка a.png не перенесена; картинка https://example.org/v.mp4 не "
                        "перенесена.")},
        {"a picture without a name",
         block(QStringLiteral("Что на рисунке?"), {"A) Звезда*", "B) Шина", "C)", "D)", "E)"}),
         QStringLiteral("Вопрос №15 «Без имени»: ответы C), D), E) оставлены пустыми; картинка "
                        "без имени не перенесена.")},
        {"nested categories; a false statement", trueFalse("Оптоволокно проводит ток.", false),
         converted(16, "Ложь")},
        {"true/false without a right answer",
         {},
         skipped(17, "Ни то ни другое", "нет правильного ответа")},
    };
    expectRows(bank, rows, QStringLiteral("Импортировано вопросов: 6, пропущено: 11."));
}

TEST(QuestionBanks, MoodleXmlFollowsNoEntityAndKeepsWhatPrecedesABreak) {
    const QByteArray laughs = "<?xml version=\"1.0\"?>\n<!DOCTYPE quiz [\n"
                              "<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;\">\n"
                              "<!ENTITY c \"&b;&b;&b;&b;&b;&b;&b;&b;\">]>\n<quiz>&c;</quiz>\n";
    const QByteArray external = "<?xml version=\"1.0\"?>\n<!DOCTYPE quiz [<!ENTITY x SYSTEM "
                                "\"file:///etc/passwd\">]>\n<quiz><question type=\"essay\">"
                                "<name><text>&x;</text></name></question></quiz>\n";
    for (const QByteArray& bytes : {laughs, external}) {
        try {
            QuestionBank::read(bytes, BankFormat::MoodleXml);
            ADD_FAILURE() << "read a document type declaration";
        } catch (const Failure& f) {
            EXPECT_EQ(f.message(), QStringLiteral("Файл Moodle XML с объявлением DTD не читается: "
                                                  "его сущности не раскрываются."));
        }
    }
    // Cut in the middle of the second question: the first is imported, the second named.
    const QString cut = kMoodleXml.first(kMoodleXml.indexOf(QStringLiteral("<name><text>Схема")));
    const QuestionBank bank = QuestionBank::read(cut.toUtf8(), BankFormat::MoodleXml);
    EXPECT_EQ(bank.imported(), 1);
    ASSERT_EQ(bank.warnings().size(), 3);
    EXPECT_TRUE(
        bank.warnings()[1].startsWith(QStringLiteral("Вопрос №2 пропущен: ошибка XML в строке")))
        << bank.warnings()[1].toStdString();
}

// By name first; otherwise a file with a marked answer line "A)" ... "E)" is a source of ours
// whatever else it holds, and only a file that reads whole as Aiken is an Aiken bank.
TEST(QuestionBanks, FormatFromTheNameOrAWholeAikenBank) {
    const QByteArray aiken = "Q?\nA. a\nB. b\nANSWER: A\n\nR?\nA) c\nB) d\nanswer: b\n";
    const QByteArray ours = "Q?\nA) a*\nB) b\n";
    const struct {
        const char* path;
        QByteArray bytes;
        std::optional<BankFormat> format;
    } cases[] = {{"bank.GIFT", ours, BankFormat::Gift},
                 {"export.xml", aiken, BankFormat::MoodleXml},
                 {"bank.txt", aiken, BankFormat::Aiken},
                 {"test1.txt", ours, std::nullopt},
                 {"ours with an answer key line", "Q?\nA) a\nB) b*\nAnswer: see the lecture\n",
                  std::nullopt},
                 {"ours with Aiken answers around", ours + "\n" + aiken, std::nullopt},
                 {"a marked last answer E)", "ANSWER: x\nQ?\nE) e*\n", std::nullopt},
                 {"a question without its key", "Q?\nA. a\nANSWER: A\nR?\nA. b\n", std::nullopt},
                 {"text after the last key", "Q?\nA. a\nANSWER: A\nnotes\n", std::nullopt},
                 {"a key without answers", "Q?\nANSWER: A\n", std::nullopt},
                 {"a key line only", "ANSWER: A\n", std::nullopt}};
    for (const auto& c : cases) {
        EXPECT_EQ(QuestionBank::formatOf(QString::fromUtf8(c.path), c.bytes), c.format) << c.path;
    }
}

// Every course test written in each format and imported again gives the same questions, answers
// and correct letters, and a Moodle XML export is well-formed.
TEST(QuestionBanks, CourseTestsRoundTripThroughEveryFormat) {
    const QString root = QStringLiteral(VELMORA_SOURCE_ROOT);
    const int tests = static_cast<int>(QDir(root + QStringLiteral("/course/sources"))
                                           .entryList({QStringLiteral("test*.txt")}, QDir::Files)
                                           .size());
    ASSERT_GE(tests, 1);
    for (int n = 1; n <= tests; ++n) {
        const TempFolder folder;
        QDir().mkpath(QStringLiteral("data/tests"));
        const QString name = QStringLiteral("test%1").arg(n);
        QFile::copy(root + QStringLiteral("/course/data/tests/%1.ini").arg(name),
                    folder.file(QStringLiteral("data/tests/%1.ini").arg(name)));
        const TestFile original = TestFile::named(name);
        QList<Question> questions;
        for (int k = 1; k <= original.total(); ++k) {
            questions.append(original.question(k));
        }
        for (const BankFormat format :
             {BankFormat::Aiken, BankFormat::Gift, BankFormat::MoodleXml}) {
            SCOPED_TRACE(
                QStringLiteral("%1 as format %2").arg(name).arg(int(format)).toStdString());
            const auto written = QuestionBankWriter::write(questions, format, name);
            EXPECT_TRUE(written.warnings.isEmpty());
            if (format == BankFormat::MoodleXml) {
                QXmlStreamReader xml(written.text);
                while (!xml.atEnd()) {
                    xml.readNext();
                }
                EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
            }
            const QuestionBank bank = QuestionBank::read(written.text, format);
            EXPECT_EQ(bank.warnings(), QStringList{QStringLiteral("Импортировано вопросов: %1, "
                                                                  "пропущено: 0.")
                                                       .arg(questions.size())});
            QuestionSourceConverter converter;
            bank.build(converter, folder.file(QStringLiteral("back.ini")));
            const TestFile back(QStringLiteral("\\back.ini"));
            ASSERT_EQ(back.total(), questions.size());
            for (int k = 1; k <= back.total(); ++k) {
                const Question q = back.question(k);
                EXPECT_EQ(q.text, questions[k - 1].text) << k;
                EXPECT_EQ(q.answers, questions[k - 1].answers) << k;
                EXPECT_EQ(q.correct, questions[k - 1].correct) << k;
            }
        }
    }
}

QByteArray utf16(const QString& text, QStringEncoder::Encoding encoding) {
    QStringEncoder encoder(encoding, QStringEncoder::Flag::WriteBom);
    return encoder.encode(text);
}

// A source or a bank saved as "Unicode" (UTF-16 with a byte order mark, either order) reads as the
// same text in UTF-8 does.
TEST(QuestionBanks, Utf16WithAByteOrderMarkReadsAsText) {
    const TempFolder folder;
    const QString source = QStringLiteral("Что такое ERP?\r\nA) Планирование*\r\nB) Язык\r\n");
    const QString aiken =
        QStringLiteral("Что такое CRM?\r\nA. Склад\r\nB. Клиенты\r\nANSWER: B\r\n");
    for (const auto encoding : {QStringEncoder::Utf16LE, QStringEncoder::Utf16BE}) {
        SCOPED_TRACE(int(encoding));
        folder.write(QStringLiteral("source.txt"), utf16(source, encoding));
        EXPECT_EQ(QuestionSource::read(folder.file(QStringLiteral("source.txt"))),
                  QuestionSource::lines(source.toUtf8()));
        folder.write(QStringLiteral("bank.txt"), utf16(aiken, encoding));
        EXPECT_EQ(QuestionBank::formatOfFile(folder.file(QStringLiteral("bank.txt"))),
                  BankFormat::Aiken);
        EXPECT_EQ(QuestionBank::readFile(folder.file(QStringLiteral("bank.txt")), BankFormat::Aiken)
                      .sourceLines(),
                  QuestionBank::read(aiken.toUtf8(), BankFormat::Aiken).sourceLines());
        folder.write(QStringLiteral("bank.gift"), utf16(kGift, encoding));
        EXPECT_EQ(QuestionBank::readFile(folder.file(QStringLiteral("bank.gift")), BankFormat::Gift)
                      .warnings(),
                  QuestionBank::read(kGift.toUtf8(), BankFormat::Gift).warnings());
    }
}

// Bytes that are no text in any encoding read are refused by every reader, naming the file and
// what is wrong with it, instead of being read as garbage.
TEST(QuestionBanks, UndecodableFilesAreRefusedNamingTheFileAndTheProblem) {
    const TempFolder folder;
    const struct {
        const char* rule;
        QByteArray bytes;
        const char* problem;
    } cases[] = {
        {"UTF-16 LE cut in a character", QByteArray("\xFF\xFEQ\0?", 5),
         "ошибка в тексте UTF-16 LE"},
        {"UTF-16 BE with a lone surrogate", QByteArray("\xFE\xFF\xD8\0\0Q", 6),
         "ошибка в тексте UTF-16 BE"},
        {"UTF-32 LE", QByteArray("\xFF\xFE\0\0Q\0\0\0", 8),
         "кодировка UTF-32 не поддерживается, сохраните файл в UTF-8"},
        {"UTF-16 without a byte order mark", QByteArray("Q\0?\0\r\0\n\0", 8),
         "в нём нулевые байты (двоичный файл или UTF-16 без метки порядка байтов)"},
        {"a UTF-8 mark before other bytes", "\xEF\xBB\xBFQ?\xE0\r\n",
         "метка порядка байтов UTF-8, но текст не в UTF-8"},
    };
    const QString path = folder.file(QStringLiteral("bank.txt"));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.rule);
        folder.write(QStringLiteral("bank.txt"), c.bytes);
        const QString expected = QStringLiteral("Файл %1 не читается как текст: %2")
                                     .arg(path, QString::fromUtf8(c.problem));
        const std::function<void()> readers[] = {
            [&] { QuestionSource::read(path); },
            [&] { QuestionBank::formatOfFile(path); },
            [&] { QuestionBank::readFile(path, BankFormat::Aiken); },
            [&] { QuestionBank::readFile(path, BankFormat::Gift); },
        };
        for (const auto& read : readers) {
            try {
                read();
                ADD_FAILURE() << "read as text";
            } catch (const Failure& f) {
                EXPECT_EQ(f.message(), expected);
            }
        }
    }
}

// A question as a test file holds it: "A) text" answers, the correct one with its mark's blank.
Question stored(const char* text, std::initializer_list<const char*> answers, int correct) {
    Question q{QString::fromUtf8(text), {}, QString::number(correct)};
    int position = 0;
    for (const char* answer : answers) {
        const QString value =
            QChar(u'A' + position) + QStringLiteral(") ") + QString::fromUtf8(answer);
        q.answers[position] = value + (position + 1 == correct ? QStringLiteral(" ") : QString());
        ++position;
    }
    for (; position < kAnswersPerQuestion; ++position) {
        q.answers[position] = QChar(u'A' + position) + QStringLiteral(")");
    }
    return q;
}

// The numbers of the questions the warnings name ("Вопрос №N ...").
QList<int> namedQuestions(const QStringList& warnings) {
    static const QRegularExpression number(QStringLiteral("^Вопрос №(\\d+)"));
    QList<int> named;
    for (const QString& warning : warnings) {
        if (const auto match = number.match(warning); match.hasMatch()) {
            named.append(match.captured(1).toInt());
        }
    }
    return named;
}

// Every question of a table of awkward texts, exported in each format and imported again, comes
// back the same (its texts without the blanks around them, which the file keeps for the mark,
// its correct letter) or was named by a warning on export; only what the format cannot hold is.
TEST(QuestionBanks, AwkwardTextsComeBackOrAreNamedOnExport) {
    const QList<Question> questions = {
        stored("Что значит 50%?", {"%50% половина", "%100%", "%-25%x"}, 1),
        stored(" A) начинается с буквы ответа", {"да", "нет"}, 2),
        stored("Answer: с чего начинается строка ключа?", {"ANSWER: A", "answer:"}, 2),
        stored("B. как ответ Aiken", {"A. B.", "C)"}, 1),
        stored("[html] <b>не</b> разметка?", {"[plain]текст", "[moodle]", "[markdown] *x*"}, 3),
        stored("Знаки ~ = # { } : \\ \\n \\{ //", {"=", "~x", "#", "{}", "a -> b \\ ]]>"}, 5),
        stored("&amp; &lt;p&gt; <br> & < > \" '", {"<p>", "&nbsp;", "a&b"}, 2),
        stored("// не комментарий", {"// и это", "$CATEGORY: x", "::Заголовок::"}, 1),
        stored("********", {"E)*", "*", "F) x*"}, 3),
        stored("T", {"T", "F", "TRUE"}, 1),
        stored("::Вопрос 1:: не заголовок", {"{=a ~b}", "_____"}, 1),
        stored("Два  пробела", {"таб\tуляция", "обычный"}, 2),
        stored("Пусто между", {"первый", "", "третий"}, 3),
        stored("Один ответ", {"единственный"}, 1),
        stored("Земля круглая.", {"Верно", "Неверно"}, 1),
        stored("Луна <квадратная>.", {"Верно", "Неверно"}, 2),
        stored("Наоборот: верно?", {"Неверно", "Верно"}, 2),
        stored("Верно ли втроём?", {"Верно", "Неверно", "Не знаю"}, 1),
        stored("верно?", {"верно", "неверно"}, 1),
    };
    const struct {
        BankFormat format;
        QStringList warnings;
    } formats[] = {
        {BankFormat::Aiken,
         {QStringLiteral(
              "Вопрос №2 не выгружен: формат Aiken не хранит вопрос, начинающийся с «A)»."),
          QStringLiteral("Вопрос №3 не выгружен: формат Aiken не хранит вопрос, начинающийся с "
                         "«Answer:»."),
          QStringLiteral(
              "Вопрос №4 не выгружен: формат Aiken не хранит вопрос, начинающийся с «B.»."),
          QStringLiteral("Вопрос №12: пробелы подряд, табуляции и неразрывные пробелы записаны "
                         "одним пробелом.")}},
        {BankFormat::Gift,
         {QStringLiteral("Вопрос №12: пробелы подряд, табуляции и неразрывные пробелы записаны "
                         "одним пробелом.")}},
        {BankFormat::MoodleXml,
         {QStringLiteral("Вопрос №12: пробелы подряд, табуляции и неразрывные пробелы записаны "
                         "одним пробелом.")}},
    };
    for (const auto& f : formats) {
        SCOPED_TRACE(int(f.format));
        const TempFolder folder;
        const auto written = QuestionBankWriter::write(questions, f.format, QStringLiteral("t"));
        EXPECT_EQ(written.warnings.join(u'\n').toStdString(), f.warnings.join(u'\n').toStdString());
        const QList<int> named = namedQuestions(written.warnings);
        const QuestionBank bank = QuestionBank::read(written.text, f.format);
        // Exactly the answers "Верно" and "Неверно" went out as true/false, where the format
        // has the type, and came back as the same two answers.
        EXPECT_EQ(bank.warnings().filter(QStringLiteral("«верно/неверно»")).size(),
                  f.format == BankFormat::Aiken ? 0 : 2);
        QuestionSourceConverter converter;
        bank.build(converter, folder.file(QStringLiteral("back.ini")));
        const TestFile back(QStringLiteral("\\back.ini"));
        QList<Question> backs;
        for (int k = 1; k <= bank.imported(); ++k) {
            backs.append(back.question(k));
        }
        for (qsizetype n = 0; n < questions.size(); ++n) {
            const Question& q = questions[n];
            if (named.contains(int(n + 1))) {
                continue;
            }
            SCOPED_TRACE(q.text.toStdString());
            const auto same = std::find_if(backs.begin(), backs.end(), [&](const Question& b) {
                return b.text.trimmed() == q.text.trimmed();
            });
            if (same == backs.end()) {
                ADD_FAILURE() << "lost: " << bank.warnings().join(u'\n').toStdString();
                continue;
            }
            for (int i = 0; i < kAnswersPerQuestion; ++i) {
                EXPECT_EQ(same->answers[i].trimmed(), q.answers[i].trimmed());
            }
            EXPECT_EQ(same->correct, q.correct);
        }
    }
}

} // namespace

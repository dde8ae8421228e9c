// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/exam/question_record.h"

#include <gtest/gtest.h>

using namespace velmora;

namespace {

// One line applied to a record that already holds a question: what it changes.
struct LineCase {
    const char16_t* line;
    SourceLineKind kind;
    int answer;       // the answer field it sets, 0: none
    QString stored;   // what that field or the question text becomes
    QString position; // the correct position afterwards
};

QuestionRecord started() {
    QuestionRecord r;
    int questions = 0;
    r.take(QStringLiteral("Исходный вопрос"), questions);
    r.position = QStringLiteral("4");
    return r;
}

TEST(LineRules, ClassifyLinesAndSetFields) {
    const LineCase cases[] = {
        {u"", SourceLineKind::Empty, 0, {}, QStringLiteral("4")},
        {u"A) Первый", SourceLineKind::Answer, 1, QStringLiteral("A) Первый"), QStringLiteral("4")},
        {u"B) Текст*", SourceLineKind::Answer, 2, QStringLiteral("B) Текст "), QStringLiteral("2")},
        {u"C)*", SourceLineKind::Answer, 3, QStringLiteral("C) "), QStringLiteral("3")},
        {u"E) Последний *", SourceLineKind::Answer, 5, QStringLiteral("E) Последний  "),
         QStringLiteral("5")},
        {u"D)", SourceLineKind::Answer, 4, QStringLiteral("D)"), QStringLiteral("4")},
        {u"********", SourceLineKind::Separator, 0, {}, QStringLiteral("4")},
        // A line of nine asterisks is a question, and its mark sets nothing.
        {u"*********", SourceLineKind::Question, 0, QStringLiteral("*********"),
         QStringLiteral("4")},
        // Only the Latin capitals followed by ")" begin an answer.
        {u"a) маленькая", SourceLineKind::Question, 0, QStringLiteral("a) маленькая"),
         QStringLiteral("4")},
        {u" A) с пробелом", SourceLineKind::Question, 0, QStringLiteral(" A) с пробелом"),
         QStringLiteral("4")},
        {u"А) кириллица*", SourceLineKind::Question, 0, QStringLiteral("А) кириллица*"),
         QStringLiteral("4")},
        {u"F) шестой", SourceLineKind::Question, 0, QStringLiteral("F) шестой"),
         QStringLiteral("4")},
        {u"A.) точка", SourceLineKind::Question, 0, QStringLiteral("A.) точка"),
         QStringLiteral("4")},
        // A question line keeps its mark; beginning with A ... E it sets the position too.
        {u"Как называется модель?*", SourceLineKind::Question, 0,
         QStringLiteral("Как называется модель?*"), QStringLiteral("4")},
        {u"Cистема ли это?*", SourceLineKind::Question, 0, QStringLiteral("Cистема ли это?*"),
         QStringLiteral("3")},
        {u"*", SourceLineKind::Question, 0, QStringLiteral("*"), QStringLiteral("4")},
    };
    for (const LineCase& c : cases) {
        const QString line = QString::fromUtf16(c.line);
        QuestionRecord r = started();
        const QuestionRecord before = r;
        int questions = 1;
        const SourceLineEffect effect = r.take(line, questions);
        SCOPED_TRACE(line.toStdString());
        EXPECT_EQ(effect.kind, c.kind);
        EXPECT_EQ(effect.answer, c.answer);
        EXPECT_EQ(r.position, c.position);
        EXPECT_EQ(effect.marked, r.position != before.position);
        for (int i = 0; i < 5; ++i) {
            EXPECT_EQ(r.answers[i], i + 1 == c.answer ? c.stored : before.answers[i]);
        }
        const bool question = c.kind == SourceLineKind::Question;
        EXPECT_EQ(r.text, question ? c.stored : before.text);
        EXPECT_EQ(questions, question ? 2 : 1);
        EXPECT_EQ(r.number, question ? QStringLiteral("2") : before.number);
    }
}

TEST(LineRules, AnswerOrderDoesNotMatter) {
    const QStringList forward = {QStringLiteral("Q"),     QStringLiteral("A) a"),
                                 QStringLiteral("B) b*"), QStringLiteral("C) c"),
                                 QStringLiteral("D) d"),  QStringLiteral("E) e")};
    QStringList backward = forward.mid(1);
    std::reverse(backward.begin(), backward.end());
    backward.prepend(forward.first());
    QuestionRecord a;
    QuestionRecord b;
    int na = 0;
    int nb = 0;
    for (const QString& line : forward) {
        a.take(line, na);
    }
    for (const QString& line : backward) {
        b.take(line, nb);
    }
    EXPECT_EQ(a, b);
    EXPECT_EQ(a.position, QStringLiteral("2"));
}

TEST(LineRules, InitialRecordAndWriteOrder) {
    const QuestionRecord r;
    const auto values = r.values();
    const QStringList keys = {QStringLiteral("q"),  QStringLiteral("a1"), QStringLiteral("a2"),
                              QStringLiteral("a3"), QStringLiteral("a4"), QStringLiteral("a5"),
                              QStringLiteral("ap")};
    ASSERT_EQ(values.size(), keys.size());
    // The question and the position keep their design texts; the answers start empty.
    const QStringList initial = {QStringLiteral("Edit1"), {}, {}, {}, {}, {},
                                 QStringLiteral("Edit7")};
    for (qsizetype i = 0; i < values.size(); ++i) {
        EXPECT_EQ(values[i].first, keys[i]);
        EXPECT_EQ(values[i].second, initial[i]);
    }
    EXPECT_EQ(r.number, QStringLiteral("Edit8"));
}

} // namespace

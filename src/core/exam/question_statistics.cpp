// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/exam/question_statistics.h"

#include "core/exam/answer_log.h"
#include "core/exam/log_lines.h"
#include "core/exam/test_file.h"
#include "core/storage/code_page.h"
#include "core/storage/scrambled_store.h"

#include <QFileInfo>
#include <QHash>
#include <algorithm>

namespace velmora {
namespace {

constexpr int kHardAnswers = 5;
constexpr double kHardShare = 0.30;
constexpr double kEasyShare = 0.95;

// The position 0 … 4 of a letter "A" … "E", or -1.
int letterIndex(QByteArrayView field) {
    if (field.size() != 1 || field[0] < 'A' || field[0] >= 'A' + kAnswersPerQuestion) {
        return -1;
    }
    return field[0] - 'A';
}

} // namespace

double QuestionTally::correctShare() const {
    return answers > 0 ? static_cast<double>(correctAnswers) / answers : 0.0;
}

QString QuestionTally::verdict() const {
    if (answers >= kHardAnswers && correctShare() < kHardShare) {
        return QStringLiteral("слишком трудный");
    }
    if (answers > 0 && correctShare() > kEasyShare) {
        return QStringLiteral("слишком лёгкий");
    }
    return {};
}

QuestionStatistics QuestionStatistics::read(const QString& reportfile, const QString& testname) {
    QuestionStatistics statistics;
    statistics.questions_ = questionsOf(testname);
    statistics.readAnswers(AnswerLog::path(reportfile), testname);
    return statistics;
}

QList<QuestionTally> QuestionStatistics::questionsOf(const QString& testname) {
    QList<QuestionTally> questions;
    const TestFile file = TestFile::named(testname);
    QList<int> numbers;
    for (const QString& section : file.sectionNames()) {
        bool isNumber = false;
        const int number = section.toInt(&isNumber);
        if (isNumber && number > 0 && section == QString::number(number) &&
            !numbers.contains(number)) {
            numbers.append(number);
        }
    }
    std::sort(numbers.begin(), numbers.end());
    for (const int number : numbers) {
        const Question question = file.question(number);
        QuestionTally tally;
        tally.number = number;
        tally.text = question.text;
        const std::optional<QChar> letter = question.correctLetter();
        tally.correct = letter ? QString(*letter) : QStringLiteral("?");
        questions.append(tally);
    }
    return questions;
}

void QuestionStatistics::readAnswers(const QString& path, const QString& testname) {
    if (!path.isEmpty() && !QFileInfo::exists(path)) {
        return; // nothing answered yet since the answer log began
    }
    const std::optional<QByteArray> text = readLogFile(path, &logProblem_);
    if (!text) {
        return;
    }
    // Per question number: its place, and what an answer line to it as it stands now holds.
    struct Current {
        int index = 0;
        QByteArray fingerprint;
        QByteArray correct;
    };
    QHash<int, Current> currentOf;
    for (int i = 0; i < questions_.size(); ++i) {
        currentOf.insert(questions_[i].number,
                         {i, AnswerLog::fingerprint(questions_[i].text).toLatin1(),
                          questions_[i].correct.toLatin1()});
    }
    const QByteArray test = CodePage::encode(testname);
    forEachLogLine(*text, [&](const LogFields& fields) {
        if (fields.size() != AnswerLog::kFields && fields.size() != AnswerLog::kAttemptFields) {
            ++skippedLines_;
            return;
        }
        if (fields[3] != test) {
            return;
        }
        const std::optional<int> number = logNumber(fields[4]);
        const int chosen = letterIndex(fields[5]);
        if (!number || chosen < 0) {
            ++skippedLines_;
            return;
        }
        // An answer given while another answer was the correct one was scored by another key.
        const auto at = currentOf.constFind(*number);
        if (at == currentOf.constEnd() || at->fingerprint != fields[7] ||
            at->correct != fields[6]) {
            ++changedLines_;
            return;
        }
        QuestionTally& tally = questions_[at->index];
        ++tally.answers;
        ++tally.chosen[static_cast<size_t>(chosen)];
        if (fields[5] == fields[6]) {
            ++tally.correctAnswers;
        }
    });
}

QStringList answerLogNotes(const QString& logProblem, int changedAnswers, int skippedLines) {
    QStringList notes;
    if (!logProblem.isEmpty()) {
        notes.append(QStringLiteral("журнал ответов не прочитан: %1").arg(logProblem));
    }
    if (changedAnswers > 0) {
        notes.append(
            QStringLiteral("ответов на изменённые вопросы не учтено: %1").arg(changedAnswers));
    }
    if (skippedLines > 0) {
        notes.append(QStringLiteral("строк журнала ответов пропущено: %1").arg(skippedLines));
    }
    return notes;
}

QStringList QuestionStatistics::notes() const {
    return answerLogNotes(logProblem_, changedLines_, skippedLines_);
}

} // namespace velmora

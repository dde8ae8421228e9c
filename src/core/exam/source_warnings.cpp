// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/exam/source_warnings.h"

namespace velmora {

void SourceWarnings::take(const SourceLineEffect& effect, int questions, const QString& section) {
    if (effect.kind == SourceLineKind::Question) {
        closeQuestion();
        question_ = questions;
        answers_ = 0;
        marks_ = 0;
    } else if (question_ == 0) {
        ++linesBeforeFirst_;
        firstSection_ = section;
    }
    if (effect.kind == SourceLineKind::Answer) {
        answers_ |= 1 << (effect.answer - 1);
    }
    if (effect.marked) {
        ++marks_;
    }
}

void SourceWarnings::closeQuestion() {
    if (question_ == 0) {
        return;
    }
    QStringList problems;
    QStringList missing;
    for (int position = 1; position <= kAnswersPerQuestion; ++position) {
        if ((answers_ & (1 << (position - 1))) == 0) {
            missing.append(QChar(u'A' + position - 1) + QStringLiteral(")"));
        }
    }
    if (!missing.isEmpty()) {
        problems.append(
            (missing.size() == 1 ? QStringLiteral("нет ответа ") : QStringLiteral("нет ответов ")) +
            missing.join(QStringLiteral(", ")));
    }
    if (marks_ == 0) {
        problems.append(QStringLiteral("не отмечен правильный ответ"));
    } else if (marks_ > 1) {
        problems.append(
            QStringLiteral("отмечено несколько ответов, правильным считается последний"));
    }
    if (!problems.isEmpty()) {
        closed_.append(QStringLiteral("Вопрос №%1: %2.")
                           .arg(question_)
                           .arg(problems.join(QStringLiteral("; "))));
    }
}

QStringList SourceWarnings::list() const {
    SourceWarnings finished = *this;
    finished.closeQuestion();
    QStringList all;
    if (linesBeforeFirst_ > 0) {
        all.append(QStringLiteral("Строки до первого вопроса (%1) записаны в раздел «%2».")
                       .arg(linesBeforeFirst_)
                       .arg(firstSection_));
    }
    if (question_ == 0) {
        all.append(QStringLiteral("В файле нет ни одного вопроса."));
    }
    return all + finished.closed_;
}

} // namespace velmora

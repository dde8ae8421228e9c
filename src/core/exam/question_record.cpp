// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/exam/question_record.h"

namespace velmora {
namespace {

constexpr QChar kMark = u'*';

const QString& separator() {
    static const QString text = QStringLiteral("********");
    return text;
}

// 1 ... 5 for the letters "A" ... "E" (one letter for each of kAnswersPerQuestion), otherwise 0.
int letterPosition(QChar c) {
    const int position = c.unicode() - u'A' + 1;
    return position >= 1 && position <= kAnswersPerQuestion ? position : 0;
}

// The answer position of a line beginning "A)" ... "E)", otherwise 0.
int answerPrefix(const QString& line) {
    return line.size() >= 2 && line[1] == u')' ? letterPosition(line[0]) : 0;
}

} // namespace

QList<std::pair<QString, QString>> QuestionRecord::values() const {
    QList<std::pair<QString, QString>> list;
    list.reserve(kAnswersPerQuestion + 2);
    list.append({testkeys::question(), text});
    for (int position = 1; position <= kAnswersPerQuestion; ++position) {
        list.append({testkeys::answer(position), answers[position - 1]});
    }
    list.append({testkeys::position(), position});
    return list;
}

SourceLineEffect QuestionRecord::take(const QString& line, int& questions) {
    SourceLineEffect effect;
    if (line.isEmpty()) {
        return effect;
    }
    const bool isSeparator = line == separator();
    if (const int answer = answerPrefix(line)) {
        QString stored = line;
        if (stored.back() == kMark) {
            stored.back() = u' ';
        }
        answers[answer - 1] = stored;
        effect.kind = SourceLineKind::Answer;
        effect.answer = answer;
    } else if (isSeparator) {
        effect.kind = SourceLineKind::Separator;
    } else {
        text = line;
        ++questions;
        number = QString::number(questions);
        effect.kind = SourceLineKind::Question;
    }
    if (!isSeparator && line.back() == kMark) {
        if (const int marked = letterPosition(line.front())) {
            position = QString::number(marked);
            effect.marked = true;
        }
    }
    return effect;
}

} // namespace velmora

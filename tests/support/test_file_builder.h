// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/storage/code_page.h"
#include "core/storage/scrambled_store.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>

namespace velmora::test {

// One question of a test file under construction.
struct QuestionSpec {
    QString text;
    QStringList answers; // up to five
    QString correct;     // the "ap" value; empty leaves the key out
};

// Writes a scrambled test file "data/tests/<name>.ini" below the current directory, laid out as
// the scrambling tool writes it. `vsego` is stored as given; an empty text leaves the key out.
inline void writeTestFile(const QString& name, const QList<QuestionSpec>& questions,
                          const QString& vsego) {
    const auto line = [](const QByteArray& key, const QString& value) {
        QByteArray out = key + '=';
        crypt(CodePage::encode(value), kScrambleKey, out);
        return out + "\r\n";
    };
    QByteArray ini = "[inf]\r\n";
    if (!vsego.isEmpty()) {
        ini += line("vsego", vsego);
    }
    for (qsizetype n = 0; n < questions.size(); ++n) {
        const QuestionSpec& q = questions[n];
        ini += '[' + QByteArray::number(n + 1) + "]\r\n" + line("q", q.text);
        for (qsizetype a = 0; a < q.answers.size(); ++a) {
            ini += line("a" + QByteArray::number(a + 1), q.answers[a]);
        }
        if (!q.correct.isEmpty()) {
            ini += line("ap", q.correct);
        }
    }
    QDir().mkpath(QStringLiteral("data/tests"));
    QFile file(QStringLiteral("data/tests/") + name + QStringLiteral(".ini"));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(ini) != ini.size()) {
        qFatal("cannot write a test file");
    }
}

// `count` questions "Вопрос n" with answers "A) n.1" … "E) n.5", the correct one given per
// question.
inline QList<QuestionSpec> numberedQuestions(const QList<int>& correctPositions) {
    QList<QuestionSpec> questions;
    for (qsizetype n = 1; n <= correctPositions.size(); ++n) {
        QuestionSpec q{
            QStringLiteral("Вопрос %1").arg(n), {}, QString::number(correctPositions[n - 1])};
        for (int a = 1; a <= 5; ++a) {
            q.answers.append(QStringLiteral("%1) %2.%3").arg(QChar(u'A' + a - 1)).arg(n).arg(a));
        }
        questions.append(q);
    }
    return questions;
}

} // namespace velmora::test

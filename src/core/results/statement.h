// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QJsonObject>
#include <QString>
#include <QUuid>

namespace velmora {

struct ResultsSettings;

// xAPI 1.0.3 statements of the course's results, one JSON object each. Every statement gets its
// id and timestamp the moment its result happens, so that sending it again never makes a second
// record in the Learning Record Store. The actor is the student's account on the course: home page
// the course IRI, name the student's name.
class Statement {
public:
    // A finished attempt at a test.
    struct Completed {
        QString username;
        QString testname; // "test3"
        int grade = 0;    // 1 … 5
        int passGrade = 3;
        qint64 durationMs = 0;
        quint64 seed = 0; // 0 for a test without settings
        int draw = 0;     // questions drawn; 0: every question of the file
    };
    // One answer of an attempt, with the test file's question number and letters.
    struct Answered {
        QString username;
        QString testname;
        int question = 0;
        QString fingerprint; // of the question's text, as the answer log has it
        QString chosen;      // "A" … "E"
        QString correct;     // "A" … "E", "?" when the test file names none
        quint64 seed = 0;
    };

    static QJsonObject completed(const ResultsSettings& settings, const Completed& attempt,
                                 const QUuid& id, const QDateTime& when);
    static QJsonObject answered(const ResultsSettings& settings, const Answered& answer,
                                const QUuid& id, const QDateTime& when);
    static QJsonObject registered(const ResultsSettings& settings, const QString& username,
                                  const QUuid& id, const QDateTime& when);

    // The statement as one line of compact JSON (UTF-8), as the outbox keeps it.
    static QByteArray line(const QJsonObject& statement);
    // An ISO 8601 duration with seconds to the hundredth: "PT1M23.45S".
    static QString duration(qint64 ms);
    // The IRI of the program's own extensions: seed, draw, question number, fingerprint.
    static QString extension(const QString& name);
};

} // namespace velmora

// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/exam/answer_log.h"

#include "core/exam/test_log.h"
#include "core/storage/code_page.h"
#include "core/storage/safe_file.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>

namespace velmora {

AnswerLog::Answer AnswerLog::of(const QString& username, const QDateTime& when,
                                const QString& testname, const AnsweredQuestion& answered) {
    bool isNumber = false;
    const int correctPosition = answered.correct.toInt(&isNumber);
    return {username, when, testname, answered.number, letter(answered.position),
            // "ap" is compared as text when scoring, so only a plain digit names an answer.
            isNumber && answered.correct == QString::number(correctPosition)
                ? letter(correctPosition)
                : QStringLiteral("?"),
            answered.text, answered.asked, answered.seed};
}

QString AnswerLog::line(const Answer& answer) {
    QStringList fields{answer.username,
                       answer.when.toString(QStringLiteral("HH:mm:ss")),
                       answer.when.toString(QStringLiteral("dd.MM.yyyy")),
                       answer.testname,
                       QString::number(answer.question),
                       answer.chosen,
                       answer.correct,
                       fingerprint(answer.questionText)};
    if (answer.asked > 0) {
        fields << seedText(answer.seed) << QString::number(answer.asked);
    }
    return fields.join(QStringLiteral(" | "));
}

QString AnswerLog::fingerprint(const QString& questionText) {
    const QByteArray hash =
        QCryptographicHash::hash(questionText.toUtf8(), QCryptographicHash::Sha1);
    return QString::fromLatin1(hash.left(4).toHex());
}

QString AnswerLog::letter(int position) {
    if (position < 1 || position > 5) {
        return QStringLiteral("?");
    }
    return QString(QChar(u'A' + position - 1));
}

QString AnswerLog::path(const QString& reportfile) {
    return TestLog::companionPath(reportfile, QStringLiteral("answers"));
}

bool AnswerLog::append(const QString& reportfile, const Answer& answer) {
    const QString file = path(reportfile);
    if (file.isEmpty() || QFileInfo(file).isDir()) {
        return false;
    }
    try {
        // Made beside the test log, it is open to whoever the test log is open to.
        return appendToFile(file, CodePage::encode(line(answer) + QStringLiteral("\r\n")),
                            TestLog::path(reportfile)) == 0;
    } catch (const std::exception&) {
        return false; // whatever goes wrong here, the test goes on as it would without the log
    }
}

} // namespace velmora

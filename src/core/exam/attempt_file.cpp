// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/exam/attempt_file.h"

#include "core/exam/test_fingerprint.h"
#include "core/exam/test_run.h"
#include "core/storage/code_page.h"
#include "core/storage/data_path.h"
#include "core/storage/failure.h"
#include "core/storage/safe_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <cerrno>

namespace velmora {
namespace {

const QByteArray kFirstLine = "velmora attempt 1";

QByteArray numbers(const QList<int>& values) {
    QByteArrayList parts;
    for (const int value : values) {
        parts.append(QByteArray::number(value));
    }
    return parts.join(' ');
}

Failure damaged(const QString& what) {
    return Failure(QStringLiteral("файл попытки повреждён: %1").arg(what));
}

QList<int> numbersOf(const QByteArray& text, const char* key, int lowest, int highest) {
    QList<int> values;
    for (const QByteArray& part : text.split(' ')) {
        if (part.isEmpty()) {
            continue;
        }
        bool ok = false;
        const int value = part.toInt(&ok);
        if (!ok || value < lowest || value > highest) {
            throw damaged(
                QStringLiteral("%1 «%2»").arg(QLatin1String(key), QString::fromLatin1(part)));
        }
        values.append(value);
    }
    return values;
}

AnswerOrder orderOf(const QByteArray& digits) {
    AnswerOrder order{};
    if (digits.size() != kAnswersPerQuestion) {
        throw damaged(QStringLiteral("orders «%1»").arg(QString::fromLatin1(digits)));
    }
    for (int i = 0; i < kAnswersPerQuestion; ++i) {
        order[size_t(i)] = digits[i] - '0';
    }
    AnswerOrder sorted = order;
    std::sort(sorted.begin(), sorted.end());
    if (sorted != AttemptPlan::fileOrder()) {
        throw damaged(QStringLiteral("orders «%1»").arg(QString::fromLatin1(digits)));
    }
    return order;
}

QByteArray value(const QHash<QByteArray, QByteArray>& values, const char* key) {
    const auto found = values.constFind(key);
    if (found == values.constEnd()) {
        throw damaged(QStringLiteral("нет %1").arg(QLatin1String(key)));
    }
    return *found;
}

} // namespace

QString AttemptFile::path(const QString& username) {
    const QByteArray key = CodePage::encode(username);
    QByteArray folded(key.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < key.size(); ++i) {
        folded[i] = char(CodePage::fold(static_cast<unsigned char>(key[i])));
    }
    // Hexadecimal, so that any name makes a file name on every system.
    return programFolderPath(QStringLiteral("\\attempts\\") + QString::fromLatin1(folded.toHex()) +
                             QStringLiteral(".txt"));
}

QByteArray AttemptFile::text(const Attempt& attempt) {
    QByteArrayList orders;
    for (const AnswerOrder& order : attempt.plan.orders) {
        QByteArray digits;
        for (const int position : order) {
            digits.append(char('0' + position));
        }
        orders.append(digits);
    }
    QByteArray out = kFirstLine + "\r\n";
    out += "user=" + CodePage::encode(attempt.username) + "\r\n";
    out += "test=" + CodePage::encode(attempt.testname) + "\r\n";
    out += "seed=" + seedText(attempt.plan.seed).toLatin1() + "\r\n";
    out += "started=" + QByteArray::number(attempt.started.toMSecsSinceEpoch()) + "\r\n";
    out += "file=" + attempt.testFile.toLatin1() + "\r\n";
    out += "asked=" + numbers(attempt.plan.sections) + "\r\n";
    out += "orders=" + orders.join(' ') + "\r\n";
    out += "chosen=" + numbers(attempt.chosen) + "\r\n";
    out += "correct=" + QByteArray::number(attempt.correct) + "\r\n";
    return out;
}

Attempt AttemptFile::parse(const QByteArray& text) {
    QByteArrayList lines = text.split('\n');
    for (QByteArray& line : lines) {
        if (line.endsWith('\r')) {
            line.chop(1);
        }
    }
    if (lines.isEmpty() || lines.first() != kFirstLine) {
        throw damaged(QStringLiteral("нет первой строки"));
    }
    QHash<QByteArray, QByteArray> values;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const qsizetype equals = lines[i].indexOf('=');
        if (equals > 0) {
            values.insert(lines[i].left(equals), lines[i].mid(equals + 1));
        }
    }
    Attempt attempt;
    attempt.username = CodePage::decode(value(values, "user"));
    attempt.testname = CodePage::decode(value(values, "test"));
    if (TestRun::slotOf(attempt.testname) == 0) {
        throw damaged(QStringLiteral("test «%1»").arg(attempt.testname));
    }
    bool ok = false;
    attempt.plan.seed = value(values, "seed").toULongLong(&ok, 16);
    const qint64 started = value(values, "started").toLongLong(ok ? &ok : nullptr);
    if (!ok) {
        throw damaged(QStringLiteral("seed или started"));
    }
    attempt.started = QDateTime::fromMSecsSinceEpoch(started, Qt::UTC);
    attempt.testFile = QString::fromLatin1(value(values, "file"));
    attempt.plan.sections = numbersOf(value(values, "asked"), "asked", 1, 1000000);
    for (const QByteArray& digits : value(values, "orders").split(' ')) {
        if (!digits.isEmpty()) {
            attempt.plan.orders.append(orderOf(digits));
        }
    }
    attempt.chosen = numbersOf(value(values, "chosen"), "chosen", 0, kAnswersPerQuestion);
    attempt.correct = value(values, "correct").toInt(&ok);
    if (!ok || attempt.correct < 0 || attempt.correct > attempt.chosen.size()) {
        throw damaged(QStringLiteral("correct"));
    }
    if (attempt.plan.sections.isEmpty() ||
        attempt.plan.orders.size() != attempt.plan.sections.size() ||
        attempt.chosen.size() > attempt.plan.sections.size()) {
        throw damaged(QStringLiteral("числа вопросов не сходятся"));
    }
    return attempt;
}

void AttemptFile::save(const Attempt& attempt) {
    const QString file = path(attempt.username);
    QDir().mkpath(QFileInfo(file).path());
    const FileLock lock(file);
    int error = lock.error();
    if (error == 0) {
        error = writeFileAtomically(file, text(attempt));
    }
    if (error != 0) {
        throw failures::cannotCreateFile(file, error);
    }
}

std::optional<Attempt> AttemptFile::load(const QString& username) {
    const QString file = path(username);
    if (!QFileInfo(file).isFile()) {
        return std::nullopt;
    }
    int error = 0;
    const std::optional<QByteArray> bytes = readWholeFile(file, &error);
    if (!bytes) {
        throw failures::cannotOpenFile(file, error);
    }
    return parse(*bytes);
}

void AttemptFile::remove(const QString& username) {
    const QString file = path(username);
    if (!QFileInfo::exists(file)) {
        return;
    }
    const FileLock lock(file);
    QFile::remove(file);
}

QString AttemptFile::setAside(const QString& username) {
    const QString file = path(username);
    QString aside = file + QStringLiteral(".damaged");
    for (int n = 2; QFileInfo::exists(aside); ++n) {
        aside = file + QStringLiteral(".damaged%1").arg(n);
    }
    return QFile::rename(file, aside) ? aside : QString();
}

QString AttemptFile::testFingerprint(const QString& testname) {
    const std::optional<QByteArray> bytes =
        readWholeFile(programFolderPath(TestRun::filePath(testname)));
    if (!bytes) {
        return {};
    }
    return velmora::testFingerprint(*bytes);
}

} // namespace velmora

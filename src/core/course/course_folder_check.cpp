// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/course/course_folder_check.h"

#include "core/storage/code_page.h"
#include "core/storage/data_path.h"
#include "core/storage/ini_text.h"
#include "core/storage/integer_text.h"
#include "core/storage/safe_file.h"
#include "core/storage/scrambled_store.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QUrl>
#include <deque>

namespace velmora {
namespace {

using Severity = CourseProblem::Severity;

bool isDocument(const QString& path) {
    return path.endsWith(QStringLiteral(".htm"), Qt::CaseInsensitive) ||
           path.endsWith(QStringLiteral(".html"), Qt::CaseInsensitive);
}

// A link that leaves the course folder's files alone: another site, mail, a script, a place on
// the same page.
bool isOutsideLink(const QString& link) {
    if (link.isEmpty() || link.startsWith(QLatin1Char('#')) ||
        link.startsWith(QStringLiteral("//"))) {
        return true;
    }
    const qsizetype colon = link.indexOf(QLatin1Char(':'));
    const qsizetype slash = link.indexOf(QLatin1Char('/'));
    return colon > 0 && (slash < 0 || colon < slash);
}

// A link's file part: no place on the page, no query, percent escapes decoded.
QString linkedFile(const QByteArray& value) {
    QByteArray file = value;
    for (const char mark : {'#', '?'}) {
        const qsizetype at = file.indexOf(mark);
        if (at >= 0) {
            file.truncate(at);
        }
    }
    return QString::fromUtf8(QByteArray::fromPercentEncoding(file.trimmed()));
}

// The questions the built file of test `test` holds, its "inf"/"vsego"; nothing when the file is
// missing or the value is no number.
std::optional<int> questionsOfBuiltTest(const QString& folder, int test) {
    const std::optional<QByteArray> text =
        readWholeFile(matchLetterCase(folder + QStringLiteral("/data/tests/test%1.ini").arg(test)));
    if (!text) {
        return std::nullopt;
    }
    const std::optional<QByteArray> stored = IniText::value(*text, "inf", "vsego");
    if (!stored) {
        return std::nullopt;
    }
    QByteArray plain;
    crypt(*stored, kScrambleKey, plain);
    return integerValue(CodePage::decode(plain));
}

class FolderCheck {
public:
    explicit FolderCheck(const QString& folder) : folder_(QDir(folder).absolutePath()) {}

    std::vector<CourseProblem> run();

private:
    QString key(const QString& relative) const { return relative.toLower(); }
    bool exists(const QString& relative) const { return courseFileExists(folder_, relative); }
    void reach(const QString& relative);
    void scanLinks(const QString& document);
    void reportUnreached();

    QString folder_;
    std::vector<CourseProblem> problems_;
    QSet<QString> reached_;
    std::deque<QString> toScan_;
};

void FolderCheck::reach(const QString& relative) {
    if (!isDocument(relative) || !exists(relative)) {
        return;
    }
    if (!reached_.contains(key(relative))) {
        reached_.insert(key(relative));
        toScan_.push_back(relative);
    }
}

void FolderCheck::scanLinks(const QString& document) {
    QFile file(matchLetterCase(folder_ + QLatin1Char('/') + document));
    if (!file.open(QIODevice::ReadOnly)) {
        problems_.push_back({Severity::Warning, document, {}, file.errorString()});
        return;
    }
    const QByteArray text = file.readAll();
    // The bytes as Latin-1: the attributes are ASCII whatever the page's encoding, and each
    // character stays one byte for the link's own decoding.
    const QString latin = QString::fromLatin1(text);
    static const QRegularExpression attribute(
        QStringLiteral(R"re(\b(?:href|src)\s*=\s*(?:"([^"]*)"|'([^']*)'|([^\s>"']+)))re"),
        QRegularExpression::CaseInsensitiveOption);
    const QString base = QFileInfo(document).path();
    int line = 1;
    qsizetype lineStart = 0;
    qsizetype counted = 0;
    for (auto it = attribute.globalMatch(latin); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        int group = 1;
        while (match.capturedStart(group) < 0) {
            ++group;
        }
        const qsizetype at = match.capturedStart(group);
        for (; counted < at; ++counted) {
            if (latin[counted] == QLatin1Char('\n')) {
                ++line;
                lineStart = counted + 1;
            }
        }
        const QString link = linkedFile(match.captured(group).toLatin1());
        if (isOutsideLink(link)) {
            continue;
        }
        const QString target =
            QDir::cleanPath(base == QStringLiteral(".") ? link : base + QLatin1Char('/') + link);
        if (target.startsWith(QStringLiteral("../")) || target == QStringLiteral("..") ||
            !QFileInfo::exists(matchLetterCase(folder_ + QLatin1Char('/') + target))) {
            problems_.push_back({Severity::Warning,
                                 document,
                                 {line, int(at - lineStart) + 1},
                                 QStringLiteral("ссылка на несуществующий файл «%1»").arg(link)});
            continue;
        }
        reach(target);
    }
}

void FolderCheck::reportUnreached() {
    const QString data = matchLetterCase(folder_ + QStringLiteral("/data"));
    QStringList unreached;
    for (QDirIterator it(data, QDir::Files, QDirIterator::Subdirectories); it.hasNext();) {
        const QString path = it.next();
        const QString relative = QDir(folder_).relativeFilePath(path);
        if (isDocument(relative) && !reached_.contains(key(relative))) {
            unreached.append(relative);
        }
    }
    unreached.sort();
    for (const QString& relative : unreached) {
        problems_.push_back({Severity::Warning,
                             relative,
                             {},
                             QStringLiteral("документ не открывается ни из меню, ни по ссылке")});
    }
}

std::vector<CourseProblem> FolderCheck::run() {
    const QString courseFile = matchLetterCase(folder_ + QLatin1Char('/') + kCourseFileName);
    const bool own = QFileInfo(courseFile).isFile();
    QByteArray text;
    if (own) {
        QFile file(courseFile);
        if (!file.open(QIODevice::ReadOnly)) {
            return {{Severity::Error, QString(kCourseFileName), {}, file.errorString()}};
        }
        text = file.readAll();
    } else {
        text = CourseBook::builtInText();
        problems_.push_back({Severity::Warning,
                             QString(kCourseFileName),
                             {},
                             QStringLiteral("файла нет: папка читается как поставляемый курс")});
    }
    CourseFileReading reading = readCourseFile(
        text, [this](const QString& relative) { return exists(relative); },
        [this](int test) { return questionsOfBuiltTest(folder_, test); });
    for (CourseProblem& problem : reading.problems) {
        if (!own) {
            problem.severity = Severity::Warning;
        }
        problems_.push_back(std::move(problem));
    }
    reach(reading.course.help);
    for (const CourseItem* item : reading.course.items()) {
        reach(item->document);
    }
    while (!toScan_.empty()) {
        const QString document = toScan_.front();
        toScan_.pop_front();
        scanLinks(document);
    }
    reportUnreached();
    return std::move(problems_);
}

} // namespace

std::vector<CourseProblem> checkCourseFolder(const QString& folder) {
    return FolderCheck(folder).run();
}

} // namespace velmora

// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/results/results_settings.h"

#include "core/course/course_book.h"
#include "core/course/course_file_edit.h"
#include "core/storage/failure.h"
#include "core/storage/safe_file.h"

#include <QDir>
#include <QFile>
#include <QUrl>
#include <cerrno>
#include <toml++/toml.h>

namespace velmora {
namespace {

constexpr QFileDevice::Permissions kOwnerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

Failure problem(const QString& text) {
    return Failure(ResultsSettings::fileName() + QStringLiteral(": ") + text);
}

QString stringKey(const toml::table& root, const char* key, bool required) {
    const toml::node* node = root.get(key);
    if (node == nullptr) {
        if (required) {
            throw problem(QStringLiteral("нет ключа «%1»").arg(QLatin1String(key)));
        }
        return {};
    }
    const std::optional<std::string_view> value = node->value<std::string_view>();
    if (!value) {
        throw problem(QStringLiteral("ключ «%1» должен быть строкой").arg(QLatin1String(key)));
    }
    return QString::fromUtf8(value->data(), qsizetype(value->size())).trimmed();
}

// An http or https address with a host.
bool isWebAddress(const QString& text) {
    const QUrl url(text, QUrl::StrictMode);
    return url.isValid() && !url.host().isEmpty() &&
           (url.scheme() == QLatin1String("https") || url.scheme() == QLatin1String("http"));
}

QString withSlash(const QString& endpoint) {
    return endpoint.endsWith(QLatin1Char('/')) ? endpoint : endpoint + QLatin1Char('/');
}

} // namespace

std::optional<ResultsSettings> ResultsSettings::read(const QString& folder,
                                                     const CourseBook& course) {
    const QString path = QDir(folder).filePath(fileName());
    if (!QFile::exists(path)) {
        return std::nullopt;
    }
    int error = 0;
    const std::optional<QByteArray> bytes = readWholeFile(path, &error);
    if (!bytes) {
        throw failures::cannotOpenFile(path, error);
    }
    ResultsSettings settings = parse(*bytes);
    if (settings.courseIri.isEmpty()) {
        settings.courseIri = defaultCourseIri(course);
    }
    return settings;
}

void ResultsSettings::write(const QString& folder, const ResultsSettings& settings,
                            const CourseBook& course) {
    if (!isWebAddress(settings.endpoint)) {
        throw problem(QStringLiteral("адрес «%1» не http или https").arg(settings.endpoint));
    }
    ResultsSettings kept = settings;
    if (kept.courseIri == defaultCourseIri(course)) {
        kept.courseIri.clear();
    }
    const QString path = QDir(folder).filePath(fileName());
    const FileLock lock(path);
    if (!lock.held()) {
        throw failures::cannotCreateFile(path, lock.error());
    }
    // The secret never lies readable by others, not even for a moment: the file is made
    // owner-only before anything is written into it, and its replacement keeps its mode.
    QFile file(path);
    if (!file.exists() && !file.open(QIODevice::WriteOnly)) {
        throw failures::cannotCreateFile(path, EACCES);
    }
    file.close();
    if (!file.setPermissions(kOwnerOnly)) {
        throw failures::cannotCreateFile(path, EPERM);
    }
    if (const int e = writeFileAtomically(path, text(kept)); e != 0) {
        throw failures::cannotCreateFile(path, e);
    }
}

QString ResultsSettings::defaultCourseIri(const CourseBook& course) {
    return QStringLiteral("https://velmora.invalid/courses/") +
           QString::fromLatin1(QUrl::toPercentEncoding(course.id));
}

QByteArray ResultsSettings::text(const ResultsSettings& settings) {
    QByteArray text("# Where the course's results go: a Learning Record Store (xAPI).\n");
    text += "endpoint = " + CourseFileEdit::string(settings.endpoint) + "\n";
    text += "key = " + CourseFileEdit::string(settings.key) + "\n";
    text += "secret = " + CourseFileEdit::string(settings.secret) + "\n";
    if (!settings.courseIri.isEmpty()) {
        text += "course = " + CourseFileEdit::string(settings.courseIri) + "\n";
    }
    return text;
}

ResultsSettings ResultsSettings::parse(const QByteArray& text) {
    toml::table root;
    try {
        root = toml::parse(std::string_view(text.constData(), size_t(text.size())));
    } catch (const toml::parse_error& e) {
        throw problem(
            QStringLiteral("%1:%2: %3")
                .arg(e.source().begin.line)
                .arg(e.source().begin.column)
                .arg(QString::fromUtf8(e.description().data(), qsizetype(e.description().size()))));
    }
    ResultsSettings settings;
    settings.endpoint = stringKey(root, "endpoint", true);
    settings.key = stringKey(root, "key", true);
    settings.secret = stringKey(root, "secret", true);
    settings.courseIri = stringKey(root, "course", false);
    if (!isWebAddress(settings.endpoint)) {
        throw problem(QStringLiteral("адрес «%1» не http или https").arg(settings.endpoint));
    }
    if (!settings.courseIri.isEmpty() && !isWebAddress(settings.courseIri)) {
        throw problem(QStringLiteral("курс «%1» не http или https").arg(settings.courseIri));
    }
    settings.endpoint = withSlash(settings.endpoint);
    return settings;
}

QByteArray ResultsSettings::authorization() const {
    return "Basic " + (key + QLatin1Char(':') + secret).toUtf8().toBase64();
}

QString ResultsSettings::testIri(const QString& testname) const {
    return courseIri + QStringLiteral("/tests/") + testname;
}

} // namespace velmora

// SPDX-License-Identifier: GPL-3.0-or-later
#include "course_package.h"

#include "core/access/admin_settings.h"
#include "core/storage/code_page.h"
#include "core/storage/failure.h"
#include "core/storage/safe_file.h"

#include <QCryptographicHash>
#include <QDate>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QProcess>
#include <QTemporaryDir>
#include <QtEndian>
#include <array>

namespace velmora::admin {
namespace {

constexpr int kToolMilliseconds = 120'000;

// What a course folder holds that is the course rather than a run of it.
bool isCourseFile(const QString& relative) {
    if (relative == u"course.toml") {
        return true;
    }
    const bool inCourse = relative.startsWith(u"data/", Qt::CaseInsensitive) ||
                          relative.startsWith(u"sources/", Qt::CaseInsensitive);
    const QString name = QFileInfo(relative).fileName();
    return inCourse && !name.startsWith(u'.') && !name.endsWith(u".lock");
}

QByteArray xmlText(const QString& text) {
    return text.toHtmlEscaped().toUtf8();
}

// --- zip --------------------------------------------------------------------------------------
// Written here rather than with a library: Qt's zip writer is private to Qt, and libzip and minizip
// have no MinGW build among Debian's packages, while the archive is made on Windows too. The format
// needed is the plain one (deflate from qCompress, CRC-32, one central directory), read back by
// Python's zipfile in the tests.

quint32 crc32(const QByteArray& bytes) {
    static const std::array<quint32, 256> table = [] {
        std::array<quint32, 256> t{};
        for (quint32 n = 0; n < 256; ++n) {
            quint32 c = n;
            for (int k = 0; k < 8; ++k) {
                c = (c & 1U) != 0 ? 0xEDB88320U ^ (c >> 1) : c >> 1;
            }
            t[n] = c;
        }
        return t;
    }();
    quint32 crc = 0xFFFFFFFFU;
    for (const char byte : bytes) {
        crc = table[(crc ^ quint8(byte)) & 0xFFU] ^ (crc >> 8);
    }
    return crc ^ 0xFFFFFFFFU;
}

void put16(QByteArray& out, quint16 value) {
    const quint16 le = qToLittleEndian(value);
    out.append(reinterpret_cast<const char*>(&le), 2);
}

void put32(QByteArray& out, quint32 value) {
    const quint32 le = qToLittleEndian(value);
    out.append(reinterpret_cast<const char*>(&le), 4);
}

// A zip archive of the files, deflated, their names in UTF-8, dated `date`.
QByteArray zipArchive(const QMap<QString, QByteArray>& files, const QDate& date) {
    const auto dosDate = quint16(((date.year() - 1980) << 9) | (date.month() << 5) | date.day());
    QByteArray archive;
    QByteArray directory;
    for (auto file = files.begin(); file != files.end(); ++file) {
        const QByteArray name = file.key().toUtf8();
        const QByteArray& data = file.value();
        // qCompress gives a length and a zlib stream; zip wants the raw deflate inside it.
        const QByteArray compressed = qCompress(data, 9).mid(6).chopped(4);
        const quint32 crc = crc32(data);
        const auto offset = quint32(archive.size());
        const auto header = [&](QByteArray& out, bool central) {
            put32(out, central ? 0x02014b50U : 0x04034b50U);
            if (central) {
                put16(out, (3U << 8) | 20U); // made on Unix, zip 2.0
            }
            put16(out, 20);     // needs zip 2.0
            put16(out, 0x0800); // the name is UTF-8
            put16(out, 8);      // deflated
            put16(out, 0);      // time: midnight
            put16(out, dosDate);
            put32(out, crc);
            put32(out, quint32(compressed.size()));
            put32(out, quint32(data.size()));
            put16(out, quint16(name.size()));
            put16(out, 0); // no extra field
            if (central) {
                put16(out, 0);               // no comment
                put16(out, 0);               // disk
                put16(out, 0);               // internal attributes
                put32(out, 0100644U << 16U); // a plain file, rw-r--r--
                put32(out, offset);
            }
            out += name;
        };
        header(archive, false);
        archive += compressed;
        header(directory, true);
    }
    const auto directoryOffset = quint32(archive.size());
    archive += directory;
    put32(archive, 0x06054b50U);
    put16(archive, 0);
    put16(archive, 0);
    put16(archive, quint16(files.size()));
    put16(archive, quint16(files.size()));
    put32(archive, quint32(directory.size()));
    put32(archive, directoryOffset);
    put16(archive, 0);
    return archive;
}

// --- running a tool ---------------------------------------------------------------------------

QByteArray run(const QString& program, const QStringList& args, const QString& debianPackage,
               const QByteArray& input = QByteArray()) {
    QProcess process;
    process.start(program, args);
    if (!process.waitForStarted()) {
        throw Failure(QStringLiteral("%1 cannot be started (%2); install the Debian package "
                                     "\"%3\"")
                          .arg(program, process.errorString(), debianPackage));
    }
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(kToolMilliseconds) ||
        process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        throw Failure(
            QStringLiteral("%1 failed: %2")
                .arg(program, QString::fromUtf8(process.readAllStandardError()).trimmed()));
    }
    return process.readAllStandardOutput();
}

void writeStaged(const QString& path, const QByteArray& content) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size()) {
        throw Failure(QStringLiteral("cannot write %1: %2").arg(path, file.errorString()));
    }
    file.close();
    file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
}

} // namespace

CoursePackage::CoursePackage(QString folder, CourseBook course)
    : folder_(std::move(folder)), course_(std::move(course)) {}

QString CoursePackage::packageName() const {
    return QStringLiteral("velmora-course-") + course_.id.toLower();
}

QString CoursePackage::appId() const {
    return QStringLiteral("org.velmora.Velmora.Course_") + QString(course_.id).replace(u'-', u'_');
}

QMap<QString, QByteArray> CoursePackage::courseFiles() const {
    QMap<QString, QByteArray> files;
    QDirIterator it(folder_, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString relative = QDir(folder_).relativeFilePath(it.next());
        if (isCourseFile(relative)) {
            int error = 0;
            const std::optional<QByteArray> bytes = readWholeFile(it.filePath(), &error);
            if (!bytes) {
                throw failures::cannotOpenFile(it.filePath(), error);
            }
            files.insert(relative, *bytes);
        }
    }
    // A fresh start: nobody registered, the test log the settings name empty.
    files.insert(QStringLiteral("users"), QByteArray());
    const std::optional<QByteArray> settings =
        readWholeFile(folder_ + QStringLiteral("/data/info/tumb.db"));
    QString log =
        settings
            ? AdminSettings::fromLine(CodePage::decode(settings->split('\n').first()).remove(u'\r'))
                  .reportFile
            : QString();
    log.replace(u'\\', u'/');
    if (log.isEmpty() || log.contains(u"..") || QDir::isAbsolutePath(log)) {
        log = QStringLiteral("report.txt");
    }
    files.insert(log, QByteArray());
    return files;
}

QByteArray CoursePackage::desktopEntry() const {
    const QString icon = course_.titlePage.emblem.endsWith(u".svg", Qt::CaseInsensitive)
                             ? appId()
                             : QStringLiteral("org.velmora.Velmora");
    return "[Desktop Entry]\nType=Application\nName=" + course_.caption.toUtf8() +
           "\nComment=" + course_.titlePage.subject.toUtf8() +
           "\nKeywords=course;lecture;test;\nIcon=" + icon.toUtf8() +
           "\nExec=velmora-launch --course " + course_.id.toUtf8() +
           "\nTerminal=false\nCategories=Education;\nStartupNotify=true\nStartupWMClass=velmora\n";
}

QByteArray CoursePackage::metainfo() const {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<component type=\"desktop-application\">\n  <id>" +
           appId().toUtf8() +
           "</id>\n  <metadata_license>CC0-1.0</metadata_license>\n"
           "  <project_license>LicenseRef-proprietary</project_license>\n  <name>" +
           xmlText(course_.caption) +
           "</name>\n  <summary>Course book: " + xmlText(course_.titlePage.title) +
           "</summary>\n  <description>\n    <p>The lectures and tests of the course " +
           xmlText(course_.titlePage.title) + " (" + xmlText(course_.titlePage.author) +
           "), read and taken in the Velmora course book.</p>\n  </description>\n"
           "  <launchable type=\"desktop-id\">" +
           appId().toUtf8() +
           ".desktop</launchable>\n  <categories>\n    <category>Education</category>\n"
           "  </categories>\n  <content_rating type=\"oars-1.1\"/>\n</component>\n";
}

QByteArray CoursePackage::control(const QString& version, const QString& maintainer,
                                  qint64 installedKilobytes) const {
    return "Package: " + packageName().toUtf8() + "\nVersion: " + version.toUtf8() +
           "\nArchitecture: all\nMaintainer: " + maintainer.toUtf8() +
           "\nInstalled-Size: " + QByteArray::number(installedKilobytes) +
           "\nDepends: velmora\nSection: education\nPriority: optional\nDescription: course book "
           "for Velmora: " +
           course_.id.toUtf8() +
           "\n The lectures, tests and pictures of the course, installed for the Velmora\n"
           " course book with an entry of their own in the applications menu. Each user\n"
           " reads the course and takes its tests in an own copy of it.\n";
}

QByteArray CoursePackage::copyright() const {
    return "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/\n"
           "Upstream-Name: " +
           packageName().toUtf8() +
           "\n\nFiles: *\nCopyright: " + QByteArray::number(QDate::currentDate().year()) + " " +
           (course_.titlePage.author.isEmpty() ? QStringLiteral("the course's author")
                                               : course_.titlePage.author)
               .toUtf8() +
           "\nLicense: other\n The course's texts, pictures and tests belong to their author,"
           "\n who packed them for the students of the course.\n";
}

QByteArray CoursePackage::changelog(const QString& version, const QString& maintainer) const {
    const QString date = QLocale::c().toString(QDateTime::currentDateTimeUtc(),
                                               QStringLiteral("ddd, dd MMM yyyy hh:mm:ss +0000"));
    return packageName().toUtf8() + " (" + version.toUtf8() +
           ") unstable; urgency=medium\n\n  * The course packed by velmora-admin.\n\n -- " +
           maintainer.toUtf8() + "  " + date.toUtf8() + "\n";
}

QString CoursePackage::buildDeb(const QString& outputFolder, const QString& version,
                                const QString& maintainer) const {
    const QTemporaryDir stage;
    if (!stage.isValid()) {
        throw Failure(
            QStringLiteral("cannot make a temporary folder: %1").arg(stage.errorString()));
    }
    QMap<QString, QByteArray> files;
    const QMap<QString, QByteArray> course = courseFiles();
    for (auto file = course.begin(); file != course.end(); ++file) {
        files.insert(QStringLiteral("usr/share/velmora/courses/%1/%2").arg(course_.id, file.key()),
                     file.value());
    }
    files.insert(QStringLiteral("usr/share/applications/%1.desktop").arg(appId()), desktopEntry());
    files.insert(QStringLiteral("usr/share/metainfo/%1.metainfo.xml").arg(appId()), metainfo());
    if (course_.titlePage.emblem.endsWith(u".svg", Qt::CaseInsensitive)) {
        files.insert(QStringLiteral("usr/share/icons/hicolor/scalable/apps/%1.svg").arg(appId()),
                     course.value(course_.titlePage.emblem));
    }
    const QString doc = QStringLiteral("usr/share/doc/") + packageName();
    files.insert(doc + QStringLiteral("/copyright"), copyright());
    // The menu entry runs the program's launcher, which comes with the package this one depends
    // on; lintian looks for it in this package alone.
    files.insert(QStringLiteral("usr/share/lintian/overrides/") + packageName(),
                 "# velmora-launch comes with the package velmora, which this one depends on.\n" +
                     packageName().toUtf8() + ": desktop-command-not-in-package velmora-launch [" +
                     QStringLiteral("usr/share/applications/%1.desktop").arg(appId()).toUtf8() +
                     "]\n");
    files.insert(doc + QStringLiteral("/changelog.gz"),
                 run(QStringLiteral("gzip"), {QStringLiteral("-9n")}, QStringLiteral("gzip"),
                     changelog(version, maintainer)));
    qint64 bytes = 0;
    QByteArray sums;
    for (auto file = files.begin(); file != files.end(); ++file) {
        writeStaged(stage.filePath(file.key()), file.value());
        bytes += file.value().size();
        sums += QCryptographicHash::hash(file.value(), QCryptographicHash::Md5).toHex() + "  " +
                file.key().toUtf8() + "\n";
    }
    writeStaged(stage.filePath(QStringLiteral("DEBIAN/control")),
                control(version, maintainer, (bytes + 1023) / 1024));
    writeStaged(stage.filePath(QStringLiteral("DEBIAN/md5sums")), sums);
    QDirIterator dirs(stage.path(), QDir::Dirs | QDir::NoDotAndDotDot,
                      QDirIterator::Subdirectories);
    while (dirs.hasNext()) {
        QFile::setPermissions(dirs.next(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                               QFile::ReadGroup | QFile::ExeGroup |
                                               QFile::ReadOther | QFile::ExeOther);
    }
    QFile::setPermissions(stage.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                            QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther |
                                            QFile::ExeOther);
    QString deb =
        QDir(outputFolder)
            .absoluteFilePath(QStringLiteral("%1_%2_all.deb").arg(packageName(), version));
    run(QStringLiteral("dpkg-deb"),
        {QStringLiteral("--root-owner-group"), QStringLiteral("--build"), stage.path(), deb},
        QStringLiteral("dpkg"));
    return deb;
}

QString CoursePackage::buildZip(const QString& outputFolder) const {
    QMap<QString, QByteArray> files;
    const QMap<QString, QByteArray> course = courseFiles();
    for (auto file = course.begin(); file != course.end(); ++file) {
        files.insert(course_.id + QLatin1Char('/') + file.key(), file.value());
    }
    QString zip = QDir(outputFolder).absoluteFilePath(course_.id + QStringLiteral(".zip"));
    const FileLock lock(zip);
    if (const int error = writeFileAtomically(zip, zipArchive(files, QDate::currentDate()));
        error != 0) {
        throw failures::cannotCreateFile(zip, error);
    }
    return zip;
}

} // namespace velmora::admin

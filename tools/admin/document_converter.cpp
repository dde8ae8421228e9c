// SPDX-License-Identifier: GPL-3.0-or-later
#include "document_converter.h"

#include "core/storage/failure.h"

#include <QFileInfo>
#include <QProcess>

namespace velmora::admin {
namespace {

// Long enough for a document of hundreds of pages with pictures, short enough that a converter
// that hangs is noticed.
constexpr int kConversionMilliseconds = 120'000;

#ifdef Q_OS_WIN
const QString kInstallPandoc =
    QStringLiteral("install pandoc (https://pandoc.org/installing.html) and start again");
#else
const QString kInstallPandoc =
    QStringLiteral("install the Debian package \"pandoc\" (sudo apt install pandoc)");
#endif

Failure cannotConvert(const QString& source, const QString& reason) {
    return Failure(QStringLiteral("cannot convert %1: %2").arg(source, reason));
}

} // namespace

QString DocumentConverter::program() {
    const QString named = qEnvironmentVariable("VELMORA_PANDOC");
    return named.isEmpty() ? QStringLiteral("pandoc") : named;
}

bool DocumentConverter::isPage(const QString& file) {
    const QString suffix = QFileInfo(file).suffix().toLower();
    return suffix == u"html" || suffix == u"htm";
}

QString DocumentConverter::formatOf(const QString& file) {
    QString suffix = QFileInfo(file).suffix().toLower();
    if (suffix == u"docx" || suffix == u"odt") {
        return suffix;
    }
    if (suffix == u"md" || suffix == u"markdown") {
        return QStringLiteral("markdown");
    }
    return {};
}

QByteArray DocumentConverter::convert(const QString& source, const QString& workFolder,
                                      const QString& mediaFolder) {
    QProcess converter;
    converter.setWorkingDirectory(workFolder);
    converter.start(program(),
                    {QStringLiteral("--from=") + formatOf(source), QStringLiteral("--to=html5"),
                     QStringLiteral("--extract-media=") + mediaFolder,
                     // Pictures a Markdown file links to are found beside it.
                     QStringLiteral("--resource-path=") + QFileInfo(source).absolutePath(),
                     QFileInfo(source).absoluteFilePath()});
    if (!converter.waitForStarted()) {
        throw cannotConvert(source, QStringLiteral("the converter %1 cannot be started (%2); %3")
                                        .arg(program(), converter.errorString(), kInstallPandoc));
    }
    converter.closeWriteChannel();
    if (!converter.waitForFinished(kConversionMilliseconds)) {
        converter.kill();
        converter.waitForFinished();
        throw cannotConvert(source,
                            QStringLiteral("the converter %1 did not finish").arg(program()));
    }
    QByteArray body = converter.readAllStandardOutput();
    if (converter.exitStatus() != QProcess::NormalExit || converter.exitCode() != 0) {
        QString reason = QString::fromUtf8(converter.readAllStandardError()).trimmed();
        if (reason.isEmpty()) {
            reason =
                QStringLiteral("%1 ended with status %2").arg(program()).arg(converter.exitCode());
        }
        throw cannotConvert(source, reason);
    }
    return body;
}

QByteArray DocumentConverter::page(const QByteArray& body, const QString& title,
                                   const QString& styleSheet) {
    QByteArray page("<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n<title>");
    page += title.toHtmlEscaped().toUtf8() + "</title>\n";
    if (!styleSheet.isEmpty()) {
        page += "<link rel=\"stylesheet\" href=\"" + styleSheet.toHtmlEscaped().toUtf8() + "\">\n";
    }
    page += "</head>\n<body>\n" + body;
    if (!body.endsWith('\n')) {
        page += '\n';
    }
    return page + "</body>\n</html>\n";
}

} // namespace velmora::admin

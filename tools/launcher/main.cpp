// SPDX-License-Identifier: GPL-3.0-or-later
// velmora-launch [FOLDER]: starts velmora with FOLDER as its current directory, by default in the
// user's own course folder, which is made from the installed template on first use.
#include "course_folder.h"

#include "core/storage/failure.h"
#include "core/storage/system_reason.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <cerrno>
#include <cstdio>
#include <unistd.h>

namespace {

const char* const usage =
    "Usage: velmora-launch [FOLDER]\n"
    "Starts the Velmora course book with FOLDER as its course folder (its current directory).\n"
    "Without FOLDER it uses your own course folder, $XDG_DATA_HOME/velmora/course\n"
    "(~/.local/share/velmora/course), made from the installed course on first use; an existing\n"
    "folder is never overwritten. A FOLDER given here must already be a course folder (it holds\n"
    "the folder 'data'); copy the installed course, share/velmora/course, to make one.\n";

// The folder holding this program, symbolic links resolved.
QString launcherFolder() {
    return QFileInfo(QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath())
        .absolutePath();
}

QString courseFolder(const QStringList& args) {
    if (!args.isEmpty()) {
        return velmora::launch::checkedCourseFolder(args.first());
    }
    QString folder =
        velmora::launch::userCourseFolder(qEnvironmentVariable("XDG_DATA_HOME"), QDir::homePath());
    velmora::launch::createFromTemplate(velmora::launch::installedTemplate(launcherFolder()),
                                        folder);
    return folder;
}

// Started from the applications menu nobody sees stderr, so a failure is also shown in a box
// when there is a screen to show it on.
void report(const QString& message, int argc, char* argv[]) {
    std::fprintf(stderr, "velmora-launch: %s\n", message.toLocal8Bit().constData());
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    const bool screen = qEnvironmentVariableIsSet("DISPLAY") ||
                        qEnvironmentVariableIsSet("WAYLAND_DISPLAY") || !platform.isEmpty();
    if (!screen || platform.startsWith("offscreen") || platform.startsWith("minimal")) {
        return;
    }
    const QApplication app(argc, argv);
    QMessageBox::critical(nullptr, QStringLiteral("ЭУИ Velmora"), velmora::errorBoxText(message));
}

} // namespace

int main(int argc, char* argv[]) {
    QStringList args;
    for (int i = 1; i < argc; ++i) {
        args.append(QFile::decodeName(argv[i]));
    }
    if (args.contains(QStringLiteral("--help")) || args.contains(QStringLiteral("-h"))) {
        std::fputs(usage, stdout);
        return 0;
    }
    if (args.size() > 1 || (!args.isEmpty() && args.first().startsWith(QLatin1Char('-')))) {
        std::fputs(usage, stderr);
        return 2;
    }
    try {
        const QString folder = courseFolder(args);
        if (!QDir::setCurrent(folder)) {
            throw velmora::Failure(QStringLiteral("cannot enter the course folder %1").arg(folder));
        }
        const QByteArray program = QFile::encodeName(launcherFolder() + QStringLiteral("/velmora"));
        ::execl(program.constData(), "velmora", static_cast<char*>(nullptr));
        throw velmora::Failure(
            QStringLiteral("cannot start %1: %2")
                .arg(QFile::decodeName(program), velmora::failures::systemReason(errno)));
    } catch (const velmora::Failure& failure) {
        report(failure.message(), argc, argv);
        return 1;
    }
}

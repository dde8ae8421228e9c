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
#include <array>
#include <cerrno>
#include <cstdio>

#ifdef Q_OS_WIN
#include <QProcess>
#include <windows.h>
// CommandLineToArgvW
#include <shellapi.h>
#else
#include <unistd.h>
#endif

namespace {

#ifdef Q_OS_WIN
const char* const usage =
    "Usage: velmora-launch [FOLDER]\n"
    "       velmora-launch --course ID\n"
    "       velmora-launch --list\n"
    "Starts the Velmora course book with FOLDER as its course folder (its current directory).\n"
    "Without FOLDER it uses the folder holding this program when that is a course folder, else\n"
    "your own course folder, %APPDATA%\\velmora\\course, made from the installed course on first\n"
    "use; an existing folder is never overwritten. A FOLDER given here must already be a course\n"
    "folder (it holds the folder 'data'); copy the installed course folder 'course' to make one.\n"
    "--course ID starts the course ID installed apart from the program (in the folder\n"
    "'courses') in your own copy of it, %APPDATA%\\velmora\\ID, made on first use.\n"
    "--list names the installed courses, one id a line.\n";
#else
const char* const usage =
    "Usage: velmora-launch [FOLDER]\n"
    "       velmora-launch --course ID\n"
    "       velmora-launch --list\n"
    "Starts the Velmora course book with FOLDER as its course folder (its current directory).\n"
    "Without FOLDER it uses your own course folder, $XDG_DATA_HOME/velmora/course\n"
    "(~/.local/share/velmora/course), made from the installed course on first use; an existing\n"
    "folder is never overwritten. A FOLDER given here must already be a course folder (it holds\n"
    "the folder 'data'); copy the installed course, share/velmora/course, to make one.\n"
    "--course ID starts the course ID installed apart from the program (its package puts it in\n"
    "share/velmora/courses/ID) in your own copy of it, ~/.local/share/velmora/ID, made from the\n"
    "installed one on first use. --list names the installed courses, one id a line.\n";
#endif

// The folder holding this program, symbolic links resolved.
QString launcherFolder() {
#ifdef Q_OS_WIN
    std::array<wchar_t, 32768> path{};
    const DWORD n = ::GetModuleFileNameW(nullptr, path.data(), DWORD(path.size()));
    return QFileInfo(QString::fromWCharArray(path.data(), int(n))).absolutePath();
#else
    return QFileInfo(QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath())
        .absolutePath();
#endif
}

// The user's own copy of the installed course `id`, made on first use.
QString installedCourseFolder(const QString& id) {
    const QString templateFolder =
        velmora::launch::installedCourse(velmora::launch::installedCourses(launcherFolder()), id);
    QString folder =
        velmora::launch::userCourseFolder(qEnvironmentVariable(velmora::launch::userDataVariable()),
                                          QDir::homePath(), velmora::launch::hostLayout, id);
    velmora::launch::createFromTemplate(templateFolder, folder);
    return folder;
}

QString courseFolder(const QStringList& args) {
    if (args.size() == 2) {
        return installedCourseFolder(args[1]);
    }
    if (!args.isEmpty()) {
        return velmora::launch::checkedCourseFolder(args.first());
    }
    if (velmora::launch::isCourseFolder(launcherFolder())) {
        return launcherFolder();
    }
    QString folder = velmora::launch::userCourseFolder(
        qEnvironmentVariable(velmora::launch::userDataVariable()), QDir::homePath());
    velmora::launch::createFromTemplate(velmora::launch::installedTemplate(launcherFolder()),
                                        folder);
    return folder;
}

#ifdef Q_OS_WIN
// Windows has no exec: the program starts as a process of its own, in the course folder.
void start(const QString& folder) {
    const QString program = launcherFolder() + QStringLiteral("/velmora.exe");
    if (!QProcess::startDetached(program, {}, folder)) {
        throw velmora::Failure(QStringLiteral("cannot start %1").arg(program));
    }
}
#else
[[noreturn]] void start(const QString& /*folder: already the current directory*/) {
    const QByteArray program = QFile::encodeName(launcherFolder() + QStringLiteral("/velmora"));
    ::execl(program.constData(), "velmora", static_cast<char*>(nullptr));
    throw velmora::Failure(
        QStringLiteral("cannot start %1: %2")
            .arg(QFile::decodeName(program), velmora::failures::systemReason(errno)));
}
#endif

// Started from the applications menu nobody sees stderr, so a failure is also shown in a box
// when there is a screen to show it on.
void report(const QString& message, int argc, char* argv[]) {
    std::fprintf(stderr, "velmora-launch: %s\n", message.toLocal8Bit().constData());
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
#ifdef Q_OS_WIN
    const bool screen = true;
#else
    const bool screen = qEnvironmentVariableIsSet("DISPLAY") ||
                        qEnvironmentVariableIsSet("WAYLAND_DISPLAY") || !platform.isEmpty();
#endif
    if (!screen || platform.startsWith("offscreen") || platform.startsWith("minimal")) {
        return;
    }
    const QApplication app(argc, argv);
    QMessageBox::critical(nullptr, QStringLiteral("ЭУИ Velmora"), velmora::errorBoxText(message));
}

// The arguments after the program's name. On Windows they are read as the system's wide strings:
// argv holds them in the ANSI code page, which loses letters outside it.
QStringList arguments([[maybe_unused]] int argc, [[maybe_unused]] char* argv[]) {
    QStringList args;
#ifdef Q_OS_WIN
    int n = 0;
    wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &n);
    for (int i = 1; wide != nullptr && i < n; ++i) {
        args.append(QString::fromWCharArray(wide[i]));
    }
    ::LocalFree(wide);
#else
    for (int i = 1; i < argc; ++i) {
        args.append(QFile::decodeName(argv[i]));
    }
#endif
    return args;
}

} // namespace

int main(int argc, char* argv[]) {
    const QStringList args = arguments(argc, argv);
    if (args.contains(QStringLiteral("--help")) || args.contains(QStringLiteral("-h"))) {
        std::fputs(usage, stdout);
        return 0;
    }
    if (args == QStringList{QStringLiteral("--list")}) {
        for (const QString& id : velmora::launch::installedCourseIds(
                 velmora::launch::installedCourses(launcherFolder()))) {
            std::printf("%s\n", id.toLocal8Bit().constData());
        }
        return 0;
    }
    const bool course = args.size() == 2 && args.first() == QStringLiteral("--course") &&
                        !args[1].startsWith(QLatin1Char('-'));
    if ((args.size() > 1 && !course) ||
        (args.size() == 1 && args.first().startsWith(QLatin1Char('-')))) {
        std::fputs(usage, stderr);
        return 2;
    }
    try {
        const QString folder = courseFolder(args);
        if (!QDir::setCurrent(folder)) {
            throw velmora::Failure(QStringLiteral("cannot enter the course folder %1").arg(folder));
        }
        start(folder);
        return 0;
    } catch (const velmora::Failure& failure) {
        report(failure.message(), argc, argv);
        return 1;
    }
}

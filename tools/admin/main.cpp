// SPDX-License-Identifier: GPL-3.0-or-later
#include "admin_command.h"

#include <QCoreApplication>
#include <cstdio>
#include <exception>

#ifdef Q_OS_WIN
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#endif

int main(int argc, char* argv[]) {
    try {
        const QCoreApplication app(argc, argv);
        QTextStream out(stdout);
        QTextStream err(stderr);
#ifdef Q_OS_WIN
        // Windows hands argv over in its ANSI code page; Qt reads the wide command line. The
        // output is UTF-8, as on Linux, and the console is told so.
        ::SetConsoleOutputCP(CP_UTF8);
        // Bytes as written, as on Linux: a text-mode stream would put CR before every LF, also
        // into the CSV output, whose lines end in CR LF already.
        ::_setmode(::_fileno(stdout), _O_BINARY);
        ::_setmode(::_fileno(stderr), _O_BINARY);
        const std::optional<QStringList> args = QCoreApplication::arguments().mid(1);
#else
        const auto args = velmora::admin::terminalArguments(argc, argv, err);
#endif
        const int status = args ? velmora::admin::runAdmin(*args, out, err) : 2;
        out.flush();
        err.flush();
        return status;
    } catch (const std::exception& e) {
        // The commands print their own failures; this is whatever escaped them.
        std::fprintf(stderr, "velmora-admin: %s\n", e.what());
        return 1;
    }
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "admin_command.h"

#include <QCoreApplication>
#include <cstdio>
#include <exception>

int main(int argc, char* argv[]) {
    try {
        const QCoreApplication app(argc, argv);
        QTextStream out(stdout);
        QTextStream err(stderr);
        const auto args = velmora::admin::terminalArguments(argc, argv, err);
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

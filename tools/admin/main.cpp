// SPDX-License-Identifier: GPL-3.0-or-later
#include "admin_command.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char* argv[]) {
    const QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    const auto args = velmora::admin::terminalArguments(argc, argv, err);
    const int status = args ? velmora::admin::runAdmin(*args, out, err) : 2;
    out.flush();
    err.flush();
    return status;
}

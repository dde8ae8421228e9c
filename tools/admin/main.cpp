#include "admin_command.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char* argv[]) {
    const QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    const int status = velmora::admin::runAdmin(QCoreApplication::arguments().mid(1), out, err);
    out.flush();
    err.flush();
    return status;
}

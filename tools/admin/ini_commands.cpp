#include "admin_command.h"
#include "in_folder_of.h"

#include "access/data_path.h"
#include "access/scrambled_store.h"

namespace velmora::admin {
namespace {

int iniGet(const QStringList& a, QTextStream& out, QTextStream& err) {
    const InFolderOf folder(a[0]);
    const QString value = readini(a[1], a[2], folder.relative());
    if (value == missingValue()) {
        err << "velmora-admin: no value for key '" << a[2] << "' in section '" << a[1] << "' of " << a[0] << "\n";
        return 1;
    }
    out << value << "\n";
    return 0;
}

int iniSet(const QStringList& a, QTextStream&, QTextStream&) {
    const InFolderOf folder(a[0]);
    writeini(a[1], a[2], a[3], folder.relative());
    return 0;
}

int iniErase(const QStringList& a, QTextStream&, QTextStream&) {
    const InFolderOf folder(a[0]);
    eraseini(a[1], folder.relative());
    return 0;
}

} // namespace

QList<AdminCommand> iniCommands() {
    return {
        {{QStringLiteral("ini"), QStringLiteral("get")}, QStringLiteral("FILE SECTION KEY"),
         QStringLiteral("print one value of a scrambled INI file, unscrambled"),
         QStringLiteral("Prints the value of KEY in SECTION of the scrambled INI file FILE (the user\n"
                        "register users.ini or a test file). Section and key names match without\n"
                        "regard to letter case. Exits with status 1 when the value is missing."),
         3, iniGet},
        {{QStringLiteral("ini"), QStringLiteral("set")}, QStringLiteral("FILE SECTION KEY VALUE"),
         QStringLiteral("store one value in a scrambled INI file"),
         QStringLiteral("Stores VALUE, scrambled, as KEY in SECTION of FILE. The file, the section and\n"
                        "the key are created when missing; every other line stays as it was. The file\n"
                        "is replaced atomically under its lock, so a running program loses nothing."),
         4, iniSet},
        {{QStringLiteral("ini"), QStringLiteral("erase")}, QStringLiteral("FILE SECTION"),
         QStringLiteral("remove a whole section from an INI file"),
         QStringLiteral("Removes SECTION, its header and all its keys, from FILE. A missing section\n"
                        "or file changes nothing."),
         2, iniErase},
    };
}

} // namespace velmora::admin

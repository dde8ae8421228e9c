// SPDX-License-Identifier: GPL-3.0-or-later
#include "admin_command.h"
#include "in_folder_of.h"

#include "core/storage/code_page.h"
#include "core/storage/data_path.h"
#include "core/storage/failure.h"
#include "core/storage/ini_file.h"
#include "core/storage/ini_text.h"
#include "core/storage/scrambled_store.h"

#include <QFileInfo>
#include <cerrno>

namespace velmora::admin {
namespace {

// The file a command reads: it must exist.
QFileInfo existingFile(const QString& name) {
    const QFileInfo info(openPath(name));
    if (!info.isFile()) {
        throw failures::cannotOpenFile(info.absoluteFilePath(), ENOENT);
    }
    return info;
}

int iniGet(const QStringList& a, QTextStream& out, QTextStream& err) {
    const InFolderOf folder(existingFile(a[0]).absoluteFilePath());
    const QString value = readini(a[1], a[2], folder.relative());
    if (value == missingValue()) {
        err << "velmora-admin: no value for key '" << a[2] << "' in section '" << a[1] << "' of "
            << a[0] << "\n";
        return 1;
    }
    out << value << "\n";
    return 0;
}

int iniSet(const QStringList& a, QTextStream&, QTextStream&) {
    const QFileInfo file(openPath(a[0]));
    if (!file.absoluteDir().exists()) {
        throw failures::unableToWrite(file.absoluteFilePath());
    }
    const InFolderOf folder(file.absoluteFilePath());
    writeini(a[1], a[2], a[3], folder.relative());
    return 0;
}

int iniErase(const QStringList& a, QTextStream&, QTextStream& err) {
    const QFileInfo file = existingFile(a[0]);
    const QByteArray section = CodePage::encode(a[1]);
    bool erased = false;
    IniFile(file.absoluteFilePath()).update([&](QByteArray& text) {
        erased = IniText::eraseSection(text, section);
        return erased;
    });
    if (!erased) {
        err << "velmora-admin: no section '" << a[1] << "' in " << a[0] << "\n";
        return 1;
    }
    return 0;
}

} // namespace

QList<AdminCommand> iniCommands() {
    return {
        {{QStringLiteral("ini"), QStringLiteral("get")},
         QStringLiteral("FILE SECTION KEY"),
         QStringLiteral("print one value of a scrambled INI file, unscrambled"),
         QStringLiteral(
             "Prints the value of KEY in SECTION of the scrambled INI file FILE (the user\n"
             "register users.ini or a test file). Section and key names match without\n"
             "regard to letter case. Exits with status 1 when the file or the value is missing."),
         3,
         iniGet},
        {{QStringLiteral("ini"), QStringLiteral("set")},
         QStringLiteral("FILE SECTION KEY VALUE"),
         QStringLiteral("store one value in a scrambled INI file"),
         QStringLiteral(
             "Stores VALUE, scrambled, as KEY in SECTION of FILE. The file, the section and\n"
             "the key are created when missing; every other line stays as it was. The file\n"
             "is replaced atomically under its lock, so a running program loses nothing."),
         4,
         iniSet},
        {{QStringLiteral("ini"), QStringLiteral("erase")},
         QStringLiteral("FILE SECTION"),
         QStringLiteral("remove a whole section from an INI file"),
         QStringLiteral(
             "Removes SECTION, its header and all its keys, from FILE. A missing section\n"
             "or file changes nothing and exits with status 1."),
         2,
         iniErase},
    };
}

} // namespace velmora::admin

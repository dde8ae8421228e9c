// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/storage/failure.h"
#include "core/storage/save_file.h"
#include "support/temp_folder.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace velmora;
using velmora::test::TempFolder;
using namespace Qt::StringLiterals;

namespace {

// The saver a window uses for a file the user names: the file is replaced whole under its lock;
// one it cannot write fails with the one failure type, naming the file and the system's reason,
// and leaves the folder as it was.
TEST(SaveFile, ReplacesTheFileWholeOrFailsNamingItAndLeavesNothing) {
    const TempFolder folder;
    const QString file = folder.file(u"journal.csv"_s);
    saveFile(file, "first");
    saveFile(file, "second");
    EXPECT_EQ(folder.read(u"journal.csv"_s), "second");

    struct Refused {
        const char* name;
        const char* file;
        const char* reason;
    };
    const Refused refused[] = {
        {"missing folder", "missing/journal.csv", "No such file or directory"},
        {"read-only file", "locked.csv", "Permission denied"},
    };
    folder.write(u"locked.csv"_s, "old");
    QFile::setPermissions(folder.file(u"locked.csv"_s), QFileDevice::ReadOwner);
    for (const Refused& r : refused) {
        SCOPED_TRACE(r.name);
        const QString path = folder.file(QString::fromLatin1(r.file));
        const QStringList before = QDir(folder.path()).entryList(QDir::AllEntries | QDir::Hidden);
        try {
            saveFile(path, "new");
            ADD_FAILURE() << "saved";
        } catch (const Failure& failure) {
            EXPECT_EQ(failure.message(),
                      u"Cannot create file \"%1\". %2"_s.arg(path, QString::fromLatin1(r.reason)));
        }
        EXPECT_EQ(QDir(folder.path()).entryList(QDir::AllEntries | QDir::Hidden), before);
    }
    EXPECT_EQ(folder.read(u"locked.csv"_s), "old");
}

} // namespace

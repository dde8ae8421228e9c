// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/access/admin_settings.h"
#include "core/access/user_list.h"
#include "core/storage/failure.h"
#include "core/storage/ini_text.h"
#include "core/storage/integer_text.h"
#include "core/storage/rename_probe.h"
#include "core/storage/scrambled_store.h"
#include "support/temp_folder.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QThread>
#include <algorithm>
#include <functional>
#include <gtest/gtest.h>
#include <random>
#include <vector>

using namespace velmora;
using velmora::test::TempFolder;

namespace {

const QString kWriter = QStringLiteral(VELMORA_INI_WRITER);
const QString kRegister = QStringLiteral("\\users.ini");

QByteArray scrambledText(const QByteArray& plain) {
    QByteArray out;
    crypt(plain, kScrambleKey, out);
    return out;
}

// A register as the program keeps it: per student a password and twelve grades, all scrambled.
QByteArray studentRegister(int students) {
    QByteArray text;
    for (int s = 0; s < students; ++s) {
        const QByteArray number = QByteArray::number(s);
        text += "[student" + number + "]\r\npassword=" + scrambledText("pw" + number) + "\r\n";
        for (int t = 1; t <= 12; ++t) {
            text += "test" + QByteArray::number(t) + '=' +
                    scrambledText(QByteArray::number((s + t) % 6)) + "\r\n";
        }
    }
    return text;
}

// The register after the counting writer has written `n`.
QByteArray withCount(QByteArray text, qint64 n) {
    IniText::setValue(text, "state", "n", scrambledText(QByteArray::number(n)));
    return text;
}

// Starts the writer in `folder` and waits until it has begun writing.
bool startWriter(QProcess& writer, const QString& folder, const QStringList& args) {
    writer.setWorkingDirectory(folder);
    writer.start(kWriter, args);
    return writer.waitForReadyRead(10000);
}

QStringList entries(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                                  QDir::Name);
}

// Kills a counting writer that started from `n + 1` after `delayUs`; the value it left.
qint64 killWriterAfter(const TempFolder& folder, qint64 n, unsigned long delayUs) {
    QProcess writer;
    if (!startWriter(writer, folder.path(), {QStringLiteral("count"), QString::number(n + 1)})) {
        ADD_FAILURE() << "writer did not start: " << writer.readAllStandardError().toStdString();
        return n;
    }
    QThread::usleep(delayUs);
    writer.kill();
    EXPECT_TRUE(writer.waitForFinished(10000));
    return toInteger(readini(QStringLiteral("state"), QStringLiteral("n"), kRegister));
}

// A writer killed at random moments, most of them inside a rewrite, leaves each time the file
// exactly as one whole write left it, never a torn or empty one, and never a lock that holds up
// the next writer.
TEST(DurableWrites, WriterKilledAtRandomMomentsLeavesAWholeFile) {
    const TempFolder folder;
    const QByteArray students = studentRegister(1500);
    folder.write(QStringLiteral("users.ini"), withCount(students, 0));
    // The kills are spread over about three writes, as long as a write takes on this machine.
    constexpr unsigned long kCalibrationUs = 500000;
    qint64 n = killWriterAfter(folder, 0, kCalibrationUs);
    ASSERT_GT(n, 0) << "no write in half a second";
    const unsigned long writeUs = std::clamp<unsigned long>(kCalibrationUs / n, 500, 50000);
    std::mt19937 random(20240611); // fixed: a failing run can be replayed
    // At least 200 kills, and on until 50 of them came after a whole write: a loaded machine
    // writes slower than the first measure said, so the kill moments spread wider then.
    unsigned long spreadUs = 3 * writeUs;
    int advanced = 0;
    int run = 0;
    for (; run < 1000 && (run < 200 || advanced < 50); ++run) {
        if (run % 100 == 99 && advanced * 4 < run) {
            spreadUs *= 2;
        }
        std::uniform_int_distribution<unsigned long> delayUs(0, spreadUs);
        const qint64 now = killWriterAfter(folder, n, delayUs(random));
        ASSERT_GE(now, n) << "run " << run;
        ASSERT_EQ(folder.read(QStringLiteral("users.ini")), withCount(students, now))
            << "run " << run;
        advanced += now > n ? 1 : 0;
        n = now;
    }
    // Many runs got through some writes before the kill, so the kills fell among the writes.
    EXPECT_GE(advanced, 50) << "after " << run << " kills";
    writeini(QStringLiteral("state"), QStringLiteral("n"), QStringLiteral("done"), kRegister);
    EXPECT_EQ(readini(QStringLiteral("state"), QStringLiteral("n"), kRegister),
              QStringLiteral("done"));
    // The temporary files the kills left went with that last write; no lock file stays either.
    EXPECT_EQ(entries(folder.path()), QStringList{QStringLiteral("users.ini")});
}

// Two processes adding keys to the same section of one file at once lose none of them.
TEST(DurableWrites, TwoWritersLoseNoKey) {
    const TempFolder folder;
    constexpr int kKeys = 1000;
    QProcess first;
    QProcess second;
    ASSERT_TRUE(startWriter(first, folder.path(),
                            {QStringLiteral("keys"), QStringLiteral("a"), QString::number(kKeys)}));
    ASSERT_TRUE(startWriter(second, folder.path(),
                            {QStringLiteral("keys"), QStringLiteral("b"), QString::number(kKeys)}));
    for (QProcess* writer : {&first, &second}) {
        ASSERT_TRUE(writer->waitForFinished(50000));
        EXPECT_EQ(writer->exitCode(), 0) << writer->readAllStandardError().toStdString();
    }
    const QByteArray text = folder.read(QStringLiteral("users.ini"));
    EXPECT_EQ(IniText::keyNames(text, "keys").size(), 2 * kKeys);
    int found = 0;
    for (const char prefix : {'a', 'b'}) {
        for (int i = 0; i < kKeys; ++i) {
            const auto value = IniText::value(text, "keys", prefix + QByteArray::number(i));
            found += value && *value == scrambledText(QByteArray::number(i)) ? 1 : 0;
        }
    }
    EXPECT_EQ(found, 2 * kKeys);
    EXPECT_EQ(entries(folder.path()), QStringList{QStringLiteral("users.ini")});
}

struct Unwritable {
    const char* name;
    const char* relative; // the register's path, as the store is given it
    const char* file;     // the same below the test folder
    std::function<void(const TempFolder&)> prepare;
    std::function<void(const TempFolder&)> restore;
};

void setMode(const QString& path, QFileDevice::Permissions mode) {
    QFile::setPermissions(path, mode);
}

const auto kReadOnly = QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther;
const auto kReadOnlyFolder =
    kReadOnly | QFileDevice::ExeOwner | QFileDevice::ExeGroup | QFileDevice::ExeOther;
const auto kWritable = kReadOnlyFolder | QFileDevice::WriteOwner;

// A file or folder that cannot be written fails with the full path, and nothing on disk changes:
// the file keeps its bytes and no temporary or lock file is left.
TEST(DurableWrites, UnwritableTargetsFailWithTheFullPathAndChangeNothing) {
    const Unwritable cases[] = {
        {"readOnlyFile", "\\users.ini", "users.ini",
         [](const TempFolder& f) { setMode(f.file(QStringLiteral("users.ini")), kReadOnly); },
         [](const TempFolder& f) { setMode(f.file(QStringLiteral("users.ini")), kWritable); }},
        {"readOnlyFolder", "\\locked\\users.ini", "locked/users.ini",
         [](const TempFolder& f) { setMode(f.file(QStringLiteral("locked")), kReadOnlyFolder); },
         [](const TempFolder& f) { setMode(f.file(QStringLiteral("locked")), kWritable); }},
        {"missingFolder", "\\nowhere\\users.ini", "nowhere/users.ini", [](const TempFolder&) {},
         [](const TempFolder&) {}},
    };
    const QByteArray original = "[s]\r\nk=" + scrambledText("old") + "\r\n";
    for (const Unwritable& c : cases) {
        SCOPED_TRACE(c.name);
#ifdef Q_OS_WIN
        if (qstrcmp(c.name, "readOnlyFolder") == 0) {
            continue; // Windows keeps no write bit on folders
        }
#endif
        const TempFolder folder;
        const QString relative = QString::fromLatin1(c.relative);
        const QString full = folder.file(QString::fromLatin1(c.file));
        const bool existing = QString::fromLatin1(c.name) != QStringLiteral("missingFolder");
        if (existing) {
            folder.write(QString::fromLatin1(c.file), original);
        }
        c.prepare(folder);
        const QStringList before = entries(QFileInfo(full).absolutePath());
        const std::function<void()> writes[] = {
            [&] {
                writeini(QStringLiteral("s"), QStringLiteral("k"), QStringLiteral("new"), relative);
            },
            [&] {
                writeini(QStringLiteral("t"), QStringLiteral("k"), QStringLiteral("new"), relative);
            },
            [&] { eraseini(QStringLiteral("s"), relative); },
        };
        for (const auto& write : writes) {
            try {
                write();
                ADD_FAILURE() << "written";
            } catch (const Failure& f) {
                EXPECT_EQ(f.message(), QStringLiteral("Unable to write to %1").arg(full));
            }
        }
        EXPECT_EQ(entries(QFileInfo(full).absolutePath()), before);
        if (existing) {
            EXPECT_EQ(folder.read(QString::fromLatin1(c.file)), original);
            EXPECT_EQ(readini(QStringLiteral("s"), QStringLiteral("k"), relative),
                      QStringLiteral("old"));
        }
        c.restore(folder);
    }
}

// One rewrite of each data file the program replaces whole, by its own code.
struct DataFileWriter {
    const char* file; // below the course folder
    std::function<void()> write;
};

const std::vector<DataFileWriter>& dataFileWriters() {
    static const std::vector<DataFileWriter> writers{
        {"users.ini",
         [] {
             writeini(QStringLiteral("s"), QStringLiteral("k"), QStringLiteral("v"), kRegister);
         }},
        {"users",
         [] { UserList().update([](UserList& list) { list.append(QStringLiteral("Ivan")); }); }},
        {"data/info/tumb.db",
         [] {
             AdminSettings{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}.write();
         }},
    };
    return writers;
}

// Temporary files that killed writers left beside a data file (".name.XXXXXX", six letters or
// digits) go with the next write of that file, by any of its writers; every other entry stays,
// however like one it looks.
TEST(DurableWrites, StaleTemporaryFilesGoWithTheNextWrite) {
    for (const DataFileWriter& w : dataFileWriters()) {
        SCOPED_TRACE(w.file);
        const TempFolder folder;
        const QString file = QString::fromUtf8(w.file);
        const QString dir = QFileInfo(file).path() == QStringLiteral(".")
                                ? QString()
                                : QFileInfo(file).path() + QLatin1Char('/');
        const QString name = QFileInfo(file).fileName();
        const auto stale = [&](const QString& suffix) { return dir + u'.' + name + u'.' + suffix; };
        const QStringList gone{stale(QStringLiteral("AbC123")), stale(QStringLiteral("zz9ZZ0"))};
        const QStringList kept{
            stale(QStringLiteral("12345")),        stale(QStringLiteral("1234567")),
            stale(QStringLiteral("ab-123")),       dir + name + QStringLiteral(".AbC123"),
            dir + QStringLiteral(".other.AbC123"), dir + u'.' + name + QStringLiteral("AbC123"),
        };
        for (const QString& f : gone + kept) {
            folder.write(f, "left by a killed writer");
        }
        QDir().mkpath(stale(QStringLiteral("Folder"))); // a folder of that name is no file of ours
        w.write();
        for (const QString& f : gone) {
            EXPECT_FALSE(QFileInfo::exists(folder.file(f))) << f.toStdString();
        }
        for (const QString& f : kept) {
            EXPECT_EQ(folder.read(f), QByteArray("left by a killed writer")) << f.toStdString();
        }
        EXPECT_TRUE(QFileInfo(folder.file(stale(QStringLiteral("Folder")))).isDir());
        EXPECT_FALSE(folder.read(file).isEmpty());
    }
}

// A killed writer leaves its data in the page cache, so only a power cut shows a rewrite that
// renames before its data is on the disk. Each data file's rewrite syncs its new content once
// before the rename, while the old content still lies under the name.
TEST(DurableWrites, EveryRewriteSyncsItsDataBeforeTheRename) {
    struct Rename {
        QString path;
        int dataSyncs;
        QByteArray underTheName; // what the name still shows at that moment
    };
    for (const DataFileWriter& w : dataFileWriters()) {
        SCOPED_TRACE(w.file);
        const TempFolder folder;
        const QString file = folder.file(QString::fromUtf8(w.file));
        QDir().mkpath(QFileInfo(file).absolutePath());
        folder.write(QString::fromUtf8(w.file), "old\r\n");
        QList<Rename> renames;
        const RenameProbe::Hook before =
            RenameProbe::set([&renames](const QString& path, int dataSyncs) {
                QFile under(path);
                renames.append({QFileInfo(path).canonicalFilePath(), dataSyncs,
                                under.open(QIODevice::ReadOnly) ? under.readAll() : QByteArray()});
            });
        w.write();
        RenameProbe::set(before);
        ASSERT_EQ(renames.size(), 1);
        EXPECT_EQ(renames[0].path, QFileInfo(file).canonicalFilePath());
        EXPECT_EQ(renames[0].dataSyncs, 1);
        EXPECT_EQ(renames[0].underTheName, QByteArray("old\r\n"));
        EXPECT_NE(folder.read(QString::fromUtf8(w.file)), QByteArray("old\r\n"));
    }
}

} // namespace

// SPDX-License-Identifier: GPL-3.0-or-later
// The launcher as the desktop entry runs it: a copy of the built program in an installed layout
// (bin/velmora-launch, share/velmora/course) beside a stand-in velmora that records where and
// how it was started.
#include "support/temp_folder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

using velmora::test::TempFolder;

struct LaunchResult {
    int status = -1;
    QString err;
    QString out;
};

class Launcher : public ::testing::Test {
protected:
    void SetUp() override {
        QDir().mkpath(folder_.file(QStringLiteral("root/bin")));
        ASSERT_TRUE(QFile::copy(QStringLiteral(VELMORA_LAUNCH_PROGRAM),
                                folder_.file(QStringLiteral("root/bin/velmora-launch"))));
        folder_.write(QStringLiteral("root/bin/velmora"),
                      QByteArrayLiteral("#!/bin/sh\nprintf '%s %s %s\\n' \"$(pwd)\" \"$#\" "
                                        "\"$0\" > \"$LAUNCH_RECORD\"\n"));
        QFile::setPermissions(folder_.file(QStringLiteral("root/bin/velmora")),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        folder_.write(QStringLiteral("root/share/velmora/course/data/info/tumb.db"),
                      QByteArrayLiteral("admin|admin|report.txt"));
        folder_.write(QStringLiteral("root/share/velmora/course/users"), QByteArray());
        QDir().mkpath(folder_.file(QStringLiteral("home")));
    }

    LaunchResult launch(const QStringList& args, const QString& xdgDataHome = {}) const {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("HOME"), folder_.file(QStringLiteral("home")));
        env.insert(QStringLiteral("LAUNCH_RECORD"), record());
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.remove(QStringLiteral("XDG_DATA_HOME"));
        if (!xdgDataHome.isEmpty()) {
            env.insert(QStringLiteral("XDG_DATA_HOME"), xdgDataHome);
        }
        QProcess process;
        process.setProcessEnvironment(env);
        process.start(folder_.file(QStringLiteral("root/bin/velmora-launch")), args);
        process.waitForFinished(60000);
        return {process.exitCode(), QString::fromLocal8Bit(process.readAllStandardError()),
                QString::fromLocal8Bit(process.readAllStandardOutput())};
    }

    QString record() const { return folder_.file(QStringLiteral("record")); }
    // "<folder> <argument count> <program path>" as the stand-in wrote it; empty when not run.
    QString started() const {
        return QString::fromUtf8(folder_.read(QStringLiteral("record"))).trimmed();
    }
    // The record of the stand-in beside the launcher started with no arguments in `course`.
    QString startedIn(const QString& course) const {
        return course + QStringLiteral(" 0 ") + folder_.file(QStringLiteral("root/bin/velmora"));
    }

    TempFolder folder_;
};

TEST_F(Launcher, StartsTheProgramInTheUsersNewCourseFolder) {
    const QString xdg = folder_.file(QStringLiteral("xdg"));
    const QString course = xdg + QStringLiteral("/velmora/course");
    const LaunchResult run = launch({}, xdg);
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(started(), startedIn(course));
    EXPECT_EQ(folder_.read(QStringLiteral("xdg/velmora/course/data/info/tumb.db")),
              QByteArrayLiteral("admin|admin|report.txt"));
    EXPECT_TRUE(QFileInfo(course + QStringLiteral("/users")).isFile());
}

TEST_F(Launcher, KeepsTheUsersFolderOnLaterStarts) {
    const QString xdg = folder_.file(QStringLiteral("xdg"));
    ASSERT_EQ(launch({}, xdg).status, 0);
    folder_.write(QStringLiteral("xdg/velmora/course/users"), QByteArrayLiteral("anna\r\n"));
    ASSERT_EQ(launch({}, xdg).status, 0);
    EXPECT_EQ(folder_.read(QStringLiteral("xdg/velmora/course/users")),
              QByteArrayLiteral("anna\r\n"));
}

TEST_F(Launcher, WithoutXdgDataHomeUsesTheHomeFolder) {
    const LaunchResult run = launch({});
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(started(),
              startedIn(folder_.file(QStringLiteral("home/.local/share/velmora/course"))));
}

// A course copied with its programs (a flash drive, a folder on a share): the launcher that sits
// in the course folder starts the program there and makes no folder of the user's.
TEST_F(Launcher, StartsTheProgramInTheCourseFolderItSitsIn) {
    QDir().mkpath(folder_.file(QStringLiteral("root/bin/Data")));
    const LaunchResult run = launch({}, folder_.file(QStringLiteral("xdg")));
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(started(), startedIn(folder_.file(QStringLiteral("root/bin"))));
    EXPECT_FALSE(QFileInfo::exists(folder_.file(QStringLiteral("xdg"))));
}

TEST_F(Launcher, StartsTheProgramInANamedCourseFolderAndMakesNoOther) {
    folder_.write(QStringLiteral("shared/data/info/tumb.db"), QByteArrayLiteral("t|p|log.txt"));
    const LaunchResult run =
        launch({folder_.file(QStringLiteral("shared"))}, folder_.file(QStringLiteral("xdg")));
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(started(), startedIn(folder_.file(QStringLiteral("shared"))));
    EXPECT_FALSE(QFileInfo::exists(folder_.file(QStringLiteral("xdg"))));
}

TEST_F(Launcher, ReportsWhatItCannotDoAndStartsNothing) {
    QDir().mkpath(folder_.file(QStringLiteral("unmounted")));
    const LaunchResult missing = launch({folder_.file(QStringLiteral("unmounted"))});
    EXPECT_EQ(missing.status, 1);
    EXPECT_TRUE(missing.err.contains(QStringLiteral("not a course folder")))
        << missing.err.toStdString();

    QDir(folder_.file(QStringLiteral("root/share"))).removeRecursively();
    const LaunchResult noTemplate = launch({});
    EXPECT_EQ(noTemplate.status, 1);
    EXPECT_TRUE(noTemplate.err.contains(QStringLiteral("reinstall")))
        << noTemplate.err.toStdString();

    const LaunchResult tooMany = launch({QStringLiteral("a"), QStringLiteral("b")});
    EXPECT_EQ(tooMany.status, 2);
    EXPECT_TRUE(tooMany.err.contains(QStringLiteral("Usage: velmora-launch [FOLDER]")));

    EXPECT_EQ(started(), QString());
}

// The words the teachers' guide quotes, after `opening`, in the order quoted, each as a pattern
// ("…" stands for a folder).
QList<QRegularExpression> guideQuotes(const QString& opening) {
    QFile guide(QStringLiteral(VELMORA_SOURCE_ROOT "/docs/teachers.md"));
    if (!guide.open(QIODevice::ReadOnly)) {
        return {};
    }
    const QString text = QString::fromUtf8(guide.readAll()).simplified();
    const qsizetype start = text.indexOf(opening);
    if (start < 0) {
        return {};
    }
    const QString paragraph =
        text.mid(start, text.indexOf(QStringLiteral("Several programs"), start) - start);
    QList<QRegularExpression> quotes;
    static const QRegularExpression quoted(QStringLiteral("\"([^\"]*)\""));
    for (const auto& match : quoted.globalMatch(paragraph)) {
        const QStringList parts = match.captured(1).split(QStringLiteral("…"));
        QStringList escaped;
        for (const QString& part : parts) {
            escaped.append(QRegularExpression::escape(part));
        }
        quotes.append(QRegularExpression(QStringLiteral("^velmora-launch: ") +
                                         escaped.join(QStringLiteral(".+")) +
                                         QStringLiteral("\n$")));
    }
    return quotes;
}

// The guide's share mounted at /srv/velmora: when it is not mounted the course folder is not
// there; a folder that is there without its data (a share mounted at the course folder itself)
// is not a course folder. The guide quotes each case in its own words.
TEST_F(Launcher, SaysWhatTheGuideSaysForAShareThatIsNotMounted) {
    const QList<QRegularExpression> quotes =
        guideQuotes(QStringLiteral("when the share is not mounted"));
    ASSERT_EQ(quotes.size(), 2) << "the guide's two cases are not found";
    QDir().mkpath(folder_.file(QStringLiteral("srv/velmora")));
    const LaunchResult missing = launch({folder_.file(QStringLiteral("srv/velmora/course"))});
    EXPECT_EQ(missing.status, 1);
    EXPECT_TRUE(quotes[0].match(missing.err).hasMatch()) << missing.err.toStdString();
    const LaunchResult empty = launch({folder_.file(QStringLiteral("srv/velmora"))});
    EXPECT_EQ(empty.status, 1);
    EXPECT_TRUE(quotes[1].match(empty.err).hasMatch()) << empty.err.toStdString();
    EXPECT_EQ(started(), QString());
}

TEST_F(Launcher, ReportsAProgramThatCannotStart) {
    QFile::remove(folder_.file(QStringLiteral("root/bin/velmora")));
    const LaunchResult run = launch({}, folder_.file(QStringLiteral("xdg")));
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.err.contains(QStringLiteral("cannot start"))) << run.err.toStdString();
}

TEST_F(Launcher, HelpNamesTheDefaultFolder) {
    const LaunchResult run = launch({QStringLiteral("--help")});
    EXPECT_EQ(run.status, 0);
    EXPECT_TRUE(run.out.contains(QStringLiteral("$XDG_DATA_HOME/velmora/course")));
    EXPECT_EQ(started(), QString());
}

// A course installed by its own package, share/velmora/courses/<id>: started in the user's own
// copy of it, made on first use; the shipped course is left alone.
TEST_F(Launcher, StartsAnInstalledCourseInTheUsersOwnCopy) {
    folder_.write(QStringLiteral("root/share/velmora/courses/algebra/course.toml"), "# algebra\n");
    folder_.write(QStringLiteral("root/share/velmora/courses/algebra/data/info/tumb.db"), "a|b|c");
    folder_.write(QStringLiteral("root/share/velmora/courses/not-a-course/notes"), "x");
    const QString xdg = folder_.file(QStringLiteral("xdg"));

    const LaunchResult list = launch({QStringLiteral("--list")}, xdg);
    EXPECT_EQ(list.status, 0) << list.err.toStdString();
    EXPECT_EQ(list.out, QStringLiteral("algebra\n"));
    EXPECT_EQ(started(), QString());

    const LaunchResult run = launch({QStringLiteral("--course"), QStringLiteral("algebra")}, xdg);
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(started(), startedIn(xdg + QStringLiteral("/velmora/algebra")));
    EXPECT_EQ(folder_.read(QStringLiteral("xdg/velmora/algebra/course.toml")),
              QByteArray("# algebra\n"));
    EXPECT_FALSE(QFileInfo::exists(xdg + QStringLiteral("/velmora/course")));

    QFile::remove(record());
    const LaunchResult missing =
        launch({QStringLiteral("--course"), QStringLiteral("geometry")}, xdg);
    EXPECT_EQ(missing.status, 1);
    EXPECT_TRUE(missing.err.contains(
        QStringLiteral("no course \"geometry\" is installed; installed: algebra")))
        << missing.err.toStdString();
    EXPECT_EQ(started(), QString());
    const LaunchResult bare = launch({QStringLiteral("--course")}, xdg);
    EXPECT_EQ(bare.status, 2);
}

} // namespace

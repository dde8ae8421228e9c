// SPDX-License-Identifier: GPL-3.0-or-later
// velmora-admin course pack: the Debian package and the zip file a lab's machines get.
#include "support/admin_run.h"
#include "support/temp_folder.h"

#include "core/storage/safe_file.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <gtest/gtest.h>

using namespace velmora::test;
using namespace Qt::StringLiterals;

namespace {

struct ToolRun {
    int status = -1;
    QString out;
};

ToolRun runTool(const QString& program, const QStringList& args) {
    QProcess process;
    process.start(program, args);
    if (!process.waitForFinished(120000)) {
        return {};
    }
    return {process.exitCode(),
            QString::fromUtf8(process.readAllStandardOutput() + process.readAllStandardError())};
}

// A course made by `course new` as a teacher has tried it: a student registered, a test taken,
// a lock left behind.
QString triedCourse(const TempFolder& temp) {
    EXPECT_EQ(
        runAdmin({u"course"_s, u"new"_s, u"networks"_s, u"--title"_s, u"Желілер"_s}, temp.path())
            .status,
        0);
    temp.write(u"networks/users"_s, "Асқар\r\n");
    temp.write(u"networks/users.ini"_s, "[Асқар]\r\n");
    temp.write(u"networks/report.txt"_s, "Асқар 5\r\n");
    temp.write(u"networks/data/tests/test1.ini.lock"_s, "");
    return temp.file(u"networks"_s);
}

// The files the package installs under the course's folder, and their sizes: "users 0".
QStringList packedCourse(const QString& listing, const QString& prefix) {
    QStringList files;
    for (const QString& line : listing.split(u'\n', Qt::SkipEmptyParts)) {
        const QStringList fields = line.simplified().split(u' ');
        const QString path = fields.last().mid(1); // "./usr/..." → "/usr/..."
        if (fields.first().startsWith(u'-') && path.startsWith(prefix)) {
            files.append(path.mid(prefix.size()) + u' ' + fields[2]);
        }
    }
    return files;
}

TEST(CoursePack, ADebianPackageOfTheCourseAloneThatLintianPasses) {
    if (QStandardPaths::findExecutable(u"dpkg-deb"_s).isEmpty()) {
        GTEST_SKIP() << "no dpkg-deb on this system";
    }
    const TempFolder temp;
    triedCourse(temp);
    const AdminRun run =
        runAdmin({u"course"_s, u"pack"_s, u"networks"_s, u"--deb"_s, u"--version"_s, u"1.0"_s,
                  u"--maintainer"_s, u"Айгүл Серікова <aigul@college.example>"_s},
                 temp.path());
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    const QString deb = temp.file(u"velmora-course-networks_1.0_all.deb"_s);
    EXPECT_EQ(run.out, deb + u'\n');
    const ToolRun fields =
        runTool(u"dpkg-deb"_s, {u"--field"_s, deb, u"Package"_s, u"Version"_s, u"Architecture"_s,
                                u"Depends"_s, u"Maintainer"_s});
    EXPECT_EQ(fields.out,
              u"Package: velmora-course-networks\nVersion: 1.0\nArchitecture: all\n"
              u"Depends: velmora\nMaintainer: Айгүл Серікова <aigul@college.example>\n"_s);
    const ToolRun listing = runTool(u"dpkg-deb"_s, {u"--contents"_s, deb});
    EXPECT_EQ(packedCourse(listing.out, u"/usr/share/velmora/courses/networks/"_s)
                  .join(u", "_s)
                  .remove(QRegularExpression(u" [1-9][0-9]*"_s)),
              u"course.toml, data/help/index.htm, data/img/cover.svg, data/img/emblem.svg, "
              u"data/img/portrait.svg, data/info/tumb.db, data/lectures/lecture1.html, "
              u"data/style.css, data/tests/test1.ini, report.txt 0, sources/test1.txt, users 0"_s);
    const QString app = u"org.velmora.Velmora.Course_networks"_s;
    for (const QString& file : {u"/usr/share/applications/%1.desktop"_s.arg(app),
                                u"/usr/share/icons/hicolor/scalable/apps/%1.svg"_s.arg(app),
                                u"/usr/share/metainfo/%1.metainfo.xml"_s.arg(app),
                                u"/usr/share/doc/velmora-course-networks/copyright"_s}) {
        EXPECT_TRUE(listing.out.contains(u'.' + file + u'\n')) << file.toStdString();
    }
    const TempFolder unpacked;
    ASSERT_EQ(runTool(u"dpkg-deb"_s, {u"--extract"_s, deb, unpacked.path()}).status, 0);
    const QByteArray entry =
        unpacked.read(u"usr/share/applications/%1.desktop"_s.arg(app)).replace('\n', ';');
    EXPECT_TRUE(entry.contains(";Name=Желілер;")) << entry.toStdString();
    EXPECT_TRUE(entry.contains(";Exec=velmora-launch --course networks;")) << entry.toStdString();
    EXPECT_TRUE(entry.contains(";Icon=" + app.toUtf8() + ";")) << entry.toStdString();
    EXPECT_EQ(unpacked.read(u"usr/share/icons/hicolor/scalable/apps/%1.svg"_s.arg(app)),
              temp.read(u"networks/data/img/emblem.svg"_s));

    if (QStandardPaths::findExecutable(u"lintian"_s).isEmpty()) {
        GTEST_SKIP() << "no lintian on this system";
    }
    const ToolRun lintian = runTool(u"lintian"_s, {deb});
    EXPECT_EQ(lintian.status, 0) << lintian.out.toStdString();
    EXPECT_FALSE(
        lintian.out.contains(QRegularExpression(u"^[EW]: "_s, QRegularExpression::MultilineOption)))
        << lintian.out.toStdString();
}

TEST(CoursePack, AZipOfTheCourseInItsOwnFolder) {
    if (QStandardPaths::findExecutable(u"python3"_s).isEmpty()) {
        GTEST_SKIP() << "no python3 to read the zip file with";
    }
    const TempFolder temp;
    triedCourse(temp);
    QDir(temp.path()).mkpath(u"out"_s);
    const AdminRun run = runAdmin(
        {u"course"_s, u"pack"_s, u"networks"_s, u"--zip"_s, u"--output"_s, u"out"_s}, temp.path());
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    const QString zip = temp.file(u"out/networks.zip"_s);
    EXPECT_EQ(run.out, zip + u'\n');
    const TempFolder unpacked;
    const ToolRun extract =
        runTool(u"python3"_s, {u"-m"_s, u"zipfile"_s, u"-e"_s, zip, unpacked.path()});
    ASSERT_EQ(extract.status, 0) << extract.out.toStdString();
    for (const char* file : {"course.toml", "data/tests/test1.ini", "data/lectures/lecture1.html",
                             "data/img/emblem.svg", "sources/test1.txt"}) {
        EXPECT_EQ(unpacked.read(u"networks/"_s + QString::fromUtf8(file)),
                  temp.read(u"networks/"_s + QString::fromUtf8(file)))
            << file;
    }
    EXPECT_EQ(unpacked.read(u"networks/users"_s), QByteArray());
    EXPECT_EQ(unpacked.read(u"networks/report.txt"_s), QByteArray());
    EXPECT_FALSE(QFileInfo::exists(unpacked.file(u"networks/users.ini"_s)));
    EXPECT_FALSE(QFileInfo::exists(unpacked.file(u"networks/data/tests/test1.ini.lock"_s)));
    // The unpacked course checks as the folder did.
    EXPECT_EQ(runAdmin({u"course"_s, u"check"_s}, unpacked.file(u"networks"_s)).out,
              u"0 errors, 0 warnings\n"_s);
}

TEST(CoursePack, ACourseWithErrorsIsRefusedListingThem) {
    const TempFolder temp;
    const QString course = triedCourse(temp);
    QFile::remove(course + u"/data/lectures/lecture1.html"_s);
    for (const char* kind : {"--deb", "--zip"}) {
        const AdminRun run =
            runAdmin({u"course"_s, u"pack"_s, u"networks"_s, QString::fromUtf8(kind)}, temp.path());
        EXPECT_EQ(run.status, 1) << kind;
        EXPECT_TRUE(run.err.startsWith(u"velmora-admin: the course has errors; mend them and "
                                       u"pack it again:\n  course.toml:"_s))
            << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(u"«data/lectures/lecture1.html»"_s)) << run.err.toStdString();
    }
    EXPECT_EQ(QDir(temp.path()).entryList(QDir::Files), QStringList());
    EXPECT_EQ(runAdmin({u"course"_s, u"pack"_s, u"networks"_s}, temp.path()).status, 2);
    EXPECT_EQ(runAdmin({u"course"_s, u"pack"_s, u"networks"_s, u"--deb"_s, u"--zip"_s}, temp.path())
                  .status,
              2);
}

} // namespace

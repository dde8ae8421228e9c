// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/program/course_state.h"
#include "gui/documents/text_document_view.h"
#include "gui/windows/main_window.h"
#include "support/course_driver.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>
#include <set>

#ifdef VELMORA_HAVE_WEBENGINE
#include "gui/documents/web_document_view.h"

#include <QWebEngineView>
#endif

namespace velmora::test {
namespace {

// The ready course folder of the source tree.
QString courseFolder() {
    return QString::fromLocal8Bit(qgetenv("VELMORA_SOURCE_DIR")) + QStringLiteral("/course");
}

// A path of the course folder: "data/prak/sillabus.htm", or written with backslashes from the
// folder's root ("\\data\\prak\\sillabus.htm").
QString courseFile(const QString& documentPath) {
    QString path = QString(documentPath).replace(QLatin1Char('\\'), QLatin1Char('/'));
    return courseFolder() + (path.startsWith(QLatin1Char('/')) ? path : QLatin1Char('/') + path);
}

QString readText(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return QString::fromUtf8(file.readAll());
}

// Every document a menu item opens, the help included.
QList<OfferedDocument> documentEntries() {
    return CourseState(CourseBook::current()).documents();
}

TEST(CourseFolder, EveryDocumentCommandPointsAtARealPage) {
    const auto documents = documentEntries();
    EXPECT_EQ(documents.size(), 5u + 1u + 9u + 16u + 3u + 4u + 1u);
    const QRegularExpression title(QStringLiteral("<title>([^<]+)</title>"));
    const QRegularExpression heading(QStringLiteral("<h1>"));
    for (const OfferedDocument& entry : documents) {
        const QString path = courseFile(entry.path);
        // The exact name, letter case included, so the folder works on any file system.
        ASSERT_TRUE(QFileInfo::exists(path))
            << entry.name.toStdString() << " " << path.toStdString();
        const QString html = readText(path);
        EXPECT_TRUE(title.match(html).hasMatch()) << path.toStdString();
        EXPECT_TRUE(heading.match(html).hasMatch()) << path.toStdString();
        EXPECT_GT(html.size(), 600) << path.toStdString();
    }
}

TEST(CourseFolder, HelpContentsLinksToEveryDocumentAndOnlyToRealFiles) {
    const QString help = courseFile(CourseBook::current().help);
    const QString html = readText(help);
    ASSERT_FALSE(html.isEmpty());
    const QDir helpDir = QFileInfo(help).dir();
    std::set<QString> linked;
    const QRegularExpression link(QStringLiteral("href=\"([^\"#]+)\""));
    for (auto it = link.globalMatch(html); it.hasNext();) {
        const QString target =
            QFileInfo(helpDir.filePath(it.next().captured(1))).canonicalFilePath();
        EXPECT_FALSE(target.isEmpty()) << "broken link in the help contents";
        linked.insert(target);
    }
    for (const OfferedDocument& entry : documentEntries()) {
        if (entry.path == CourseBook::current().help) {
            continue;
        }
        const QString target = QFileInfo(courseFile(entry.path)).canonicalFilePath();
        EXPECT_TRUE(linked.count(target))
            << "not in the help contents: " << entry.path.toStdString();
    }
}

TEST(CourseFolder, EmptyUserListAndDefaultAdministratorSettings) {
    const QFileInfo users(courseFolder() + QStringLiteral("/users"));
    EXPECT_TRUE(users.exists());
    EXPECT_EQ(users.size(), 0);
    QFile settings(courseFolder() + QStringLiteral("/data/info/tumb.db"));
    ASSERT_TRUE(settings.open(QIODevice::ReadOnly));
    const QByteArray firstLine = settings.readLine();
    EXPECT_TRUE(firstLine.endsWith("\r\n"));
    EXPECT_EQ(firstLine.trimmed().split('|').size(), 3);
}

// The browser of builds without QtWebEngine shows the same pages and keeps a history.
TEST(TextBrowser, ShowsCoursePagesAndGoesBackAndForward) {
    QWidget parent;
    TextDocumentView view(&parent);
    view.navigate(courseFile(QStringLiteral("\\data\\prak\\sillabus.htm")));
    EXPECT_EQ(view.documentTitle(), QStringLiteral("Силлабус"));
    EXPECT_TRUE(view.toPlainText().contains(QStringLiteral("Күнтізбелік жоспар")));
    view.navigate(courseFile(QStringLiteral("\\data\\info\\lig-1.html")));
    EXPECT_EQ(view.documentTitle(), QStringLiteral("1 Кіріспе. Ұйымның Velmora түсінігі."));
    view.back();
    EXPECT_EQ(view.documentTitle(), QStringLiteral("Силлабус"));
    view.forward();
    EXPECT_EQ(view.source().fileName(), QStringLiteral("lig-1.html"));
}

#ifdef VELMORA_HAVE_WEBENGINE
TEST(RealBrowser, SyllabusCommandShowsTheSyllabusPage) {
    const QString previous = QDir::currentPath();
    QDir::setCurrent(courseFolder());
    {
        MainWindow window;
        window.show();
        auto* host = qobject_cast<WebDocumentView*>(findIn<QWidget>(window, "WebBrowser1"));
        ASSERT_NE(host, nullptr);
        auto* browser = qobject_cast<QWebEngineView*>(host->browser());
        ASSERT_NE(browser, nullptr) << "the QtWebEngine module did not load";
        QSignalSpy loaded(browser, &QWebEngineView::loadFinished);
        findIn<QAction>(window, QStringLiteral("N13"))->trigger();
        EXPECT_TRUE(findIn<QFrame>(window, "Panel1")->isVisible());
        // The help page started loading when the window was created; wait for the syllabus.
        EXPECT_TRUE(QTest::qWaitFor(
            [&] {
                return browser->url().fileName() == QStringLiteral("sillabus.htm") &&
                       !loaded.isEmpty() && loaded.last().at(0).toBool();
            },
            60000));
        EXPECT_EQ(browser->title(), QStringLiteral("Силлабус"));
        EXPECT_EQ(browser->url(),
                  QUrl::fromLocalFile(courseFolder() + QStringLiteral("/data/prak/sillabus.htm")));
    }
    QDir::setCurrent(previous);
}
#endif

} // namespace
} // namespace velmora::test

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

#include <QAccessible>
#include <QWebEnginePage>
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
// Every name, value and text of an accessible tree, with the roles met on the way.
struct AccessibleTree {
    QStringList texts;
    QMultiHash<QAccessible::Role, QString> byRole;

    void collect(QAccessibleInterface* node, int depth = 0) {
        if (node == nullptr || !node->isValid() || depth > 200) {
            return;
        }
        for (const auto kind : {QAccessible::Name, QAccessible::Value}) {
            const QString text = node->text(kind).simplified();
            if (!text.isEmpty()) {
                texts.append(text);
                byRole.insert(node->role(), text);
            }
        }
        if (auto* textInterface = node->textInterface()) {
            texts.append(textInterface->text(0, textInterface->characterCount()));
        }
        for (int i = 0; i < node->childCount(); ++i) {
            collect(node->child(i), depth + 1);
        }
    }
};

QStringList wordsOf(const QString& text) {
    static const QRegularExpression separator(QStringLiteral("[^\\w]+"));
    return text.toLower().split(separator, Qt::SkipEmptyParts);
}

// The share of the page's words that the accessible tree holds.
double wordsReachable(const QString& pageText, const AccessibleTree& tree) {
    const QStringList pageWords = wordsOf(pageText);
    const QStringList treeWords = wordsOf(tree.texts.join(QLatin1Char(' ')));
    const QSet<QString> reachable(treeWords.begin(), treeWords.end());
    const auto found = std::count_if(pageWords.begin(), pageWords.end(),
                                     [&](const QString& w) { return reachable.contains(w); });
    return pageWords.isEmpty() ? 0.0
                               : static_cast<double>(found) / static_cast<double>(pageWords.size());
}

// The program's browser on its own, shown, with the pages it opens.
struct BrowserOnItsOwn {
    BrowserOnItsOwn() {
        parent.resize(800, 600);
        parent.show();
    }
    // Opens a page of the course folder and waits until it has loaded: false when it never did.
    bool open(const char* coursePath) {
        const qsizetype before = loaded.size();
        host.navigate(courseFile(QLatin1String(coursePath)));
        return QTest::qWaitFor([&] { return loaded.size() > before; }, 60000);
    }

    QWidget parent;
    WebDocumentView host{&parent};
    QWebEngineView* browser = qobject_cast<QWebEngineView*>(host.browser());
    QSignalSpy loaded{browser, &QWebEngineView::loadFinished};
};

// A screen reader reads a lecture through the browser's accessible tree: nearly every word of the
// page, its headings as headings and its links as links. Run on an X screen (the offscreen platform
// has no accessibility to switch on); the screen reader's arrival is played by switching Qt's
// accessibility on, again while waiting, as the desktop's bridge may switch it off meanwhile.
TEST(RealBrowser, ALectureIsReadThroughTheAccessibleTree) {
    BrowserOnItsOwn shown;
    ASSERT_NE(shown.browser, nullptr) << "the QtWebEngine module did not load";
    ASSERT_TRUE(shown.open("/data/info/lig-1.html"));
    QWebEngineView* browser = shown.browser;
    QString pageText;
    browser->page()->toPlainText([&](const QString& text) { pageText = text; });
    ASSERT_TRUE(QTest::qWaitFor([&] { return !pageText.isEmpty(); }, 10000));
    AccessibleTree tree;
    (void)QTest::qWaitFor(
        [&] {
            QAccessible::setActive(true);
            tree = {};
            tree.collect(QAccessible::queryAccessibleInterface(browser));
            return wordsReachable(pageText, tree) >= 0.95;
        },
        30000);
    EXPECT_GE(wordsReachable(pageText, tree), 0.95)
        << tree.texts.join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(tree.byRole.values(QAccessible::Heading).contains(browser->title()))
        << tree.byRole.values(QAccessible::Heading).join(QLatin1Char('|')).toStdString();
    EXPECT_FALSE(tree.byRole.values(QAccessible::Link).isEmpty());
    QAccessible::setActive(false);
}

// The page's colours as the browser computes them: the text's and the ground's of the body and
// of the first heading.
QString computedColours(QWebEngineView& browser) {
    QVariant result;
    browser.page()->runJavaScript(
        QStringLiteral("(function () { var b = getComputedStyle(document.body);"
                       " var h = getComputedStyle(document.querySelector('h1'));"
                       " return [b.color, b.backgroundColor, h.color].join('|'); })()"),
        [&](const QVariant& value) { result = value; });
    (void)QTest::qWaitFor([&] { return result.isValid(); }, 10000);
    return result.toString();
}

// The high-contrast look overrides the course's style sheet in the browser too, on the page shown
// and on the pages opened later, and gives it back when switched off.
TEST(RealBrowser, TheHighContrastLookOverridesTheCoursesStyle) {
    BrowserOnItsOwn shown;
    ASSERT_NE(shown.browser, nullptr) << "the QtWebEngine module did not load";
    ASSERT_TRUE(shown.open("/data/info/lig-1.html"));
    QWebEngineView* browser = shown.browser;
    const QString own = computedColours(*browser);
    const QString contrast = QStringLiteral("rgb(255, 255, 255)|rgb(0, 0, 0)|rgb(255, 255, 255)");
    ASSERT_NE(own, contrast);

    shown.host.setHighContrast(true);
    EXPECT_TRUE(QTest::qWaitFor([&] { return computedColours(*browser) == contrast; }, 10000));
    ASSERT_TRUE(shown.open("/data/info/lig-2.html"));
    EXPECT_EQ(computedColours(*browser), contrast) << "the next page opens in the look";

    shown.host.setHighContrast(false);
    ASSERT_TRUE(shown.open("/data/info/lig-1.html"));
    EXPECT_EQ(computedColours(*browser), own);
}

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

// SPDX-License-Identifier: GPL-3.0-or-later
// The main window as a screen reader reads it: over the accessibility bus (AT-SPI), by a client in
// another process, on the real browser. Run by tests/support/on-accessibility-bus, which gives the
// program a private session bus and an X screen; elsewhere the cases skip.

#include "core/program/session.h"
#include "gui/documents/document_screen.h"
#include "gui/documents/document_view.h"
#include "gui/windows/course_search_window.h"
#include "support/course_copy.h"
#include "support/course_driver.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#ifdef VELMORA_HAVE_WEBENGINE
#include "gui/documents/web_document_view.h"

#include <QWebEnginePage>
#include <QWebEngineView>

namespace velmora::test {
namespace {

// What the client read of this process over the bus: every text, and the shown focusable nodes
// without a name.
struct ReadOverBus {
    QStringList texts;
    QStringList unnamed;
    QString failure;
};

// Runs the AT-SPI client on this process and waits for it while the window keeps answering the
// client's calls.
ReadOverBus readOverBus() {
    QProcess client;
    client.setProgram(QStringLiteral("/usr/bin/python3"));
    client.setArguments({QStringLiteral(VELMORA_SOURCE_ROOT "/tests/support/read_over_bus.py"),
                         QString::number(QCoreApplication::applicationPid()),
                         QStringLiteral("30")});
    client.start();
    const bool finished =
        QTest::qWaitFor([&] { return client.state() == QProcess::NotRunning; }, 120'000);
    ReadOverBus read;
    if (!finished) {
        client.kill();
        client.waitForFinished(5000);
        read.failure = QStringLiteral("the client did not finish in 2 minutes");
        return read;
    }
    const QByteArray errors = client.readAllStandardError();
    if (client.exitStatus() != QProcess::NormalExit || client.exitCode() != 0) {
        read.failure = QStringLiteral("the client failed (%1): %2")
                           .arg(client.exitCode())
                           .arg(QString::fromUtf8(errors));
        return read;
    }
    const QJsonObject answer = QJsonDocument::fromJson(client.readAllStandardOutput()).object();
    const QJsonArray texts = answer.value(QStringLiteral("texts")).toArray();
    for (const auto& text : texts) {
        read.texts.append(text.toString().simplified());
    }
    const QJsonArray unnamed = answer.value(QStringLiteral("unnamed")).toArray();
    for (const auto& node : unnamed) {
        read.unnamed.append(node.toString());
    }
    return read;
}

QStringList wordsOf(const QString& text) {
    static const QRegularExpression separator(QStringLiteral("[^\\w]+"));
    return text.toLower().split(separator, Qt::SkipEmptyParts);
}

// The share of the words of `page` that the texts read over the bus hold.
double wordsReachable(const QString& page, const QStringList& texts) {
    const QStringList pageWords = wordsOf(page);
    const QStringList busWords = wordsOf(texts.join(QLatin1Char(' ')));
    const QSet<QString> reachable(busWords.begin(), busWords.end());
    const auto found = std::count_if(pageWords.begin(), pageWords.end(),
                                     [&](const QString& w) { return reachable.contains(w); });
    return pageWords.isEmpty() ? 0.0
                               : static_cast<double>(found) / static_cast<double>(pageWords.size());
}

class ScreenReader : public ::testing::Test {
protected:
    void SetUp() override {
        if (qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS") ||
            qgetenv("QT_QPA_PLATFORM") != "xcb") {
            GTEST_SKIP() << "needs a session bus and an X screen: run it through "
                            "tests/support/on-accessibility-bus";
        }
        copyFolder(QString::fromLocal8Bit(qgetenv("VELMORA_SOURCE_DIR")) +
                       QStringLiteral("/course"),
                   folder.path());
        course.create(createDocumentView);
        course.start();
    }

    QWebEngineView* browser() const {
        auto* host = qobject_cast<WebDocumentView*>(course.find<QWidget>("WebBrowser1"));
        return host == nullptr ? nullptr : qobject_cast<QWebEngineView*>(host->browser());
    }
    // Chooses the menu item of a document and waits until its page has loaded.
    bool openDocument(const char* item, const QString& fileName) const {
        QWebEngineView* view = browser();
        QSignalSpy loaded(view, &QWebEngineView::loadFinished);
        course.choose(item);
        return QTest::qWaitFor(
            [&] { return view->url().fileName() == fileName && !loaded.isEmpty(); }, 60'000);
    }
    QString pageText() const {
        QString text;
        browser()->page()->toPlainText([&](const QString& plain) { text = plain; });
        (void)QTest::qWaitFor([&] { return !text.isEmpty(); }, 10'000);
        return text;
    }

    TempFolder folder;
    CourseDriver course{folder};
};

// A student signs in, reads lecture 1, finds a word in it, takes test 1 and searches the course:
// at each step the client reads every control's name, and the lecture's words, the find count, the
// question number and the search's count of results.
TEST_F(ScreenReader, ReadsTheLectureTheControlsAndTheChangingFiguresOverTheBus) {
    ReadOverBus read = readOverBus();
    ASSERT_TRUE(read.failure.isEmpty()) << read.failure.toStdString();
    EXPECT_EQ(read.unnamed, QStringList()) << "sign-in screen";
    EXPECT_TRUE(read.texts.contains(QStringLiteral("Әрі қарай>>")));

    course.registerStudent(QStringLiteral("Айгүл"), QStringLiteral("pw"));
    course.signIn(QStringLiteral("Айгүл"), QStringLiteral("pw"));
    ASSERT_TRUE(course.session().signedIn) << course.boxTexts().join(u'|').toStdString();
    ASSERT_NE(browser(), nullptr) << "the QtWebEngine module did not load";
    ASSERT_TRUE(openDocument("n1", QStringLiteral("lig-1.html")));
    const QString page = pageText();
    ASSERT_FALSE(page.isEmpty());
    // The browser builds the page's tree when asked for it, so the first reading may come early.
    double share = 0;
    const bool reached = QTest::qWaitFor(
        [&] {
            read = readOverBus();
            share = wordsReachable(page, read.texts);
            return !read.failure.isEmpty() || share >= 0.95;
        },
        90'000);
    ASSERT_TRUE(read.failure.isEmpty()) << read.failure.toStdString();
    EXPECT_TRUE(reached) << "words of the lecture reachable: " << share;
    EXPECT_EQ(read.unnamed, QStringList()) << "document screen";

    course.find<DocumentScreen>("documentScreen")->openFindBar(wordsOf(page).value(3));
    // The browser counts the matches on its own time.
    const QLabel* countLabel = course.find<QLabel>("findCount");
    ASSERT_TRUE(QTest::qWaitFor([&] { return countLabel->text().contains(QStringLiteral(" из ")); },
                                10'000))
        << countLabel->text().toStdString();
    const QString count = countLabel->text();
    read = readOverBus();
    ASSERT_TRUE(read.failure.isEmpty()) << read.failure.toStdString();
    EXPECT_TRUE(read.texts.contains(count)) << read.texts.join(u'|').toStdString();
    EXPECT_EQ(read.unnamed, QStringList()) << "find bar";

    course.startTest(1);
    read = readOverBus();
    ASSERT_TRUE(read.failure.isEmpty()) << read.failure.toStdString();
    const auto numbers =
        read.texts.filter(QRegularExpression(QStringLiteral("^Вопрос 1 из \\d+$")));
    EXPECT_EQ(numbers.size(), 1) << read.texts.join(u'|').toStdString();
    EXPECT_EQ(read.unnamed, QStringList()) << "test screen";

    course.answer(answerPositions(1));
    ASSERT_EQ(course.screenInFront(), 2) << course.boxTexts().join(u'|').toStdString();
    read = readOverBus();
    ASSERT_TRUE(read.failure.isEmpty()) << read.failure.toStdString();
    EXPECT_EQ(read.unnamed, QStringList()) << "progress screen";

    // The search window, a window of its own, with its count of results.
    course.choose("NSearch");
    auto* search = course.find<CourseSearchWindow>("courseSearch");
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return search->status()->text() != QStringLiteral("Индекс строится..."); }, 30'000));
    search->queryBox()->setText(wordsOf(page).value(3));
    search->refresh();
    const QString found = search->status()->text();
    ASSERT_TRUE(found.startsWith(QStringLiteral("Найдено: "))) << found.toStdString();
    read = readOverBus();
    ASSERT_TRUE(read.failure.isEmpty()) << read.failure.toStdString();
    EXPECT_TRUE(read.texts.contains(found)) << read.texts.join(u'|').toStdString();
    EXPECT_EQ(read.unnamed, QStringList()) << "search window";
}

} // namespace
} // namespace velmora::test
#endif

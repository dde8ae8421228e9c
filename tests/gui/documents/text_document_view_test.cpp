// SPDX-License-Identifier: GPL-3.0-or-later
// The plain browser on the document screen: it finds, follows only the links it is let follow,
// zooms and prints as the screen asks.

#include "gui/documents/document_screen.h"
#include "gui/documents/find_bar.h"
#include "gui/documents/text_document_view.h"
#include "gui/kit/message_boxes.h"
#include "gui/kit/print_dialogs.h"
#include "support/temp_folder.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>
#include <QUrl>
#include <gtest/gtest.h>

namespace velmora::test {
namespace {

class TextView : public ::testing::Test {
protected:
    TextView() {
        folder.write(QStringLiteral("a.html"),
                     "<html><body><p>Ақпарат пен АҚПАРАТТЫҚ жүйе.</p>"
                     "<a href='locked.html'>locked</a> <a href='open.html'>open</a>"
                     " <a href='#end'>end</a><p id='end'>ақпарат</p></body></html>");
        folder.write(QStringLiteral("locked.html"), "<p>locked page</p>");
        folder.write(QStringLiteral("open.html"), "<p>open page</p>");
        screen.setNavigationGuard([this](const QUrl& url) {
            asked << QFileInfo(url.toLocalFile()).fileName();
            return !url.toLocalFile().endsWith(QStringLiteral("locked.html"));
        });
        screen.resize(600, 400);
        screen.show();
        view->navigate(file("a.html"));
    }
    QString file(const char* name) const {
        return QDir(folder.path()).filePath(QLatin1String(name));
    }

    TempFolder folder;
    QWidget parent;
    TextDocumentView* view = new TextDocumentView(&parent);
    DocumentScreen screen{view, &parent};
    QStringList asked;
};

TEST_F(TextView, FindsEveryMatchLetterCaseIgnoredAndStepsThroughThem) {
    screen.openFindBar(QStringLiteral("ақпарат"));
    EXPECT_EQ(screen.findBar()->count()->text(), QStringLiteral("1 из 3"));
    EXPECT_EQ(view->extraSelections().size(), 3);
    screen.findPrevious();
    EXPECT_EQ(screen.findBar()->count()->text(), QStringLiteral("3 из 3"));
    EXPECT_EQ(view->textCursor().selectedText(), QStringLiteral("ақпарат"));
    screen.closeFindBar();
    EXPECT_TRUE(view->extraSelections().isEmpty());
}

TEST_F(TextView, FollowsOnlyTheLinksItIsLetFollowAndNeverAsksForItsOwn) {
    EXPECT_TRUE(asked.isEmpty()); // the program's own navigation
    view->setSource(QUrl::fromLocalFile(file("locked.html")));
    EXPECT_EQ(view->source(), QUrl::fromLocalFile(file("a.html")));
    view->setSource(QUrl::fromLocalFile(file("a.html")).resolved(QUrl(QStringLiteral("#end"))));
    EXPECT_EQ(asked, QStringList{QStringLiteral("locked.html")}); // an anchor is not asked for
    view->setSource(QUrl::fromLocalFile(file("open.html")));
    EXPECT_EQ(view->source(), QUrl::fromLocalFile(file("open.html")));
}

TEST_F(TextView, PrintsThePageToTheFileTheDialogNames) {
    PrintDialogs::setHeadless(true);
    PrintDialogs::setNextAnswer(file("page.pdf"));
    screen.printDocument();
    PrintDialogs::setHeadless(false);
    EXPECT_GT(QFileInfo(file("page.pdf")).size(), 0);
}

// The browser's answer that nothing was printed is shown in the default error box.
TEST_F(TextView, APrintThatFailsShowsInTheErrorBox) {
    PrintDialogs::setHeadless(true);
    PrintDialogs::setNextAnswer(file("missing/page.pdf"));
    MessageBoxes::clearShown();
    screen.printDocument();
    PrintDialogs::setHeadless(false);
    ASSERT_EQ(MessageBoxes::shown().size(), 1);
    EXPECT_EQ(MessageBoxes::shown()[0].kind, MessageBoxes::Kind::Error);
    EXPECT_EQ(MessageBoxes::shown()[0].text,
              QStringLiteral("Unable to write to %1.").arg(file("missing/page.pdf")));
}

// A page's SVG picture is shown: drawn from the SVG where Qt's SVG module is built, else from its
// PNG twin beside it (Windows), which is twice the picture's size.
TEST_F(TextView, ShowsAPagesSvgPicture) {
    folder.write(QStringLiteral("img/dot.svg"),
                 "<svg xmlns='http://www.w3.org/2000/svg' width='20' height='10'>"
                 "<rect width='20' height='10' fill='#204080'/></svg>");
    QImage twin(40, 20, QImage::Format_ARGB32);
    twin.fill(QColor(0x20, 0x40, 0x80));
    ASSERT_TRUE(twin.save(file("img/dot.svg.png")));
    folder.write(QStringLiteral("pic.html"),
                 "<p>before <img src='img/dot.svg' width='20' height='10'> after</p>");
    view->navigate(file("pic.html"));
    const QVariant resource = view->document()->resource(QTextDocument::ImageResource,
                                                         QUrl(QStringLiteral("img/dot.svg")));
    // QTextBrowser hands the file's bytes over; the twin comes as an image of its own.
    const QImage shown = resource.typeId() == QMetaType::QByteArray
                             ? QImage::fromData(resource.toByteArray())
                             : resource.value<QImage>();
    ASSERT_FALSE(shown.isNull()) << resource.typeName();
    EXPECT_EQ(shown.pixelColor(shown.width() / 2, shown.height() / 2), QColor(0x20, 0x40, 0x80));
    EXPECT_EQ(shown.deviceIndependentSize().toSize(), QSize(20, 10));
}

} // namespace
} // namespace velmora::test

namespace velmora::test {
namespace {

// The colour of every piece of text of the page shown, with whether it is a link.
QList<std::pair<QColor, bool>> inkOf(const QTextDocument& page) {
    QList<std::pair<QColor, bool>> inks;
    for (QTextBlock block = page.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            inks.append({format.foreground().color(), format.isAnchor()});
        }
    }
    return inks;
}

// In the high-contrast look the course's own colours give way: text white, links cyan, grounds
// black, on this page and the next; switched off, the page is as the course styles it again.
TEST(TextViewContrast, TheCoursesColoursGiveWayAndComeBack) {
    TempFolder folder;
    folder.write(QStringLiteral("styled.html"),
                 "<html><head><style>h1 { color: #808080; background: #f0f0f0 }"
                 " td { background: #ffffe0 }</style></head><body><h1>Тақырып</h1>"
                 "<p style='color: #303030'>Мәтін <a href='next.html'>келесі</a></p>"
                 "<table><tr><td>ұяшық</td></tr></table></body></html>");
    folder.write(QStringLiteral("next.html"), "<p><font color='#444444'>екінші бет</font></p>");
    QWidget parent;
    auto* view = new TextDocumentView(&parent);
    const auto path = [&](const char* name) {
        return QDir(folder.path()).filePath(QLatin1String(name));
    };
    view->navigate(path("styled.html"));
    const auto own = inkOf(*view->document());

    view->setHighContrast(true);
    for (const QString& page : {QStringLiteral("styled.html"), QStringLiteral("next.html")}) {
        if (page == QStringLiteral("next.html")) {
            view->navigate(QDir(folder.path()).filePath(page));
        }
        for (const auto& [ink, link] : inkOf(*view->document())) {
            EXPECT_EQ(ink, link ? QColor(Qt::cyan) : QColor(Qt::white)) << page.toStdString();
        }
        for (QTextBlock block = view->document()->begin(); block.isValid(); block = block.next()) {
            EXPECT_EQ(block.blockFormat().background().color(), QColor(Qt::black));
        }
    }
    view->navigate(path("styled.html"));
    auto* table = qobject_cast<QTextTable*>(view->document()->rootFrame()->childFrames().value(0));
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->cellAt(0, 0).format().background().color(), QColor(Qt::black));

    view->setHighContrast(false);
    EXPECT_EQ(inkOf(*view->document()), own);
}

} // namespace
} // namespace velmora::test

// SPDX-License-Identifier: GPL-3.0-or-later
// Hidden windows leave text measuring and picture drawing to their first showing, and the windows
// made at start-up build their controls once the title page is shown, so that the title page is
// the only window whose fonts and pictures are loaded before it appears.

#include "core/program/course_state.h"
#include "gui/kit/first_show.h"
#include "gui/kit/program_style.h"
#include "gui/kit/svg_icon.h"
#include "gui/screens/sign_in_screen.h"
#include "gui/windows/main_window.h"
#include "gui/windows/program_windows.h"
#include "gui/windows/scrambling_tool.h"
#include "support/course_driver.h"
#include "support/recording_document_view.h"
#include "support/temp_folder.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScreen>
#include <QStyleFactory>
#include <QTest>
#include <gtest/gtest.h>

namespace velmora::test {
namespace {

TEST(FirstShow, WorkWaitsForTheFirstShowAndRunsOnceInOrder) {
    QWidget window;
    auto* child = new QWidget(&window);
    QStringList done;
    onFirstShow(child, [&] { done << QStringLiteral("size"); });
    onFirstShow(child, [&] { done << QStringLiteral("then picture"); });
    EXPECT_TRUE(done.isEmpty());

    window.show();
    EXPECT_EQ(done, (QStringList{QStringLiteral("size"), QStringLiteral("then picture")}));

    child->hide();
    child->show();
    window.hide();
    window.show();
    EXPECT_EQ(done.size(), 2);
}

TEST(FirstShow, RunsAtOnceForAVisibleWidget) {
    QWidget window;
    window.show();
    int runs = 0;
    onFirstShow(&window, [&] { ++runs; });
    EXPECT_EQ(runs, 1);
}

TEST(FirstShow, AChildOfAHiddenScreenWaitsForTheScreen) {
    QWidget window;
    auto* screen = new QWidget(&window);
    screen->hide();
    auto* label = new QLabel(QStringLiteral("Қолданушы"), screen);
    onFirstShow(label, [label] { label->adjustSize(); });
    window.show();
    EXPECT_EQ(label->size(), QSize(100, 30)); // Qt's size for a child never sized
    screen->show();
    EXPECT_EQ(label->size(), label->sizeHint());
}

QRgb centre(const QPixmap& pixmap) {
    const QImage image = pixmap.toImage();
    return image.pixel(image.width() / 2, image.height() / 2);
}

TEST(SvgIcon, DrawsTheResourceAtTheSizeAsked) {
    const QIcon icon = svgIcon(QStringLiteral(":/icons/back.svg"));
    ASSERT_FALSE(icon.isNull());
    for (const int side : {16, 40, 177}) {
        const QPixmap pixmap = icon.pixmap(QSize(side, side));
        EXPECT_EQ(pixmap.size(), QSize(side, side));
        // The arrow's white bar crosses the middle of the blue disc.
        EXPECT_GT(QColor(centre(pixmap)).lightness(), 200) << side;
        EXPECT_EQ(QColor(pixmap.toImage().pixel(side * 3 / 16, side / 2)).hue(),
                  QColor(0x19, 0x76, 0xd2).hue())
            << side;
    }
    const QImage corner = icon.pixmap(QSize(16, 16)).toImage();
    EXPECT_EQ(qAlpha(corner.pixel(0, 0)), 0); // outside the disc: transparent
}

TEST(SvgIcon, DrawsSharplyOnDenseScreensAndGreysDisabledItems) {
    const QIcon icon = svgIcon(QStringLiteral(":/icons/back.svg"));
    const QPixmap dense = icon.pixmap(QSize(16, 16), 2.0);
    EXPECT_EQ(dense.size(), QSize(32, 32));
    EXPECT_EQ(dense.devicePixelRatio(), 2.0);

    const QImage normal = icon.pixmap(QSize(16, 16)).toImage();
    const QImage disabled = icon.pixmap(QSize(16, 16), QIcon::Disabled).toImage();
    const QColor disc = normal.pixelColor(3, 8);
    const QColor grey = disabled.pixelColor(3, 8);
    EXPECT_GT(disc.saturation(), 100);
    EXPECT_LT(grey.saturation(), disc.saturation());
}

TEST(SvgIcon, AMissingResourceIsANullIcon) {
    EXPECT_TRUE(svgIcon(QStringLiteral(":/icons/no-such-picture.svg")).isNull());
    EXPECT_TRUE(renderSvg(QStringLiteral(":/icons/no-such-picture.svg"), {16, 16}).isNull());
    EXPECT_TRUE(renderSvg(QStringLiteral(":/icons/back.svg"), {0, 16}).isNull());
}

TEST(ProgramStyleTest, TheMenuBarsMoreButtonShowsOurPictureOtherIconsAreTheStyles) {
    const ProgramStyle style;
    const QImage more =
        style.standardIcon(QStyle::SP_ToolBarHorizontalExtensionButton).pixmap(16, 16).toImage();
    EXPECT_EQ(more, svgIcon(QStringLiteral(":/icons/more.svg")).pixmap(16, 16).toImage());

    const std::unique_ptr<QStyle> base(QStyleFactory::create(QApplication::style()->name()));
    ASSERT_NE(base, nullptr);
    EXPECT_EQ(style.standardIcon(QStyle::SP_DialogOkButton).pixmap(16, 16).toImage(),
              base->standardIcon(QStyle::SP_DialogOkButton).pixmap(16, 16).toImage());
}

// Image-format and icon-engine plugins mapped into this process.
QStringList loadedPicturePlugins() {
    QFile maps(QStringLiteral("/proc/self/maps"));
    QStringList found;
    if (!maps.open(QIODevice::ReadOnly)) {
        return found;
    }
    for (const QByteArray& line : maps.readAll().split('\n')) {
        if (line.contains("/plugins/imageformats/") || line.contains("/plugins/iconengines/")) {
            found << QString::fromLocal8Bit(line.mid(line.lastIndexOf(' ') + 1));
        }
    }
    found.removeDuplicates();
    return found;
}

TEST(StartUpCost, CreatingTheWindowsLoadsNoPicturePlugin) {
    if (!QFile::exists(QStringLiteral("/proc/self/maps"))) {
        GTEST_SKIP() << "no /proc/self/maps to read the loaded libraries from";
    }
    if (!loadedPicturePlugins().isEmpty()) {
        GTEST_SKIP() << "an earlier test in this process loaded picture plugins; run it alone";
    }
    const QString previous = QApplication::style()->name();
    QApplication::setStyle(new ProgramStyle);
    {
        TempFolder folder;
        const ProgramWindows windows{RecordingDocumentView::factory()};
        EXPECT_EQ(loadedPicturePlugins().join(QLatin1Char(' ')).toStdString(), "");
        // The main window's screens wait for the title page; built, they measure no label yet.
        EXPECT_EQ(windows.mainWindow().findChild<QLabel*>(), nullptr);
        windows.mainWindow().buildControls();
        const auto* title = windows.mainWindow().findChild<QLabel*>();
        ASSERT_NE(title, nullptr);
        EXPECT_EQ(title->size(), QSize(100, 30));
    }
    QApplication::setStyle(QStyleFactory::create(previous));
}

// Records how often the work had run when each of its paintings ended.
class PaintRecorder : public QWidget {
public:
    explicit PaintRecorder(const int& runs) : runs_(runs) {}
    QList<int> runsAtPaint;

protected:
    void paintEvent(QPaintEvent*) override { runsAtPaint << runs_; }

private:
    const int& runs_;
};

TEST(AfterFirstPaint, WorkRunsOnceFromTheEventLoopAfterTheFirstPaint) {
    int runs = 0;
    PaintRecorder window(runs);
    window.resize(120, 80);
    afterFirstPaint(&window, [&] { ++runs; });
    QCoreApplication::processEvents();
    EXPECT_EQ(runs, 0); // not shown, not painted

    window.show();
    EXPECT_TRUE(QTest::qWaitFor([&] { return runs > 0; }, 2000));
    ASSERT_FALSE(window.runsAtPaint.isEmpty());
    EXPECT_EQ(window.runsAtPaint.first(), 0); // the first painting was not held up by the work
    window.repaint();
    QCoreApplication::processEvents();
    EXPECT_EQ(runs, 1);
}

TEST(StartUpCost, ControlsBuiltLaterAreBuiltAndShownWithTheMainWindow) {
    TempFolder folder;
    MainWindow window(RecordingDocumentView::factory(), nullptr, ControlsBuilt::Later);
    EXPECT_EQ(window.findChild<QPlainTextEdit*>(QStringLiteral("Memo2")), nullptr);
    EXPECT_EQ(window.findChild<SignInScreen*>(QStringLiteral("signInScreen")), nullptr);
    // The menu and the document screen are there from the start.
    EXPECT_NE(findIn<QAction>(window, QStringLiteral("N8")), nullptr);
    EXPECT_NE(window.findChild<QWidget*>(QStringLiteral("WebBrowser1")), nullptr);

    window.show();
    EXPECT_TRUE(findIn<SignInScreen>(window, "signInScreen")->isVisible());
    EXPECT_TRUE(findIn<QFrame>(window, "Panel4")->isVisible());
    EXPECT_EQ(stateOf(window).menuState(), MenuState::BeforeSignIn);
    findIn<QFrame>(window, "Panel6")->show();
    EXPECT_TRUE(findIn<QPlainTextEdit>(window, "Memo2")->isVisible());

    window.buildControls(); // a second call builds nothing more
    EXPECT_EQ(window.findChildren<QPlainTextEdit*>(QStringLiteral("Memo2")).size(), 1);
    EXPECT_EQ(window.findChildren<SignInScreen*>().size(), 1);
}

TEST(StartUpCost, TheScramblingToolBuildsItsControlsLaterWhenAsked) {
    TempFolder folder;
    ScramblingTool tool(nullptr, ControlsBuilt::Later);
    EXPECT_EQ(tool.findChild<QLineEdit*>(QStringLiteral("Edit9")), nullptr);
    tool.show();
    const auto* edit9 = tool.findChild<QLineEdit*>(QStringLiteral("Edit9"));
    ASSERT_NE(edit9, nullptr);
    EXPECT_TRUE(edit9->isVisible());
    EXPECT_EQ(edit9->text(), QStringLiteral("Введите название теста (Test1-Test10)"));
    tool.buildControls();
    EXPECT_EQ(tool.findChildren<QLineEdit*>(QStringLiteral("Edit9")).size(), 1);
}

TEST(StartUpCost, TheMainWindowIsCentredWhenFirstShown) {
#ifdef Q_OS_WIN
    GTEST_SKIP() << "Wine's windows have no frame without a window manager to centre";
#endif
    TempFolder folder;
    MainWindow window(RecordingDocumentView::factory());
    window.show();
    const QRect available = window.screen()->availableGeometry();
    // Centred but for the frame's border, which is not known before the window is shown.
    EXPECT_LE((window.frameGeometry().center() - available.center()).manhattanLength(), 4);
}

} // namespace
} // namespace velmora::test

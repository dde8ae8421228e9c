// SPDX-License-Identifier: GPL-3.0-or-later
// The widget-tree dump and the golden-file comparison the layout tests rely on.

#include "support/temp_folder.h"
#include "support/widget_tree.h"

#include <QDialog>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

namespace velmora::test {
namespace {

TEST(WidgetTreeDump, ListsWhatTheUserSeesAndLeavesOutQtHelpersAndOtherWindows) {
    QWidget root;
    root.setObjectName(QStringLiteral("root"));
    root.resize(200, 100);
    auto* label = new QLabel(QStringLiteral("Сәлем\nәлем"), &root);
    label->setObjectName(QStringLiteral("greeting"));
    label->setGeometry(10, 20, 30, 12);
    QPalette blue = label->palette();
    blue.setColor(QPalette::WindowText, Qt::blue);
    label->setPalette(blue);
    auto* button = new QPushButton(QStringLiteral("Кнопка"), &root);
    button->setGeometry(150, 80, 80, 30);
    button->setEnabled(false);
    (new QWidget(&root))->setObjectName(QStringLiteral("qt_helper"));
    (new QDialog(&root))->setObjectName(QStringLiteral("childWindow"));
    auto* hidden = new QLabel(&root);
    hidden->setObjectName(QStringLiteral("later"));
    hidden->hide();
    root.show();

    const QStringList lines = dumpWidgetTree(&root).split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 5) << dumpWidgetTree(&root).toStdString(); // 4 widgets, final newline
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("QWidget \"root\" "))) << lines[0].toStdString();
    EXPECT_TRUE(lines[1].startsWith(QStringLiteral("  QLabel \"greeting\" 10,20 30×12 text-cut(")))
        << lines[1].toStdString();
    EXPECT_TRUE(lines[1].endsWith(QStringLiteral("text=\"Сәлем\\nәлем\" fg=#0000FF")))
        << lines[1].toStdString();
    EXPECT_TRUE(lines[2].contains(QStringLiteral(" disabled ")) &&
                lines[2].contains(QStringLiteral("outside-parent")))
        << lines[2].toStdString();
    EXPECT_TRUE(lines[3].startsWith(QStringLiteral("  QLabel \"later\" ")) &&
                lines[3].contains(QStringLiteral(" hidden")))
        << lines[3].toStdString();
}

TEST(WidgetTreeDump, AMenuBarListsItsActionsNestedUnderTheirMenus) {
    QMenuBar bar;
    QMenu* menu = bar.addMenu(QStringLiteral("Файл"));
    menu->menuAction()->setObjectName(QStringLiteral("file"));
    QAction* open = menu->addAction(QStringLiteral("Ашу"));
    open->setObjectName(QStringLiteral("open"));
    open->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    open->setCheckable(true);
    QAction* gone = bar.addAction(QStringLiteral("Жоқ"));
    gone->setObjectName(QStringLiteral("gone"));
    gone->setVisible(false);

    const QStringList lines = dumpWidgetTree(&bar).split(QLatin1Char('\n'));
    EXPECT_EQ(lines.mid(1, 3).join(QLatin1Char('\n')).toStdString(),
              "  action \"file\" \"Файл\" menu\n"
              "    action \"open\" \"Ашу\" shortcut=Ctrl+O unchecked\n"
              "  action \"gone\" \"Жоқ\" hidden");
}

// The golden files are looked up in the source tree named by VELMORA_SOURCE_DIR; these cases put
// theirs in a temporary folder and restore the variables afterwards.
class GoldenFileTest : public ::testing::Test {
protected:
    GoldenFileTest()
        : sourceDir_(qgetenv("VELMORA_SOURCE_DIR")), update_(qgetenv("VELMORA_UPDATE_GOLDEN")) {
        qputenv("VELMORA_SOURCE_DIR", folder.path().toLocal8Bit());
        qunsetenv("VELMORA_UPDATE_GOLDEN");
    }
    void SetUp() override {
#ifdef Q_OS_WIN
        GTEST_SKIP() << "the golden dumps are compared on Linux only";
#endif
    }
    ~GoldenFileTest() override {
        qputenv("VELMORA_SOURCE_DIR", sourceDir_);
        if (update_.isNull()) {
            qunsetenv("VELMORA_UPDATE_GOLDEN");
        } else {
            qputenv("VELMORA_UPDATE_GOLDEN", update_);
        }
    }

    TempFolder folder;

private:
    QByteArray sourceDir_;
    QByteArray update_;
};

TEST_F(GoldenFileTest, AMismatchFailsWithTheDifferingLines) {
    folder.write(QStringLiteral("tests/golden/g.txt"), "a\nb\nc\nd\n");
    EXPECT_NONFATAL_FAILURE(
        expectMatchesGolden(QStringLiteral("g"), QStringLiteral("a\nb\nX\nd\n")),
        "@@ -1,4 +1,4 @@\n a\n b\n-c\n+X\n d");
    expectMatchesGolden(QStringLiteral("g"), QStringLiteral("a\nb\nc\nd\n"));
}

TEST_F(GoldenFileTest, AMissingFileFailsAndSaysHowToMakeIt) {
    EXPECT_NONFATAL_FAILURE(expectMatchesGolden(QStringLiteral("none"), QStringLiteral("x\n")),
                            "VELMORA_UPDATE_GOLDEN=1");
}

TEST_F(GoldenFileTest, UpdateModeRewritesTheFile) {
    qputenv("VELMORA_UPDATE_GOLDEN", "1");
    expectMatchesGolden(QStringLiteral("new"), QStringLiteral("line\n"));
    EXPECT_EQ(folder.read(QStringLiteral("tests/golden/new.txt")), QByteArray("line\n"));
}

} // namespace
} // namespace velmora::test

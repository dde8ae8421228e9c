// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/documents/document_view.h"
#include "gui/kit/message_boxes.h"

#include <QApplication>
#include <QStandardPaths>
#include <gtest/gtest.h>

// One main for every test program: a QApplication on the offscreen platform, message boxes
// answered from the test seam.
int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
#ifndef Q_OS_WIN
    // On Windows (under Wine, which hands no QT_ variable to a program) the offscreen platform
    // finds no fonts; the tests run on the windows platform, under Xvfb.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
#endif
    if (qEnvironmentVariableIsEmpty("VELMORA_SOURCE_DIR")) {
        qputenv("VELMORA_SOURCE_DIR", VELMORA_SOURCE_TREE);
    }
    velmora::prepareDocumentViews();
    QApplication app(argc, argv);
    // Caches (the course's search index) go to a test folder, not the user's.
    QStandardPaths::setTestModeEnabled(true);
    velmora::MessageBoxes::setHeadless(true);
    return RUN_ALL_TESTS();
}

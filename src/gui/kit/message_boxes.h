// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QMessageBox>
#include <QString>
#include <memory>

class QWidget;

namespace velmora {

// The application's title: the caption of the default error box.
QString applicationTitle();

// All message boxes of the program pass through here. Tests switch the boxes to answering from a
// queue of next answers and read back what would have been shown, so dialogs never block a
// headless run.
class MessageBoxes {
public:
    enum class Kind { Error, Information, Warning, Question };
    enum class Answer { Ok, Cancel };

    struct Shown {
        Kind kind;
        QString caption;
        QString text;
    };

    // The error box of refused input: caption "Error", error icon, one "OK".
    static void error(QWidget* parent, const QString& text);
    // The information box: caption "Information", information icon, one "OK".
    static void information(QWidget* parent, const QString& text);
    // The warning box with "OK" and "Cancel"; Esc and the close box answer Cancel.
    static Answer warningOkCancel(QWidget* parent, const QString& text);
    // The question box: caption "Question", question icon, "Да" (Ok) and "Нет" (Cancel); Esc and
    // the close box answer "Нет".
    static Answer questionYesNo(QWidget* parent, const QString& text);
    // A warning to take note of: caption "Warning", warning icon, one "OK".
    static void warning(QWidget* parent, const QString& text);
    // The default error box of failures: the application's title as caption, error icon, "OK".
    static void failure(QWidget* parent, const QString& message);

    // Test seam: while enabled, nothing is shown; answers come from the queue (Ok when empty).
    static void setHeadless(bool headless);
    static void setNextAnswer(Answer answer);
    static const QList<Shown>& shown();
    static void clearShown();
    // A box as it would be shown, not yet shown, whatever the seam: for looking at its layout.
    static std::unique_ptr<QMessageBox> makeBox(QWidget* parent, Kind kind, const QString& caption,
                                                const QString& text, bool withCancel);

private:
    static Answer show(QWidget* parent, Kind kind, const QString& caption, const QString& text,
                       bool withCancel);
};

} // namespace velmora

// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/kit/message_boxes.h"

#include "core/storage/failure.h"

#include <QPushButton>

namespace velmora {
namespace {

struct SeamState {
    bool headless = false;
    QList<MessageBoxes::Answer> answers;
    QList<MessageBoxes::Shown> shown;
};

SeamState& seam() {
    static SeamState state;
    return state;
}

QMessageBox::Icon iconOf(MessageBoxes::Kind kind) {
    switch (kind) {
    case MessageBoxes::Kind::Error:
        return QMessageBox::Critical;
    case MessageBoxes::Kind::Information:
        return QMessageBox::Information;
    case MessageBoxes::Kind::Warning:
        return QMessageBox::Warning;
    case MessageBoxes::Kind::Question:
        return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

} // namespace

MessageBoxes::Answer MessageBoxes::show(QWidget* parent, Kind kind, const QString& caption,
                                        const QString& text, bool withCancel) {
    SeamState& s = seam();
    if (s.headless) {
        s.shown.append({kind, caption, text});
        return s.answers.isEmpty() ? Answer::Ok : s.answers.takeFirst();
    }
    const std::unique_ptr<QMessageBox> box = makeBox(parent, kind, caption, text, withCancel);
    box->exec();
    return box->clickedButton() == box->defaultButton() ? Answer::Ok : Answer::Cancel;
}

std::unique_ptr<QMessageBox> MessageBoxes::makeBox(QWidget* parent, Kind kind,
                                                   const QString& caption, const QString& text,
                                                   bool withCancel) {
    auto box =
        std::make_unique<QMessageBox>(iconOf(kind), caption, text, QMessageBox::NoButton, parent);
    // Messages carry names, file paths and question texts as they were typed: never markup.
    box->setTextFormat(Qt::PlainText);
    const bool yesNo = kind == Kind::Question;
    QPushButton* ok = box->addButton(yesNo ? QStringLiteral("Да") : QStringLiteral("OK"),
                                     QMessageBox::AcceptRole);
    box->setDefaultButton(ok);
    if (withCancel) {
        box->setEscapeButton(box->addButton(
            yesNo ? QStringLiteral("Нет") : QStringLiteral("Cancel"), QMessageBox::RejectRole));
    } else {
        box->setEscapeButton(ok);
    }
    return box;
}

void MessageBoxes::error(QWidget* parent, const QString& text) {
    show(parent, Kind::Error, QStringLiteral("Error"), text, false);
}

void MessageBoxes::information(QWidget* parent, const QString& text) {
    show(parent, Kind::Information, QStringLiteral("Information"), text, false);
}

MessageBoxes::Answer MessageBoxes::warningOkCancel(QWidget* parent, const QString& text) {
    return show(parent, Kind::Warning, QStringLiteral("Warning"), text, true);
}

MessageBoxes::Answer MessageBoxes::questionYesNo(QWidget* parent, const QString& text) {
    return show(parent, Kind::Question, QStringLiteral("Question"), text, true);
}

void MessageBoxes::warning(QWidget* parent, const QString& text) {
    show(parent, Kind::Warning, QStringLiteral("Warning"), text, false);
}

void MessageBoxes::failure(QWidget* parent, const QString& message) {
    show(parent, Kind::Error, applicationTitle(), errorBoxText(message), false);
}

QString applicationTitle() {
    return QStringLiteral("ЭУИ Velmora");
}

void MessageBoxes::setHeadless(bool headless) {
    seam().headless = headless;
    seam().answers.clear();
}

void MessageBoxes::setNextAnswer(Answer answer) {
    seam().answers.append(answer);
}

const QList<MessageBoxes::Shown>& MessageBoxes::shown() {
    return seam().shown;
}

void MessageBoxes::clearShown() {
    seam().shown.clear();
}

} // namespace velmora

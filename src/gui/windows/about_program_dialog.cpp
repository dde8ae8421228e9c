// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/windows/about_program_dialog.h"

#include "gui/kit/picture.h"
#include "gui/kit/ui_font.h"
#include "gui/windows/course_title.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>

namespace velmora {

AboutProgramDialog::AboutProgramDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("OKRightDlg"));
    setWindowTitle(QStringLiteral("Бағдарлама туралы"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(792, 274);
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, QColor(0xA6, 0xCA, 0xF0));
    setPalette(p);

    const CourseTitle course = CourseTitle::current();
    addPicture(this, course.cover, QRect(0, 32, 185, 177),
               QStringLiteral("Электронды құралдың мұқабасы"));
    auto* bevel = new QFrame(this);
    bevel->setFrameStyle(QFrame::Box | QFrame::Sunken);
    bevel->setGeometry(0, 32, 185, 177);

    const QFont arial = pixelFont(QStringLiteral("Arial"), 19, true);
    addLabel(this, QStringLiteral("Label1"), QStringLiteral("Осы электронды құрал"), arial,
             {224, 24});
    addLabel(this, QStringLiteral("Label2"), course.subject, arial, {224, 56});
    addLabel(this, QStringLiteral("Label3"),
             course.programmeCode + QStringLiteral(" - ") + course.speciality, arial, {216, 88});
    QLabel* place = addLabel(this, QStringLiteral("Label5"), course.placeAndYear,
                             pixelFont(QStringLiteral("MS Sans Serif"), 13, true), {232, 208});
    place->setStyleSheet(QStringLiteral("color: black"));

    okBtn_ = new QPushButton(QStringLiteral("Закрыть"), this);
    okBtn_->setObjectName(QStringLiteral("OKBtn"));
    okBtn_->setAccessibleName(QStringLiteral("Закрыть"));
    okBtn_->setFont(pixelFont(QStringLiteral("MS Sans Serif"), 13, true));
    okBtn_->setGeometry(268, 232, 75, 25);
    okBtn_->setDefault(true);
    okBtn_->setAutoDefault(true);
    connect(okBtn_, &QPushButton::clicked, this, &QDialog::accept);
}

void AboutProgramDialog::showAboutProgram() {
    setWindowTitle(QStringLiteral("О программе"));
    okBtn_->setFocus();
    exec();
}

} // namespace velmora

// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/windows/title_page.h"

#include "gui/kit/picture.h"
#include "gui/kit/svg_icon.h"
#include "gui/kit/ui_font.h"
#include "gui/windows/course_title.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QTimer>

namespace velmora {

TitlePage::TitlePage(QWidget* shownOnClose, QWidget* parent)
    : QDialog(parent), shownOnClose_(shownOnClose), timer1_(new QTimer(this)) {
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("Титульный лист"));
    setWindowIcon(svgIcon(QStringLiteral(":/icons/app.svg")));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(612, 655);
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, QColor(0x00, 0x80, 0x80));
    setPalette(p);

    const CourseTitle course = CourseTitle::current();
    const QString times = QStringLiteral("Times New Roman");
    addLabel(this, QStringLiteral("Label1"), course.institution, pixelFont(times, 19, true),
             {16, 8});
    addLabel(this, QStringLiteral("Label2"), course.department, pixelFont(times, 19, true),
             {184, 32});
    addPicture(this, course.emblem, QRect(216, 64, 177, 177), course.emblemText);
    addLabel(this, QStringLiteral("Label3"), course.kind, pixelFont(times, 27, true, true),
             {120, 256});
    QLabel* title = addLabel(this, QStringLiteral("Label4"), course.title,
                             pixelFont(times, 35, true, true), {164, 298});
    title->setStyleSheet(QStringLiteral("color: #00FF00"));
    addLabel(this, QStringLiteral("Label5"),
             QStringLiteral("Құрастырған: %1 %2").arg(course.post, course.author),
             pixelFont(times, 19), {184, 352});
    addLabel(this, QStringLiteral("Label6"),
             course.programmeCode + QLatin1Char('-') + course.speciality, pixelFont(times, 19),
             {72, 440});
    addLabel(this, QStringLiteral("Label7"), course.placeAndYear, pixelFont(times, 19), {250, 608});

    timer1_->setObjectName(QStringLiteral("Timer1"));
    timer1_->setInterval(3000);
    connect(timer1_, &QTimer::timeout, this, &QDialog::close);
    timer1_->start();
}

void TitlePage::closeEvent(QCloseEvent* event) {
    showNextWindow();
    QDialog::closeEvent(event);
}

void TitlePage::showNextWindow() {
    // The page closes once; a later tick finds it closed and changes nothing.
    timer1_->stop();
    if (shownOnClose_ != nullptr) {
        shownOnClose_->show();
    }
}

void TitlePage::keyPressEvent(QKeyEvent* event) {
    // Esc does not close the title page: only its close box and its timer do.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace velmora

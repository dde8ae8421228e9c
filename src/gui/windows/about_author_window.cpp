// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/windows/about_author_window.h"

#include "gui/kit/picture.h"
#include "gui/kit/ui_font.h"
#include "gui/windows/course_title.h"

#include <QLabel>

namespace velmora {

AboutAuthorWindow::AboutAuthorWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("Form5"));
    setWindowTitle(QStringLiteral("Об авторе"));
    // Outer 424 × 475 at 289, 245 on a desktop with 8-pixel borders and a 22-pixel caption.
    resize(408, 437);
    move(289, 245);
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, QColor(0xB9, 0xD1, 0xEA));
    setPalette(p);

    const CourseTitle course = CourseTitle::current();
    addPicture(this, course.portrait, QRect(40, 8, 297, 281), QStringLiteral("Автордың суреті"));
    addLabel(this, QStringLiteral("Label1"),
             QStringLiteral("Құрастырушы:\n%1\n%2 %3")
                 .arg(course.department, course.post, course.author),
             pixelFont(QStringLiteral("Arial"), 16, true), {48, 312});
    addLabel(this, QStringLiteral("Label2"), course.placeAndYear,
             pixelFont(QStringLiteral("MS Sans Serif"), 13, true), {104, 392});
}

void AboutAuthorWindow::showInFront() {
    if (isMinimized()) {
        showNormal();
    } else {
        show();
    }
    raise();
    activateWindow();
}

} // namespace velmora

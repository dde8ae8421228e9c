// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/screens/progress_screen.h"

#include "core/course/course_book.h"
#include "gui/kit/first_show.h"
#include "gui/kit/ui_font.h"
#include "gui/screens/user_list_box.h"

#include <QLabel>
#include <QToolButton>
#include <algorithm>

namespace velmora {
namespace {

const QString kTimes = QStringLiteral("Times New Roman");
const QString kSans = QStringLiteral("MS Sans Serif");

QFont boldFont(const QString& family, int pixels) {
    return pixelFont(family, pixels, true);
}

QLabel* label(QWidget* parent, const QString& name, const QString& text, QPoint at,
              const QFont& font, const QColor& color = Qt::black) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    l->setTextFormat(Qt::PlainText); // the user's name among them, as it was typed
    l->setFont(font);
    QPalette p = l->palette();
    p.setColor(QPalette::WindowText, color);
    l->setPalette(p);
    l->move(at);
    onFirstShow(l, [l] { l->adjustSize(); });
    return l;
}

// The rows of the shown tests: 36 pixels apart from the top of 82, closer when there are more of
// them than the screen holds so, the last one at the top of 700 at most.
constexpr int kFirstTop = 82;
constexpr int kRowStep = 36;
constexpr int kLastTop = 700;

int rowTop(int test, int shownTests) {
    const int step =
        shownTests <= 1 ? kRowStep : std::min(kRowStep, (kLastTop - kFirstTop) / (shownTests - 1));
    return kFirstTop + step * (test - 1);
}

// The design's names of the twelve tests' labels ("Label6" … "Label17" and "Label18" …
// "Label29"); further tests get names of their own.
constexpr int kDesignTests = 12;

QString testLabelName(int test) {
    return test <= kDesignTests ? QStringLiteral("Label%1").arg(5 + test)
                                : QStringLiteral("TestLabel%1").arg(test);
}

QString gradeLabelName(int test) {
    return test <= kDesignTests ? QStringLiteral("Label%1").arg(17 + test)
                                : QStringLiteral("GradeLabel%1").arg(test);
}

} // namespace

ProgressScreen::ProgressScreen(QWidget* parent) : ProgressScreen(CourseBook::current(), parent) {}

ProgressScreen::ProgressScreen(const CourseBook& course, QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("ProgressScreen"));
    QPalette p = palette();
    p.setColor(QPalette::Window, background());
    setPalette(p);
    setAutoFillBackground(true);
    build(course.shownTests, course.gradeSlots);
}

QColor ProgressScreen::background() {
    return {0x00, 0x80, 0x80};
}

void ProgressScreen::build(int shownTests, int gradeSlots) {
    const QFont title = boldFont(kTimes, 19);
    const QFont row = boldFont(kTimes, 21);
    const QFont head = boldFont(kSans, 13);
    label(this, QStringLiteral("Label3"), QStringLiteral("Информация об успеваемости пользователя"),
          {257, 10}, title);
    label(this, QStringLiteral("Label4"), QStringLiteral("Выберите имя пользователя:"), {145, 36},
          title);
    nameLabel_ = label(this, QStringLiteral("Label5"), QString(), {406, 38}, title);
    nameLabel_->setAccessibleName(QStringLiteral("Имя пользователя"));
    nameLabel_->setAccessibleDescription(nameLabel_->accessibleName());
    label(this, QStringLiteral("Label40"), QStringLiteral("№ Теста (Темы)"), {48, 64}, head,
          Qt::white);
    label(this, QStringLiteral("Label41"), QStringLiteral("Оценка"), {200, 64}, head, Qt::white);
    values_.resize(static_cast<size_t>(std::max(shownTests, gradeSlots)));
    for (int n = 1; n <= shownTests; ++n) {
        label(this, testLabelName(n), QStringLiteral("Тест №%1").arg(n),
              {44, rowTop(n, shownTests)}, row);
        values_[static_cast<size_t>(n - 1)] =
            label(this, gradeLabelName(n), QStringLiteral("0"), {192, rowTop(n, shownTests)}, row);
        values_[static_cast<size_t>(n - 1)]->setAccessibleDescription(
            QStringLiteral("Тест №%1").arg(n));
    }
    // The further grade slots (tests 11 and 12 of the shipped course) have labels in the design
    // that are never shown.
    for (int n = shownTests + 1; n <= gradeSlots; ++n) {
        const int top = 370 + 20 * (n - shownTests - 1);
        label(this, testLabelName(n), QStringLiteral("Тест №%1").arg(n), {652, top}, row)->hide();
        values_[static_cast<size_t>(n - 1)] =
            label(this, gradeLabelName(n), QStringLiteral("0"), {784, top}, row);
        values_[static_cast<size_t>(n - 1)]->hide();
    }
    label(this, QStringLiteral("Label35"),
          QStringLiteral("Здесь дана только традиционная оценка!!!!"), {392, 104},
          boldFont(kTimes, 24), Qt::white);

    userList_ = new UserListBox(this);
    userList_->setFont(boldFont(kSans, 16));
    userList_->setGeometry(395, 38, 206, 28);
    userList_->setAccessibleName(QStringLiteral("Выберите имя пользователя:"));
    userList_->hide();
    connect(userList_, &UserListBox::chosen, this, &ProgressScreen::userChosen);

    auto* back = new QToolButton(this);
    back->setObjectName(QStringLiteral("SpeedButton4"));
    back->setText(QStringLiteral("<<Назад"));
    back->setAccessibleName(back->text());
    back->setFont(boldFont(kTimes, 19));
    back->setAutoRaise(true);
    back->setGeometry(366, 464, 203, 65);
    connect(back, &QToolButton::clicked, this, &ProgressScreen::backClicked);
}

void ProgressScreen::setUserName(const QString& name) {
    nameLabel_->setText(name);
    nameLabel_->adjustSize();
    // A screen reader reads the name shown (and hears it change); no name, what the label is for.
    nameLabel_->setAccessibleName(name.isEmpty() ? nameLabel_->accessibleDescription() : QString());
}

void ProgressScreen::showGrades(std::span<const quint8> grades) {
    for (std::size_t i = 0; i < values_.size() && i < grades.size(); ++i) {
        values_[i]->setText(QString::number(grades[i]));
        values_[i]->adjustSize();
    }
}

} // namespace velmora

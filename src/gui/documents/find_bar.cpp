// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/documents/find_bar.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace velmora {

FindBar::FindBar(QWidget* parent)
    : QWidget(parent), box_(new QLineEdit(this)), count_(new QLabel(this)),
      next_(new QPushButton(QStringLiteral("Далее"), this)),
      previous_(new QPushButton(QStringLiteral("Назад"), this)) {
    setObjectName(QStringLiteral("findBar"));
    auto* label = new QLabel(QStringLiteral("Найти:"), this);
    label->setBuddy(box_);
    box_->setObjectName(QStringLiteral("findBox"));
    box_->setAccessibleName(QStringLiteral("Найти на странице"));
    box_->installEventFilter(this);
    count_->setObjectName(QStringLiteral("findCount"));
    // The count itself is the label's accessible name, so a screen reader reads "1 из 3" and hears
    // it change; what it counts is the description.
    count_->setAccessibleDescription(QStringLiteral("Найдено"));
    count_->setMinimumWidth(
        count_->fontMetrics().horizontalAdvance(QStringLiteral("0000 из 0000")));
    next_->setObjectName(QStringLiteral("findNext"));
    previous_->setObjectName(QStringLiteral("findPrevious"));
    for (QPushButton* button : {next_, previous_}) {
        button->setAutoDefault(false);
        button->setAccessibleName(button->text());
    }

    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(6, 3, 6, 3);
    row->addWidget(label);
    row->addWidget(box_, 1);
    row->addWidget(count_);
    row->addWidget(next_);
    row->addWidget(previous_);

    connect(box_, &QLineEdit::textChanged, this, &FindBar::textChanged);
    connect(next_, &QPushButton::clicked, this, &FindBar::nextWanted);
    connect(previous_, &QPushButton::clicked, this, &FindBar::previousWanted);
    hide();
}

QString FindBar::text() const {
    return box_->text();
}

void FindBar::open(const QString& text) {
    show();
    if (!text.isEmpty()) {
        box_->setText(text);
    }
    box_->setFocus();
    box_->selectAll();
}

void FindBar::showCount(int active, int total) {
    count_->setText(QStringLiteral("%1 из %2").arg(active).arg(total));
    setBoxColour(total == 0);
}

void FindBar::clearCount() {
    count_->clear();
    setBoxColour(false);
}

void FindBar::setBoxColour(bool noMatch) {
    box_->setStyleSheet(noMatch ? QStringLiteral("QLineEdit { background: #FFC8C8; }") : QString());
}

bool FindBar::eventFilter(QObject* watched, QEvent* event) {
    if (watched == box_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            if (key->modifiers() & Qt::ShiftModifier) {
                Q_EMIT previousWanted();
            } else {
                Q_EMIT nextWanted();
            }
            return true;
        }
        if (key->key() == Qt::Key_Escape) {
            Q_EMIT closeWanted();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace velmora

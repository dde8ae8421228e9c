// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/windows/course_search_window.h"

#include "gui/documents/course_search.h"
#include "gui/kit/handler_guard.h"

#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace velmora {
namespace {

constexpr int kPathRole = Qt::UserRole;
constexpr int kWordRole = Qt::UserRole + 1;

QLabel* resultLabel(const SearchHit& hit) {
    auto* label =
        new QLabel(QStringLiteral("<b>%1</b><br>%2").arg(hit.title.toHtmlEscaped(), hit.snippet));
    label->setTextFormat(Qt::RichText);
    label->setWordWrap(true);
    label->setContentsMargins(4, 3, 4, 3);
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    return label;
}

} // namespace

CourseSearchWindow::CourseSearchWindow(CourseSearch* search,
                                       std::function<QSet<QString>()> openable, QWidget* parent)
    : QWidget(parent, Qt::Window), search_(search), openable_(std::move(openable)),
      query_(new QLineEdit(this)), results_(new QListWidget(this)), status_(new QLabel(this)),
      typing_(new QTimer(this)) {
    setObjectName(QStringLiteral("courseSearch"));
    setWindowTitle(QStringLiteral("Поиск по курсу"));
    resize(560, 480);
    query_->setObjectName(QStringLiteral("searchQuery"));
    query_->setAccessibleName(QStringLiteral("Запрос"));
    query_->installEventFilter(this);
    results_->setObjectName(QStringLiteral("searchResults"));
    results_->setAccessibleName(QStringLiteral("Результаты поиска"));
    results_->setWordWrap(true);
    results_->installEventFilter(this);
    status_->setObjectName(QStringLiteral("searchStatus"));
    status_->setWordWrap(true);
    status_->setTextFormat(Qt::PlainText); // failures and file names, as they are

    auto* column = new QVBoxLayout(this);
    column->addWidget(query_);
    column->addWidget(results_, 1);
    column->addWidget(status_);

    // The query runs once typing pauses, and at once on Enter.
    typing_->setSingleShot(true);
    typing_->setInterval(150);
    connect(typing_, &QTimer::timeout, this, &CourseSearchWindow::refresh);
    connect(query_, &QLineEdit::textEdited, typing_, qOverload<>(&QTimer::start));
    connect(results_, &QListWidget::itemActivated, this, &CourseSearchWindow::openCurrent);
    connect(search_, &CourseSearch::updated, this, &CourseSearchWindow::refresh);
    showStatus();
}

void CourseSearchWindow::showInFront() {
    search_->retry();
    showStatus();
    show();
    raise();
    activateWindow();
    query_->setFocus();
    query_->selectAll();
}

void CourseSearchWindow::refresh() {
    typing_->stop();
    guarded(this, [this] { listHits(); });
    showStatus();
}

void CourseSearchWindow::listHits() {
    results_->clear();
    const QList<SearchHit> hits = search_->search(query_->text(), openable_());
    for (const SearchHit& hit : hits) {
        auto* item = new QListWidgetItem(results_);
        item->setData(kPathRole, hit.path);
        item->setData(kWordRole, hit.firstWord);
        item->setData(Qt::AccessibleTextRole, hit.title);
        QLabel* label = resultLabel(hit);
        label->setFixedWidth(results_->viewport()->width() - 4);
        item->setSizeHint(QSize(label->width(), label->heightForWidth(label->width())));
        results_->setItemWidget(item, label);
    }
    if (!hits.isEmpty()) {
        results_->setCurrentRow(0);
    }
}

void CourseSearchWindow::showStatus() {
    QString text;
    if (!search_->failure().isEmpty()) {
        text = search_->failure();
    } else if (!search_->ready()) {
        text = QStringLiteral("Индекс строится...");
    } else if (!query_->text().trimmed().isEmpty()) {
        text = QStringLiteral("Найдено: %1").arg(results_->count());
    }
    QStringList unreadable;
    for (const QString& path : search_->unreadable()) {
        unreadable << QFileInfo(path).fileName();
    }
    if (!unreadable.isEmpty()) {
        text += (text.isEmpty() ? QString() : QStringLiteral(". ")) +
                QStringLiteral("Не прочитаны: ") + unreadable.join(QStringLiteral(", "));
    }
    status_->setText(text);
}

void CourseSearchWindow::openCurrent() {
    guarded(this, [this] {
        if (const QListWidgetItem* item = results_->currentItem()) {
            Q_EMIT openWanted(item->data(kPathRole).toString(), item->data(kWordRole).toString());
        }
    });
}

bool CourseSearchWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
        if (watched == query_ && enter) {
            refresh();
            openCurrent();
            return true;
        }
        if (watched == query_ && (key == Qt::Key_Down || key == Qt::Key_Up)) {
            // Typed text whose pause has not come yet is searched first, so the arrow finds
            // the results of what the box shows.
            if (typing_->isActive()) {
                refresh();
            }
            if (results_->count() > 0) {
                results_->setFocus();
                results_->setCurrentRow(key == Qt::Key_Down ? 0 : results_->count() - 1);
                return true;
            }
        }
        if (watched == results_ && enter) {
            openCurrent();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

// Escape closes the window, as it closes every dialog; the query box and the list pass it on.
void CourseSearchWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace velmora

// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/kit/first_show.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <vector>

namespace velmora {
namespace {

// Waits for the widget's first show event, which comes before the widget is painted, and runs
// the work given for it in the order it was given.
class FirstShowWatch : public QObject {
public:
    explicit FirstShowWatch(QWidget* widget) : QObject(widget) {
        setObjectName(QStringLiteral("velmora_first_show"));
        widget->installEventFilter(this);
    }

    void add(std::function<void()> work) { work_.push_back(std::move(work)); }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show) {
            watched->removeEventFilter(this);
            setParent(nullptr);
            const std::vector<std::function<void()>> work = std::move(work_);
            deleteLater();
            for (const auto& step : work) {
                step();
            }
        }
        return false;
    }

private:
    std::vector<std::function<void()>> work_;
};

// Waits for the widget's first paint event; the work is queued, so it runs once the painting
// has reached the screen.
class FirstPaintWatch : public QObject {
public:
    FirstPaintWatch(QWidget* widget, std::function<void()> work)
        : QObject(widget), work_(std::move(work)) {
        widget->installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            QTimer::singleShot(0, watched, std::move(work_));
            deleteLater();
        }
        return false;
    }

private:
    std::function<void()> work_;
};

} // namespace

void afterFirstPaint(QWidget* widget, std::function<void()> work) {
    new FirstPaintWatch(widget, std::move(work));
}

void onFirstShow(QWidget* widget, std::function<void()> work) {
    if (widget->isVisible()) {
        work();
        return;
    }
    auto* watch = widget->findChild<FirstShowWatch*>(QStringLiteral("velmora_first_show"),
                                                     Qt::FindDirectChildrenOnly);
    if (watch == nullptr) {
        watch = new FirstShowWatch(widget);
    }
    watch->add(std::move(work));
}

} // namespace velmora

#include "app/first_show.h"

#include <QEvent>
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

} // namespace

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

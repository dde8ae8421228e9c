#pragma once

#include "core/storage/failure.h"

#include <utility>

class QWidget;

namespace velmora {

// Shows a failure in the default error box.
void showFailure(QWidget* parent, const Failure& failure);

// Every UI handler runs through this guard: a Failure ends the handler and is shown in the
// default error box; the program keeps running, and what the handler changed before stays.
template <typename Handler> void guarded(QWidget* parent, Handler&& handler) {
    try {
        std::forward<Handler>(handler)();
    } catch (const Failure& failure) {
        showFailure(parent, failure);
    }
}

} // namespace velmora

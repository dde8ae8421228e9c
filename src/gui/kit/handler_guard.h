// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/storage/failure.h"

#include <exception>
#include <utility>

class QWidget;

namespace velmora {

// Shows a failure in the default error box.
void showFailure(QWidget* parent, const Failure& failure);
// Shows any other exception in the default error box: its what() text, decoded as UTF-8.
void showException(QWidget* parent, const std::exception& exception);

// Every UI handler runs through this guard: a Failure ends the handler and is shown in the
// default error box; so does any other std::exception, with its what() text. The program keeps
// running, and what the handler changed before stays.
template <typename Handler> void guarded(QWidget* parent, Handler&& handler) {
    try {
        std::forward<Handler>(handler)();
    } catch (const Failure& failure) {
        showFailure(parent, failure);
    } catch (const std::exception& exception) {
        showException(parent, exception);
    }
}

} // namespace velmora

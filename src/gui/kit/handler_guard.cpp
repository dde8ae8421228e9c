// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/kit/handler_guard.h"

#include "gui/kit/message_boxes.h"

namespace velmora {

void showFailure(QWidget* parent, const Failure& failure) {
    MessageBoxes::failure(parent, failure.message());
}

void showException(QWidget* parent, const std::exception& exception) {
    MessageBoxes::failure(parent, QString::fromUtf8(exception.what()));
}

} // namespace velmora

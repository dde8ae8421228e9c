#include "gui/kit/handler_guard.h"

#include "gui/kit/message_boxes.h"

namespace velmora {

void showFailure(QWidget* parent, const Failure& failure) {
    MessageBoxes::failure(parent, failure.message());
}

} // namespace velmora

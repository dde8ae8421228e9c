// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/start_up.h"

#include "core/course/course_book.h"
#include "core/storage/failure.h"
#include "gui/kit/message_boxes.h"
#include "gui/windows/program_windows.h"

namespace velmora {

std::unique_ptr<ProgramWindows> openProgramWindows(const DocumentViewFactory& makeView) {
    try {
        CourseBook::current();
    } catch (const Failure& failure) {
        MessageBoxes::failure(nullptr, failure.message());
        return nullptr;
    }
    return std::make_unique<ProgramWindows>(makeView);
}

} // namespace velmora

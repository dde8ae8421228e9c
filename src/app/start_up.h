// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "gui/documents/document_view.h"

#include <memory>

namespace velmora {

class ProgramWindows;

// Reads the course of the program folder, then creates the program's windows. A course file that
// cannot serve shows its problem ("course.toml:12:3: …") in the default error box and gives no
// window: nothing of the course is shown and nothing is written.
std::unique_ptr<ProgramWindows>
openProgramWindows(const DocumentViewFactory& makeView = createDocumentView);

} // namespace velmora

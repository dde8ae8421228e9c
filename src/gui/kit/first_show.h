// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

class QWidget;

namespace velmora {

// Runs `work` once, when `widget` is first shown (at once if it is visible already). The windows
// built hidden at start-up leave measuring their text and drawing their pictures to this, so that
// only the title page's own fonts are loaded before it appears.
void onFirstShow(QWidget* widget, std::function<void()> work);

// Runs `work` once, from the event loop, after `widget` has first been painted: for work that
// can wait until the window is on the screen.
void afterFirstPaint(QWidget* widget, std::function<void()> work);

} // namespace velmora

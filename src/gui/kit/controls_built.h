#pragma once

namespace velmora {

// When a window builds its controls: with the window, or later, when asked or at the latest as
// it is first shown. The windows created hidden at start-up build theirs once the title page is on
// the screen, so that loading the controls' fonts does not hold the title page back.
enum class ControlsBuilt { WithWindow, Later };

} // namespace velmora

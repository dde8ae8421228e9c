// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace velmora {

// When a window builds its controls: with the window, or later, when asked or at the latest as
// it is first shown. The windows created hidden at start-up build theirs once the title page is on
// the screen, so that loading the controls' fonts does not hold the title page back.
enum class ControlsBuilt { WithWindow, Later };

// A window (`Window` is QMainWindow, QDialog, ...) whose controls are built once: at once when
// created `WithWindow`, else when buildControls() is called or, at the latest, just before the
// window is first made visible. The window builds them in buildDeferredControls() and calls
// startBuilding() at the point of its constructor where they belong.
template <typename Window> class DeferredControls : public Window {
public:
    using Window::Window;

    // Builds the controls, once; later calls do nothing.
    void buildControls() {
        if (controlsBuilt_) {
            return;
        }
        controlsBuilt_ = true;
        buildDeferredControls();
    }

    // Built before the window is shown, not in its show event: children added to a visible window
    // would stay hidden.
    void setVisible(bool visible) override {
        if (visible) {
            buildControls();
        }
        Window::setVisible(visible);
    }

protected:
    // Builds the controls now when the window was created to have them at once.
    void startBuilding(ControlsBuilt built) {
        if (built == ControlsBuilt::WithWindow) {
            buildControls();
        }
    }
    virtual void buildDeferredControls() = 0;

private:
    bool controlsBuilt_ = false;
};

} // namespace velmora

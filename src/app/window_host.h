#pragma once

#include "app/message_box.h"
#include "run/host.h"

namespace zarame {

class ModelMirror;
struct WindowControls;

// The host of a run in the window: the pump is the application's own event processing, so the
// stop button, the About button, scrolling and closing work between two items.
class WindowHost final : public Host {
public:
    WindowHost(QWidget* window, ModelMirror& mirror, const WindowControls& controls,
               MessagePresenter showMessage);

    void ShowMessage(const QString& text, MessageIcon icon) override;
    void MoveFocus(TextBox box) override;
    void PumpEvents() override;

private:
    QWidget* window_;
    ModelMirror& mirror_;
    const WindowControls& controls_;
    MessagePresenter showMessage_;
};

}  // namespace zarame

#pragma once

#include <QString>

#include "window/window_model.h"

namespace zarame {

enum class MessageIcon { Warning, Error };

// What a run asks of whoever shows it: the window, the command line or a test.
class Host {
public:
    virtual ~Host() = default;

    // A modal message with an OK button only, captioned with the application title.
    virtual void ShowMessage(const QString& text, MessageIcon icon) = 0;
    // Puts the keyboard focus on an input after a refusal.
    virtual void MoveFocus(TextBox box) = 0;
    // Lets pending user actions run, above all the stop button; called after every item and
    // every template block.
    virtual void PumpEvents() = 0;
};

}  // namespace zarame

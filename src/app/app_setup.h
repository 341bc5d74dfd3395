#pragma once

class QApplication;

namespace zarame {

// The look the window is laid out for, the same on every desktop: the Fusion style and a
// Japanese font at a size where every caption fits its design box at 96 DPI; and the icon.
void SetUpApplication(QApplication& application);

}  // namespace zarame

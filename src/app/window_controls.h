#pragma once

#include <array>

#include "window/window_model.h"

class QButtonGroup;
class QFrame;
class QLabel;
class QLineEdit;
class QListView;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QWidget;

namespace zarame {

// The drawn controls of the main window, each named after the control it shows.
struct WindowControls {
    std::array<QLineEdit*, kTextBoxCount> texts{};
    // Members by group and index; optBeforeAfter has no member 2.
    std::array<std::array<QRadioButton*, 3>, kOptionGroupCount> options{};
    std::array<QButtonGroup*, kOptionGroupCount> optionGroups{};
    // The widget whose enabled flag stands for each control of the model.
    std::array<QWidget*, kControlCount> controls{};
    std::array<QLabel*, kLabelCount> labels{};
    QListView* lstLog = nullptr;
    QProgressBar* pbBar = nullptr;
    QPushButton* cmdReferExcel = nullptr;
    QPushButton* cmdReferText = nullptr;
    QPushButton* cmdReferFolder = nullptr;
    QPushButton* cmdReferDup = nullptr;
    QPushButton* cmdCreate = nullptr;
    QPushButton* cmdStop = nullptr;
    QPushButton* cmdEnd = nullptr;
    QPushButton* Command1 = nullptr;

    QLineEdit* text(TextBox box) const { return texts[static_cast<int>(box)]; }
    QWidget* control(Control control) const { return controls[static_cast<int>(control)]; }
};

// Creates every control of the main window on `window`, at its place in the 96-DPI design (15
// twips to a pixel), with its caption, tooltip, alignment and typing limit, and sets the tab
// order. The window's own size is fixed to the design's client area.
WindowControls BuildControls(QWidget* window);

}  // namespace zarame

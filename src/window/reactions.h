#pragma once

namespace zarame {

class WindowModel;

// The reactions of the main window that act on the model alone, wired to its changes so that a
// selection or a text put in by the program (loading the settings) reacts exactly as the user's
// click or edit: a name-source click switches the groups and, for "連番で作成", refreshes the
// preview; an item-kind click switches the groups; a click on "前"/"後" and any change of the
// sequence inputs refresh the preview.
void ConnectReactions(WindowModel& model);

// GotFocus and LostFocus of the sequence inputs and of "前"/"後".
void SequenceInputFocusChanged(WindowModel& model);

}  // namespace zarame

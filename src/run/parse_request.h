#pragma once

#include <QString>
#include <functional>
#include <optional>

#include "window/batch_request.h"
#include "window/start_cell.h"
#include "window/window_model.h"

namespace zarame {

class FileService;

// Why a run is refused: the message the window shows and the input it puts the focus on after.
struct InputRefusal {
    QString message;
    std::optional<TextBox> focus;  // nothing for the destination checks
};

// The window's inputs as a request, or the refusal of the first failing check.
struct ParsedRequest {
    std::optional<BatchRequest> request;
    InputRefusal refusal;  // when there is no request
};

// Checks the texts of the destination, then of the selected name source, then of the selected
// item kind, in a fixed order, and reads each into the request. `destinationAccepted` is called
// once the destination checks pass, before any other (the window clears its log there). A
// conversion that overflows is raised, not refused.
ParsedRequest ParseRequest(const WindowModel& model, FileService& files, CellReach reach,
                           const std::function<void()>& destinationAccepted);

}  // namespace zarame

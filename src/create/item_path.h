#pragma once

#include <QString>

#include "common/run_time_error.h"

namespace zarame {

// A name that would put its item somewhere other than where it says.
class RefusedNameError : public RunTimeError {
public:
    enum class Reason { ClimbsOut, HoldsNul };
    RefusedNameError(Reason reason, const QString& name);
};

// The path of one item: the destination folder as typed, "/", then the name. Names read from
// files (text-file lines, spreadsheet cells) are often someone else's data, so one with a ".."
// component, which would climb out of the folder, is refused, and so is one holding U+0000, which
// the system would cut short into another name. Sub-folder names such as "sub/a" pass.
QString ItemPath(const QString& folder, const QString& name);

}  // namespace zarame

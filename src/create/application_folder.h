#pragma once

#include <QString>

namespace zarame {

inline constexpr char16_t kTemplateFileName[] = u"KRB_tmp.tmp";

// Where the template goes: beside the executable, as in a build or a portable copy; when that
// folder is not writable (an installed program in /usr/bin), the per-user data folder instead.
QString DefaultTemplatePath();

}  // namespace zarame

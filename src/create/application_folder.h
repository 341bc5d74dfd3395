#pragma once

#include <QString>

namespace zarame {

inline constexpr char16_t kTemplateFileName[] = u"KRB_tmp.tmp";

// Where the template goes: beside the executable when it runs from the folder it was built in;
// an installed program (in /usr/bin, /usr/local/bin or ~/.local/bin, whoever runs it, root
// included) keeps it in the per-user data folder, never among the system's programs.
QString DefaultTemplatePath();

// Whether the executable's own folder holds the template: only the writable build folder.
bool UsesExecutableFolder(const QByteArray& executableFolder, const QByteArray& buildFolder);

}  // namespace zarame

#pragma once

#include <QString>

namespace anthology {

// Turns a Windows-style relative name ("data\Odelane\07.txt") into a path under the current
// folder: backslashes become slashes, and each component that does not exist as written is
// matched against its folder's entries without regard to case, as the anthology was made on a
// file system that ignores case. A component with no match is kept as written, so the result
// can name a file that is still to be created.
QString resolvePath(const QString &windowsName);

} // namespace anthology

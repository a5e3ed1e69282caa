#pragma once

namespace app {

// Maps the Windows face names that the windows and settings use onto faces installed on a
// Debian desktop, so that "新宋体" 12 px keeps its 6 x 12 cell instead of falling back to a
// Hei face. Call once, after the application object exists.
void registerFontSubstitutions();

} // namespace app

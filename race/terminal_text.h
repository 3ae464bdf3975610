// Names on a terminal. A file or folder name is whatever bytes the system
// allows: an escape sequence in it would drive the terminal (retitle it,
// recolour it, move the cursor), and a right-to-left override (U+202E)
// would turn the rest of the game's own line backwards. Messages that name
// a file pass the name through here first.
#pragma once

#include <string>
#include <string_view>

namespace trotix {

// `text` with every control character shown as a visible escape: C0 and DEL
// as \x1B, C1 and the invisible direction controls (U+061C, U+200E, U+200F,
// U+202A to U+202E, U+2066 to U+2069) and the line and paragraph separators
// as \u202E, a byte that is not UTF-8 as \xFF, and a backslash as \\, so an
// escape shown is never a name's own text. Every other character is kept.
std::string TerminalSafe(std::string_view text);

}  // namespace trotix

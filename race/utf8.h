// Reading UTF-8 one character at a time, for the few texts that must be
// valid UTF-8 on the way out (the simulator's JSON, a UTF-16 profile) or
// whose width on a terminal matters (the simulator's table).
#pragma once

#include <cstddef>
#include <string_view>

namespace trotix {

inline constexpr char32_t kReplacementCharacter = 0xFFFD;

// The character at `pos`, moving `pos` past it. A byte that starts no valid
// sequence (a stray continuation byte, an overlong form, a surrogate, a
// value beyond U+10FFFF, a sequence cut short) gives kReplacementCharacter
// and is passed over alone. `pos` must be below text.size().
char32_t NextUtf8(std::string_view text, std::size_t& pos, bool* valid = nullptr);

// Columns a text takes on a terminal: two for the full-width East Asian
// characters (such as the style glyphs), one for any other character.
std::size_t DisplayWidth(std::string_view text);

}  // namespace trotix

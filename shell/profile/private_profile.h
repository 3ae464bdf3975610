// Private-profile (Windows INI) text: reading one key and setting one key,
// with the rules of GetPrivateProfileStringA and WritePrivateProfileStringA,
// on the bytes of a file held in memory. Nothing here touches the disk; see
// profile_file.h for that.
//
// How a file is read:
// - A line ends at CR LF, LF or a lone CR.
// - Blanks are spaces and tabs. A line whose first non-blank character is
//   ';' is a comment. One whose first non-blank character is '[' starts a
//   section; its name runs to the first ']' (or to the end of the line when
//   there is none) and is trimmed of blanks.
// - Any other line with a '=' is an entry: the key is the text before the
//   first '=', the value the text after it, both trimmed of blanks. A value
//   that then begins and ends with the same quote character (both " or both
//   ') loses those two quotes. Lines without '=' are skipped.
// - Section and key names match without regard to ASCII case, and the names
//   asked for are trimmed of blanks as well.
// - Only the first section of a name is consulted, by reading and writing
//   alike; a later section of the same name is never searched. Within it,
//   the first entry of a key wins.
// - Entries before the first section header belong to no section and are
//   never found. A leading UTF-8 byte order mark is passed over.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace trotix {

// The value of `key` in `section`, or `default_value` when the section or
// the key is missing or a name is empty. The result is cut to
// buffer_size - 1 characters, as the Windows call fills a buffer of that
// size and ends it with a NUL; a buffer_size of 0 gives an empty text.
std::string GetProfileString(std::string_view file_text, std::string_view section,
                             std::string_view key, std::string_view default_value,
                             std::size_t buffer_size);

// Whether SetProfileString accepts these names and this value. Anything that
// would read back as a different line structure is refused rather than
// written:
// - a section or key that is empty after trimming, or that contains '=',
//   '[', ']', CR or LF;
// - a key that begins with ';' (it would be read as a comment);
// - a value that contains CR or LF.
// Other bytes, a NUL included, are written as they are. A value with blanks
// at its ends or enclosed in matching quotes is accepted, but reads back
// trimmed and unquoted.
bool CanSetProfileString(std::string_view section, std::string_view key, std::string_view value);

// The file text with `key` in `section` set to `value`. Names are written
// trimmed, in the caller's spelling. Where the first section of that name
// holds the key, only that entry's line is replaced, by "key=value" followed
// by the line's own line ending. Otherwise "key=value" is inserted after the
// last non-blank line of the section, or, without such a section,
// "[section]" and "key=value" are appended at the end of the file, after a
// CR LF when the file does not already end with a line break. New lines end
// with CR LF. Every other byte of the file is kept as it was. When
// CanSetProfileString refuses the request, the text comes back unchanged.
std::string SetProfileString(std::string_view file_text, std::string_view section,
                             std::string_view key, std::string_view value);

}  // namespace trotix

// The two private-profile calls on a file on disk, on top of the in-memory
// rules of private_profile.h.
#pragma once

#include <QString>

#include <cstddef>
#include <string>
#include <string_view>

namespace trotix {

// The most of a profile file that is read. A position file is a few dozen
// bytes; a huge one must not stall start-up.
inline constexpr std::size_t kProfileFileReadLimit = 1024 * 1024;

// The value of `key` in `section` of the file at `path`, as GetProfileString
// reads it. A missing or unreadable file gives the default. Of a file larger
// than kProfileFileReadLimit only the complete lines within the limit are
// searched.
std::string GetPrivateProfileString(std::string_view section, std::string_view key,
                                    std::string_view default_value, std::size_t buffer_size,
                                    const QString& path);

// Sets `key` in `section` of the file at `path` to `value`, as
// SetProfileString does, creating the file when it is missing. The new text
// goes to a temporary file beside the old one that then replaces it, so a
// crash or a full disk leaves either the old file or the new one, never a
// part of either. Returns false, and leaves the file as it was, when the
// names or the value are refused (CanSetProfileString), when the file exists
// but cannot be read or is larger than kProfileFileReadLimit (rewriting it
// would lose its end), or when the new file cannot be written. When the text
// would not change, nothing is written and the result is true. Never throws.
bool WritePrivateProfileString(std::string_view section, std::string_view key,
                               std::string_view value, const QString& path);

}  // namespace trotix

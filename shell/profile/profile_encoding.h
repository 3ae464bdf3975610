// The encodings a position file may come in. The INI rules read and write
// bytes in which every character that matters is ASCII; a file saved as
// UTF-16 (Notepad's "Unicode") is read through UTF-8 and saved back in
// UTF-16, so one file never holds two encodings.
#pragma once

#include <string>
#include <string_view>

namespace trotix {

enum class TextEncoding {
  kBytes,    // ASCII, UTF-8 or any 8-bit text: taken as it is
  kUtf16Le,  // begins with the byte-order mark FF FE
  kUtf16Be,  // begins with FE FF
};

struct DecodedProfile {
  TextEncoding encoding = TextEncoding::kBytes;
  std::string text;  // UTF-8 for UTF-16 files, the mark included; else the bytes
  // A save may set keys in `text` and encode it again: that gives back the
  // very bytes read. A single-byte file keeps a stray NUL where it is, but
  // NULs in half the places of one parity mean UTF-16 or UTF-32 without a
  // mark, and a NUL in UTF-16 text UTF-32 whose mark looks like UTF-16's;
  // ASCII keys written into such a file would mix two encodings in it.
  bool writable = true;
};

// A unit that does not decode (a lone surrogate, an odd last byte) reads as
// U+FFFD and makes the file unwritable.
DecodedProfile DecodeProfileBytes(std::string_view bytes);

// UTF-8 text in `encoding`; kBytes gives the text as it is.
std::string EncodeProfileText(std::string_view text, TextEncoding encoding);

}  // namespace trotix

#pragma once
// The source editor shows the document's bytes as text and turns edits back
// into bytes. The choice of encoding is made once per shown document (the
// rule of platform/TextCodec, shared with the HTML pane), so an unedited
// document goes back byte for byte.
#include <string>
#include <string_view>

#include "bookmarks/Context.h"
#include "platform/TextCodec.h"

namespace quillet {

using DisplayEncoding = TextEncoding;

inline DisplayEncoding ChooseDisplayEncoding(const TextLines& lines) { return ChooseTextEncoding(lines); }

// Bytes in the given encoding to UTF-8 text for the editor.
std::string DecodeForDisplay(std::string_view bytes, DisplayEncoding enc);

// A file or folder name as text, read in the encoding the name alone gives.
inline std::string DecodeName(const std::string& bytes) {
  return DecodeForDisplay(bytes, ChooseDisplayEncoding({bytes}));
}

// UTF-8 text from the editor back to bytes. A character Windows-1252 cannot
// hold becomes "?", as the ANSI code page would write it.
std::string EncodeFromDisplay(std::string_view utf8, DisplayEncoding enc);

}  // namespace quillet

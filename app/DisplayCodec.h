#pragma once
// The source editor shows the document's bytes as text and turns edits back
// into bytes. The choice of encoding is made once per shown document, so an
// unedited document goes back byte for byte.
#include <string>
#include <string_view>

#include "convert/Context.h"

namespace quillet {

enum class DisplayEncoding { Utf8, Windows1252 };

// UTF-8 when every line is valid UTF-8 and holds none of the characters the
// editor would take for a line or frame break; Windows-1252 otherwise (every
// byte has a character there, so nothing is lost).
DisplayEncoding ChooseDisplayEncoding(const TextLines& lines);

// Bytes in the given encoding to UTF-8 text for the editor.
std::string DecodeForDisplay(std::string_view bytes, DisplayEncoding enc);

// UTF-8 text from the editor back to bytes. A character Windows-1252 cannot
// hold becomes "?", as the ANSI code page would write it.
std::string EncodeFromDisplay(std::string_view utf8, DisplayEncoding enc);

}  // namespace quillet

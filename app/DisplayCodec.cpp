#include "app/DisplayCodec.h"

#include "platform/Utf8.h"

namespace quillet {

std::string DecodeForDisplay(std::string_view bytes, DisplayEncoding enc) {
  if (enc == DisplayEncoding::Utf8) return std::string(bytes);
  std::string out;
  out.reserve(bytes.size() + bytes.size() / 4);
  for (const char c : bytes) AppendUtf8(out, Windows1252ToUnicode(static_cast<unsigned char>(c)));
  return out;
}

std::string EncodeFromDisplay(std::string_view utf8, DisplayEncoding enc) {
  if (enc == DisplayEncoding::Utf8) return std::string(utf8);
  std::string out;
  out.reserve(utf8.size());
  for (size_t i = 0; i < utf8.size();) {
    char32_t cp;
    size_t n = DecodeUtf8At(utf8, i, cp);
    if (n == 0) {
      n = 1;
      cp = U'?';
    }
    const int b = UnicodeToWindows1252(cp);
    out += static_cast<char>(b < 0 ? '?' : b);
    i += n;
  }
  return out;
}

}  // namespace quillet

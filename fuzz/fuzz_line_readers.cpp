// Every bookmark line reader and the shortcut-file reader on arbitrary bytes.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "bookmarks/BookmarkFormat.h"
#include "bookmarks/DocumentFile.h"
#include "platform/PrivateProfile.h"

using namespace quillet;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  for (const std::string& line : SplitDocumentText(text)) {
    IsListEnd(line);
    if (IsHeading(line)) FolderNameOf(line);
    const size_t c = DescriptionStart(line);
    if (c > line.size() + 1) __builtin_trap();
    LinkAddress(line);
    if (c > 0 && c <= line.size()) SafeFileName(std::string_view(line).substr(c - 1));
    SafeFileName(line);
    // A written name or address reads back as itself (lines hold no line
    // break, which alone is written as a reference that is not decoded).
    for (const AmpersandEscape amp : {AmpersandEscape::WhereAmbiguous, AmpersandEscape::Always}) {
      if (DecodeCharRefs(EscapeNameForLine(line, amp)) != line) __builtin_trap();
      if (DecodeCharRefs(EscapeAddressForLine(line, amp)) != line) __builtin_trap();
    }
  }
  const auto url = FindProfileValue(text, "InternetShortcut", "URL");
  if (url && url->size() > kProfileValueLimit) __builtin_trap();
  return 0;
}

// The preferences-file reader (prefs.js, preferences.js) on arbitrary bytes,
// and the quoted user-name list: cut again at its commas it gives back the
// names.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "bookmarks/DocumentFile.h"
#include "convert/Netscape.h"

using namespace quillet;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const TextLines lines = SplitDocumentText(text);

  const auto location = BookmarkLocationFromPrefs(lines);
  if (location && location->size() > size) __builtin_trap();

  for (const std::string& line : lines) {
    size_t total = 0;
    const auto fields = PrefsFields(line);
    for (const auto& f : fields) total += f.size();
    if (total + fields.size() - 1 > line.size()) __builtin_trap();
  }

  if (lines.empty()) return 0;
  const auto fields = PrefsFields(JoinNamesQuoted(lines));
  if (fields.size() != lines.size()) __builtin_trap();
  for (size_t i = 0; i < lines.size(); ++i) {
    std::string_view f = fields[i];
    if (f.size() >= 2 && f.front() == '"' && f.back() == '"') f = f.substr(1, f.size() - 2);
    if (f != lines[i]) __builtin_trap();
  }
  return 0;
}

// A shortcut file's bytes: marks, UTF-16 and UTF-7 in any state; and what
// an address stores reads back as that address.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "convert/ShortcutText.h"
#include "platform/Utf8.h"

using namespace quillet;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  ShortcutUrlOfText(bytes);
  const ShortcutUrls urls = ShortcutUrlsFor(bytes);
  for (char c : urls.Ascii)
    if (static_cast<unsigned char>(c) >= 0x80) __builtin_trap();
  if (urls.Wide && IsValidUtf8(bytes) && Utf7ToUtf8(*urls.Wide) != std::string(bytes)) __builtin_trap();
  return 0;
}

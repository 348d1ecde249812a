// Chromium's bookmark file: any bytes are read or refused with StoreError,
// and what is read writes back into a file that reads as the same outline.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "stores/ChromiumBookmarks.h"
#include "stores/StoreError.h"

using namespace quillet;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  try {
    const StoreRead read = ReadChromiumBookmarks(text);
    const ChromiumWrite w = WriteChromiumBookmarks(read.Root, read.Kept.get());
    const StoreRead again = ReadChromiumBookmarks(w.Json);
    if (CountOutline(again.Root).Links != w.Written.Links) __builtin_trap();
  } catch (const StoreError&) {
  }
  return 0;
}

// Chromium's bookmark file: any bytes are read or refused with StoreError,
// alike by the fast reading and the JSON library's, and what is read writes
// back into a file that reads as the same outline.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "stores/ChromiumBookmarks.h"
#include "stores/StoreError.h"

using namespace quillet;

// What a reading gave, in brief: its problems and counts, or its refusal.
template <class Read>
std::string Summary(Read read, std::string_view text) {
  try {
    const StoreRead r = read(text);
    const OutlineCounts n = CountOutline(r.Root);
    return std::to_string(r.Problems.size()) + ":" + std::to_string(n.Links) + ":" + std::to_string(n.Folders);
  } catch (const StoreError& e) {
    return e.what();
  }
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  if (Summary(ReadChromiumBookmarks, text) != Summary(ReadChromiumBookmarksByLibrary, text)) __builtin_trap();
  try {
    const StoreRead read = ReadChromiumBookmarks(text);
    const ChromiumWrite w = WriteChromiumBookmarks(read.Root, read.Kept.get());
    const StoreRead again = ReadChromiumBookmarks(w.Json);
    if (CountOutline(again.Root).Links != w.Written.Links) __builtin_trap();
  } catch (const StoreError&) {
  }
  return 0;
}

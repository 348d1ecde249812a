// The Wine registry reader on arbitrary bytes: it must never crash, read out
// of bounds or loop, and what it found must answer queries consistently.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/WineRegistry.h"

using namespace quillet;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view body(reinterpret_cast<const char*>(data), size);
  // Most inputs should get past the header check.
  const std::string text = "WINE REGISTRY Version 2\n" + std::string(body);
  const RegistryHive hive = ParseWineRegistry(text);
  ParseWineRegistry(body);

  // Walk every key reachable from the root, reading a few values on the way.
  std::vector<std::string> pending{""};
  size_t seen = 0;
  while (!pending.empty() && seen < 10000) {
    const std::string key = pending.back();
    pending.pop_back();
    ++seen;
    for (const char* name : {"", "Favorites", "a", "x"}) {
      if (const RegValue* v = hive.FindValue(key, name)) {
        if (!v->IsText() && !v->Text.empty()) __builtin_trap();
      }
    }
    for (const std::string& sub : hive.SubKeyNames(key)) {
      if (sub.empty() || sub.find('\\') != std::string::npos) __builtin_trap();
      pending.push_back(key.empty() ? sub : key + "\\" + sub);
    }
  }
  hive.SubKeyNames(body);
  hive.FindValue(body, body);
  NormalKeyPath(body);
  return 0;
}

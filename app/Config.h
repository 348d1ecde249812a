#pragma once
// The settings file.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "bookmarks/Context.h"

namespace quillet {

// The settings file's full name.
std::string SettingsFileName(const Context& ctx);
// Reads every stored field of ctx.Config; never fails.
void LoadSettings(Context& ctx);
// Writes every stored field; throws EWriteError when a key cannot be written.
void SaveSettings(Context& ctx);

// A stored integer: decimal, or hexadecimal after "$", "x", "X", "0x" or "0X";
// leading blanks and a sign allowed. Hexadecimal may give all 32 bits (so
// "$FFFFFFFF" is -1); decimal must lie in the 32-bit range. Nothing for
// anything else.
std::optional<int32_t> ParseSettingsInteger(std::string_view text);

}  // namespace quillet

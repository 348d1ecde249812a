#pragma once
// The settings file.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

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

// The window's own keys, beside the options: whether the file holds a window
// size at all (a first start has none), the rendered view's zoom in percent
// ([Options] Zoom, 100 when missing or not a number) and the recent files
// ([Recent] File1 to File8, most recent first).
inline constexpr int kMaxRecentFiles = 8;
bool HasStoredPlace(Context& ctx);
int LoadZoom(Context& ctx);
void SaveZoom(Context& ctx, int zoom);
std::vector<std::string> LoadRecentFiles(Context& ctx);
// Throws EWriteError when a key cannot be written.
void SaveRecentFiles(Context& ctx, const std::vector<std::string>& files);

// The Sort dialog's choices ([Sort]), in the words of quillet sort's
// options: By and Then name, url, site or added (Then may be empty);
// Folders first, last or mixed. Folder is a folder path ("" for the whole
// document); KeepOrder the folders whose own items keep their order. A
// word the file holds that is none of these reads as the default.
struct SortSettings {
  std::string By = "name", Then, Folders = "first", Locale, Folder;
  bool Reverse = false, Natural = true, CaseSensitive = false, Recursive = true, KeepToolbarOrder = false;
  std::vector<std::string> KeepOrder;
  bool operator==(const SortSettings&) const = default;
};
SortSettings LoadSortSettings(Context& ctx);
// Throws EWriteError when a key cannot be written.
void SaveSortSettings(Context& ctx, const SortSettings& sort);

}  // namespace quillet

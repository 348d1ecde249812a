#include "app/Config.h"

#include "app/SortCommand.h"

namespace quillet {

namespace {

constexpr const char* kOptions = "Options";
constexpr const char* kDefaults = "Defaults";
constexpr const char* kRecent = "Recent";
constexpr const char* kSort = "Sort";

int32_t ReadInteger(Context& ctx, const char* section, const char* key, int32_t def) {
  const std::string text = ctx.Profile().ReadString(SettingsFileName(ctx), section, key, "");
  return ParseSettingsInteger(text).value_or(def);
}

bool ReadBool(Context& ctx, const char* section, const char* key, bool def) {
  return ReadInteger(ctx, section, key, def ? 1 : 0) != 0;
}

void WriteText(Context& ctx, const char* section, const char* key, const std::string& value) {
  ctx.Profile().WriteString(SettingsFileName(ctx), section, key, value);
}

// A reader trims blanks and drops one pair of enclosing quotes; a folder name
// that would lose either is written inside quotes so it reads back whole.
std::string Quoted(const std::string& value) {
  if (value.empty()) return value;
  const char f = value.front(), b = value.back();
  const bool blankEdge = f == ' ' || f == '\t' || b == ' ' || b == '\t';
  const bool quotedAlready = value.size() >= 2 && (f == '"' || f == '\'') && b == f;
  return blankEdge || quotedAlready ? '"' + value + '"' : value;
}

void WriteBool(Context& ctx, const char* section, const char* key, bool value) {
  WriteText(ctx, section, key, value ? "1" : "0");
}

void WriteInteger(Context& ctx, const char* section, const char* key, int32_t value) {
  WriteText(ctx, section, key, std::to_string(value));
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

std::optional<int32_t> ParseSettingsInteger(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';

  bool hex = false;
  if (i < text.size() && (text[i] == '$' || text[i] == 'x' || text[i] == 'X')) {
    hex = true;
    ++i;
  } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
    hex = true;
    i += 2;
  }
  if (i == text.size()) return std::nullopt;

  // Accumulate wide enough to notice overflow before it happens.
  uint64_t value = 0;
  const uint64_t limit = hex ? 0xFFFFFFFFull : (negative ? 0x80000000ull : 0x7FFFFFFFull);
  for (; i < text.size(); ++i) {
    const int d = hex ? HexDigit(text[i]) : (text[i] >= '0' && text[i] <= '9' ? text[i] - '0' : -1);
    if (d < 0) return std::nullopt;
    value = value * (hex ? 16 : 10) + static_cast<uint64_t>(d);
    if (value > limit) return std::nullopt;
  }
  // Wrap as a 32-bit two's-complement value: hexadecimal gives the bit pattern.
  uint32_t bits = static_cast<uint32_t>(value);
  if (negative) bits = 0u - bits;
  return static_cast<int32_t>(bits);
}

std::string SettingsFileName(const Context& ctx) { return ctx.DataDir + "Quillet.Ini"; }

void LoadSettings(Context& ctx) {
  TConfig& c = ctx.Config;
  c.ShowSplash = ReadBool(ctx, kOptions, "ShowSplash", true);
  c.BoldHtml = ReadBool(ctx, kOptions, "BoldHtml", false);
  c.ItalicHtml = ReadBool(ctx, kOptions, "ItalicHtml", false);
  c.WordWrap = ReadBool(ctx, kOptions, "WordWrap", false);
  c.DoubleSpaceLines = ReadBool(ctx, kOptions, "DoubleSpaceLines", false);
  c.IndentHtml = ReadBool(ctx, kOptions, "IndentHtml", false);
  c.BrowserLayout = ReadBool(ctx, kOptions, "BrowserLayout", false);
  c.Left = ReadInteger(ctx, kDefaults, "Left", 216);
  c.Top = ReadInteger(ctx, kDefaults, "Top", 131);
  c.Height = ReadInteger(ctx, kDefaults, "Height", 321);
  c.Width = ReadInteger(ctx, kDefaults, "Width", 411);
  c.LastDir = ctx.Profile().ReadString(SettingsFileName(ctx), kDefaults, "LastDir", ctx.ProgramDir);
}

void SaveSettings(Context& ctx) {
  // Key by key, in this order: a failure leaves the keys after it unwritten.
  const TConfig& c = ctx.Config;
  WriteBool(ctx, kOptions, "ShowSplash", c.ShowSplash);
  WriteBool(ctx, kOptions, "BoldHtml", c.BoldHtml);
  WriteBool(ctx, kOptions, "ItalicHtml", c.ItalicHtml);
  WriteBool(ctx, kOptions, "WordWrap", c.WordWrap);
  WriteBool(ctx, kOptions, "DoubleSpaceLines", c.DoubleSpaceLines);
  WriteBool(ctx, kOptions, "IndentHtml", c.IndentHtml);
  WriteBool(ctx, kOptions, "BrowserLayout", c.BrowserLayout);
  WriteInteger(ctx, kDefaults, "Left", c.Left);
  WriteInteger(ctx, kDefaults, "Top", c.Top);
  WriteInteger(ctx, kDefaults, "Height", c.Height);
  WriteInteger(ctx, kDefaults, "Width", c.Width);
  WriteText(ctx, kDefaults, "LastDir", Quoted(c.LastDir));
}

bool HasStoredPlace(Context& ctx) {
  const std::string file = SettingsFileName(ctx);
  for (const char* key : {"Width", "Height"})
    if (!ParseSettingsInteger(ctx.Profile().ReadString(file, kDefaults, key, ""))) return false;
  return true;
}

int LoadZoom(Context& ctx) { return ReadInteger(ctx, kOptions, "Zoom", 100); }

void SaveZoom(Context& ctx, int zoom) { WriteInteger(ctx, kOptions, "Zoom", zoom); }

std::vector<std::string> LoadRecentFiles(Context& ctx) {
  std::vector<std::string> files;
  for (int i = 1; i <= kMaxRecentFiles; ++i) {
    std::string name = ctx.Profile().ReadString(SettingsFileName(ctx), kRecent, "File" + std::to_string(i), "");
    if (!name.empty()) files.push_back(std::move(name));
  }
  return files;
}

void SaveRecentFiles(Context& ctx, const std::vector<std::string>& files) {
  // Every key is written, so a shorter list leaves no old name behind.
  for (size_t i = 0; i < kMaxRecentFiles; ++i)
    WriteText(ctx, kRecent, ("File" + std::to_string(i + 1)).c_str(), i < files.size() ? Quoted(files[i]) : "");
}

namespace {

std::string ReadText(Context& ctx, const char* section, const std::string& key) {
  return ctx.Profile().ReadString(SettingsFileName(ctx), section, key, "");
}

}  // namespace

SortSettings LoadSortSettings(Context& ctx) {
  SortSettings s;
  const auto word = [&](const char* key, std::string& into, bool (*known)(const std::string&)) {
    std::string text = ReadText(ctx, kSort, key);
    if (known(text)) into = std::move(text);
  };
  word("By", s.By, [](const std::string& w) { return SortKeyNamed(w).has_value(); });
  word("Then", s.Then, [](const std::string& w) { return w.empty() || SortKeyNamed(w).has_value(); });
  word("Folders", s.Folders, [](const std::string& w) { return FolderPlacementNamed(w).has_value(); });
  s.Reverse = ReadBool(ctx, kSort, "Reverse", s.Reverse);
  s.Natural = ReadBool(ctx, kSort, "Natural", s.Natural);
  s.CaseSensitive = ReadBool(ctx, kSort, "CaseSensitive", s.CaseSensitive);
  s.Locale = ReadText(ctx, kSort, "Locale");
  s.Folder = ReadText(ctx, kSort, "Folder");
  s.Recursive = ReadBool(ctx, kSort, "Recursive", s.Recursive);
  s.KeepToolbarOrder = ReadBool(ctx, kSort, "KeepToolbarOrder", s.KeepToolbarOrder);
  // KeepOrder1, KeepOrder2, ... up to the first empty one.
  for (int i = 1;; ++i) {
    std::string path = ReadText(ctx, kSort, "KeepOrder" + std::to_string(i));
    if (path.empty()) break;
    s.KeepOrder.push_back(std::move(path));
  }
  return s;
}

void SaveSortSettings(Context& ctx, const SortSettings& s) {
  WriteText(ctx, kSort, "By", s.By);
  WriteText(ctx, kSort, "Then", s.Then);
  WriteText(ctx, kSort, "Folders", s.Folders);
  WriteBool(ctx, kSort, "Reverse", s.Reverse);
  WriteBool(ctx, kSort, "Natural", s.Natural);
  WriteBool(ctx, kSort, "CaseSensitive", s.CaseSensitive);
  WriteText(ctx, kSort, "Locale", Quoted(s.Locale));
  WriteText(ctx, kSort, "Folder", Quoted(s.Folder));
  WriteBool(ctx, kSort, "Recursive", s.Recursive);
  WriteBool(ctx, kSort, "KeepToolbarOrder", s.KeepToolbarOrder);
  // The empty key after the list ends it, whatever a longer list left.
  size_t i = 0;
  for (; i < s.KeepOrder.size(); ++i) WriteText(ctx, kSort, ("KeepOrder" + std::to_string(i + 1)).c_str(), Quoted(s.KeepOrder[i]));
  WriteText(ctx, kSort, ("KeepOrder" + std::to_string(i + 1)).c_str(), "");
}

}  // namespace quillet

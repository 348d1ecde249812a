#include "platform/WineRegistry.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "platform/AsciiCase.h"
#include "platform/Path.h"
#include "platform/Utf8.h"

namespace quillet {

namespace {

// The registry orders names by their upper-case form.
bool UpperLess(const std::string& a, const std::string& b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return static_cast<unsigned char>(UpperAscii(x)) < static_cast<unsigned char>(UpperAscii(y));
  });
}

// Turns UTF-16 code units into UTF-8, pairing surrogates; a lone surrogate
// becomes U+FFFD.
class Utf16Sink {
 public:
  explicit Utf16Sink(std::string& out) : out_(out) {}
  void Unit(uint32_t u) {
    if (high_ != 0) {
      const uint32_t h = high_;
      high_ = 0;
      if (u >= 0xDC00 && u <= 0xDFFF) {
        AppendUtf8(out_, 0x10000 + ((h - 0xD800) << 10) + (u - 0xDC00));
        return;
      }
      AppendUtf8(out_, 0xFFFD);
    }
    if (u >= 0xD800 && u <= 0xDBFF) {
      high_ = u;
    } else if (u >= 0xDC00 && u <= 0xDFFF) {
      AppendUtf8(out_, 0xFFFD);
    } else {
      AppendUtf8(out_, u);
    }
  }
  // A byte of the file as it stands (not escaped): kept as it is.
  void Raw(char c) {
    Flush();
    out_ += c;
  }
  void Flush() {
    if (high_ != 0) AppendUtf8(out_, 0xFFFD);
    high_ = 0;
  }

 private:
  std::string& out_;
  uint32_t high_ = 0;  // a high surrogate waiting for its pair; 0: none
};

// Reads an escaped text that started just before pos, up to the unescaped
// end character, which it skips. Nullopt when the line ends first.
std::optional<std::string> ParseEscaped(std::string_view line, size_t& pos, char end) {
  std::string out;
  Utf16Sink sink(out);
  while (pos < line.size()) {
    const char c = line[pos];
    if (c == end) {
      ++pos;
      sink.Flush();
      return out;
    }
    if (c != '\\') {
      sink.Raw(c);
      ++pos;
      continue;
    }
    if (++pos >= line.size()) return std::nullopt;
    const char e = line[pos++];
    switch (e) {
      case 'a': sink.Unit('\a'); break;
      case 'b': sink.Unit('\b'); break;
      case 'e': sink.Unit(0x1B); break;
      case 'f': sink.Unit('\f'); break;
      case 'n': sink.Unit('\n'); break;
      case 'r': sink.Unit('\r'); break;
      case 't': sink.Unit('\t'); break;
      case 'v': sink.Unit('\v'); break;
      case 'x': {
        uint32_t v = 0;
        int digits = 0;
        while (digits < 4 && pos < line.size() && HexDigit(line[pos]) >= 0) {
          v = v * 16 + static_cast<uint32_t>(HexDigit(line[pos++]));
          ++digits;
        }
        if (digits == 0)
          sink.Raw('x');
        else
          sink.Unit(v);
        break;
      }
      default:
        if (e >= '0' && e <= '7') {
          uint32_t v = static_cast<uint32_t>(e - '0');
          for (int i = 0; i < 2 && pos < line.size() && line[pos] >= '0' && line[pos] <= '7'; ++i)
            v = v * 8 + static_cast<uint32_t>(line[pos++] - '0');
          sink.Unit(v);
        } else {
          sink.Raw(e);  // \\ \" \] and any other character stand for themselves
        }
    }
  }
  return std::nullopt;
}

void SkipBlanks(std::string_view line, size_t& pos) {
  while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t')) ++pos;
}

bool ConsumeWord(std::string_view line, size_t& pos, std::string_view word) {
  if (line.substr(pos, word.size()) != word) return false;
  pos += word.size();
  return true;
}

// "(N)" with N in hexadecimal, as in "hex(2):" and "str(7):".
std::optional<uint32_t> ParseTypeNumber(std::string_view line, size_t& pos) {
  if (pos >= line.size() || line[pos] != '(') return std::nullopt;
  ++pos;
  uint32_t v = 0;
  int digits = 0;
  while (pos < line.size() && HexDigit(line[pos]) >= 0) {
    if (++digits > 8) return std::nullopt;
    v = v * 16 + static_cast<uint32_t>(HexDigit(line[pos++]));
  }
  if (digits == 0 || pos >= line.size() || line[pos] != ')') return std::nullopt;
  ++pos;
  return v;
}

// Bytes written as "aa,bb,cc"; blanks around the bytes are allowed.
std::optional<std::string> ParseHexBytes(std::string_view text) {
  std::string bytes;
  size_t pos = 0;
  for (;;) {
    SkipBlanks(text, pos);
    if (pos >= text.size()) return bytes;
    if (pos + 1 >= text.size() || HexDigit(text[pos]) < 0 || HexDigit(text[pos + 1]) < 0)
      return std::nullopt;
    bytes += static_cast<char>(HexDigit(text[pos]) * 16 + HexDigit(text[pos + 1]));
    pos += 2;
    SkipBlanks(text, pos);
    if (pos >= text.size()) return bytes;
    if (text[pos] != ',') return std::nullopt;
    ++pos;
  }
}

// A string stored as bytes (a value Wine could not write as text): UTF-16
// little-endian, cut at its first NUL.
std::string TextFromUtf16Bytes(std::string_view bytes) {
  std::string out;
  Utf16Sink sink(out);
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const uint32_t u = static_cast<unsigned char>(bytes[i]) |
                       (static_cast<uint32_t>(static_cast<unsigned char>(bytes[i + 1])) << 8);
    if (u == 0) break;
    sink.Unit(u);
  }
  sink.Flush();
  return out;
}

std::string CutAtNul(std::string s) {
  const auto at = s.find('\0');
  if (at != std::string::npos) s.resize(at);
  return s;
}

std::string_view TrimRight(std::string_view s) {
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

// The data part of a value line, from pos. Hex data may go on over the
// following lines, each ending in a backslash; line is advanced past them.
std::optional<RegValue> ParseValueData(const std::vector<std::string_view>& lines, size_t& line,
                                       size_t pos) {
  std::string_view text = lines[line];
  RegValue v;
  if (pos < text.size() && text[pos] == '"') {
    ++pos;
    auto s = ParseEscaped(text, pos, '"');
    if (!s) return std::nullopt;
    v.Type = kRegSz;
    v.Text = CutAtNul(std::move(*s));
    return v;
  }
  if (ConsumeWord(text, pos, "str")) {
    auto type = ParseTypeNumber(text, pos);
    if (!type || !ConsumeWord(text, pos, ":\"")) return std::nullopt;
    auto s = ParseEscaped(text, pos, '"');
    if (!s) return std::nullopt;
    v.Type = *type;
    if (v.IsText()) v.Text = CutAtNul(std::move(*s));
    return v;
  }
  if (ConsumeWord(text, pos, "dword:")) {
    int digits = 0;
    while (pos < text.size() && HexDigit(text[pos]) >= 0) ++pos, ++digits;
    if (digits == 0 || digits > 8) return std::nullopt;
    v.Type = kRegDword;
    return v;
  }
  if (ConsumeWord(text, pos, "hex")) {
    v.Type = kRegBinary;
    if (pos < text.size() && text[pos] == '(') {
      auto type = ParseTypeNumber(text, pos);
      if (!type) return std::nullopt;
      v.Type = *type;
    }
    if (!ConsumeWord(text, pos, ":")) return std::nullopt;
    std::string joined;
    std::string_view part = TrimRight(text.substr(pos));
    for (;;) {
      const bool more = !part.empty() && part.back() == '\\';
      if (more) part.remove_suffix(1);
      joined += part;
      if (!more || line + 1 >= lines.size()) break;
      // Only a line of bytes goes on the value: a damaged file must not let
      // it swallow the next key or value.
      std::string_view next = lines[line + 1];
      size_t at = 0;
      SkipBlanks(next, at);
      if (at >= next.size() || HexDigit(next[at]) < 0) break;
      part = TrimRight(lines[++line]);
    }
    auto bytes = ParseHexBytes(joined);
    if (!bytes) return std::nullopt;
    if (v.IsText()) v.Text = TextFromUtf16Bytes(*bytes);
    return v;
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::string> NormalKeyPath(std::string_view key) {
  while (!key.empty() && key.front() == '\\') key.remove_prefix(1);
  while (!key.empty() && key.back() == '\\') key.remove_suffix(1);
  if (key.find("\\\\") != std::string_view::npos) return std::nullopt;
  return std::string(key);
}

RegistryHive::Key* RegistryHive::Ensure(std::string_view key) {
  auto path = NormalKeyPath(key);
  if (!path) return nullptr;
  auto [it, added] = keys_.try_emplace(LowerAscii(*path));
  if (added) it->second.Path = *path;
  return &it->second;
}

void RegistryHive::AddKey(std::string_view key) { Ensure(key); }

void RegistryHive::SetValue(std::string_view key, std::string_view name, RegValue value) {
  if (Key* k = Ensure(key)) k->Values[LowerAscii(name)] = std::move(value);
}

const RegValue* RegistryHive::FindValue(std::string_view key, std::string_view name) const {
  auto path = NormalKeyPath(key);
  if (!path) return nullptr;
  const auto k = keys_.find(LowerAscii(*path));
  if (k == keys_.end()) return nullptr;
  const auto v = k->second.Values.find(LowerAscii(name));
  return v == k->second.Values.end() ? nullptr : &v->second;
}

std::vector<std::string> RegistryHive::SubKeyNames(std::string_view key) const {
  std::vector<std::string> names;
  auto path = NormalKeyPath(key);
  if (!path) return names;
  // Keys without values of their own may be missing from the file when they
  // have subkeys, so the children are taken from every deeper path.
  const std::string prefix = path->empty() ? std::string() : LowerAscii(*path) + '\\';
  for (auto it = keys_.lower_bound(prefix); it != keys_.end(); ++it) {
    if (it->first.compare(0, prefix.size(), prefix) != 0) break;
    const std::string& spelled = it->second.Path;
    const auto end = spelled.find('\\', prefix.size());
    std::string name = spelled.substr(prefix.size(), end == std::string::npos ? end : end - prefix.size());
    if (!name.empty()) names.push_back(std::move(name));
  }
  std::stable_sort(names.begin(), names.end(), UpperLess);
  names.erase(std::unique(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
                return EqualIgnoringAsciiCase(a, b);
              }),
              names.end());
  return names;
}

RegistryHive ParseWineRegistry(std::string_view text) {
  RegistryHive hive;
  std::vector<std::string_view> lines;
  for (size_t start = 0; start <= text.size();) {
    auto end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view l = text.substr(start, end - start);
    if (!l.empty() && l.back() == '\r') l.remove_suffix(1);
    lines.push_back(l);
    start = end + 1;
  }
  if (lines.empty() || lines[0].substr(0, 22) != "WINE REGISTRY Version ") return hive;

  std::optional<std::string> key;  // the key the values below belong to
  for (size_t i = 1; i < lines.size(); ++i) {
    const std::string_view l = lines[i];
    size_t pos = 0;
    SkipBlanks(l, pos);
    if (pos >= l.size()) continue;
    if (l[pos] == '[') {
      ++pos;
      auto name = ParseEscaped(l, pos, ']');
      key.reset();
      if (!name) continue;
      auto path = NormalKeyPath(*name);
      if (!path || path->empty()) continue;
      key = *path;
      hive.AddKey(*key);
      continue;
    }
    if (l[pos] != '"' && l[pos] != '@') continue;  // comments, options such as #time=
    std::string name;
    if (l[pos] == '@') {
      ++pos;
    } else {
      ++pos;
      auto n = ParseEscaped(l, pos, '"');
      if (!n) continue;
      name = std::move(*n);
    }
    SkipBlanks(l, pos);
    if (pos >= l.size() || l[pos] != '=') continue;
    ++pos;
    SkipBlanks(l, pos);
    auto value = ParseValueData(lines, i, pos);
    if (value && key) hive.SetValue(*key, name, std::move(*value));
  }
  return hive;
}

std::string WinePrefixFromEnvironment() {
  if (const char* p = std::getenv("WINEPREFIX"); p && *p) return p;
  if (const char* h = std::getenv("HOME"); h && *h) return IncludeTrailingDelim(h) + ".wine";
  return std::string();
}

const RegistryHive* WineRegistry::Hive(RegRoot root) {
  std::optional<RegistryHive>* slot = nullptr;
  const char* file = nullptr;
  switch (root) {
    case RegRoot::CurrentUser: slot = &user_, file = "user.reg"; break;
    case RegRoot::LocalMachine: slot = &machine_, file = "system.reg"; break;
    case RegRoot::Users: return nullptr;
  }
  if (prefix_.empty()) return nullptr;
  if (!*slot) {
    std::string data;
    if (!fs_.TryReadFile(IncludeTrailingDelim(prefix_) + file, data)) data.clear();
    *slot = ParseWineRegistry(data);
  }
  return &**slot;
}

std::string WineRegistry::ReadString(RegRoot root, const std::string& key, const std::string& name) {
  const RegistryHive* hive = Hive(root);
  if (!hive) return std::string();
  const RegValue* v = hive->FindValue(key, name);
  if (!v) return std::string();
  if (!v->IsText()) throw ERegistryException(name);
  return v->Text;
}

std::vector<std::string> WineRegistry::SubKeyNames(RegRoot root, const std::string& key) {
  const RegistryHive* hive = Hive(root);
  return hive ? hive->SubKeyNames(key) : std::vector<std::string>();
}

std::string WineRegistry::LocalPath(const std::string& windowsPath) {
  namespace fs = std::filesystem;
  const std::string& w = windowsPath;
  const bool drive = w.size() >= 2 && w[1] == ':' &&
                     IsAsciiLetter(w[0]);
  // "C:name" is relative to the drive's current folder, which has no meaning here.
  if (prefix_.empty() || !drive || (w.size() > 2 && w[2] != '\\' && w[2] != '/')) return w;

  std::error_code ec;
  const fs::path link = fs::path(prefix_) / "dosdevices" / std::string{LowerAscii(w[0]), ':'};
  fs::path current = fs::canonical(link, ec);
  if (ec || !fs::is_directory(current, ec)) return w;

  // Each name is looked up as written, then without regard to case; from the
  // first name that is not there on, the rest is kept as written.
  // As Windows does, "." and ".." are resolved by name and never climb above
  // the drive's root.
  std::vector<std::string> names;
  for (size_t start = 3; start < w.size();) {
    size_t end = w.find_first_of("\\/", start);
    if (end == std::string::npos) end = w.size();
    std::string name = w.substr(start, end - start);
    start = end + 1;
    if (name.empty() || name == ".") continue;
    if (name == "..") {
      if (!names.empty()) names.pop_back();
      continue;
    }
    names.push_back(std::move(name));
  }
  bool matching = true;
  for (const std::string& name : names) {
    fs::path next = current / name;
    if (matching && !fs::exists(fs::symlink_status(next, ec))) {
      matching = false;
      for (fs::directory_iterator it(current, ec), stop; !ec && it != stop; it.increment(ec)) {
        const std::string found = it->path().filename().string();
        if (EqualIgnoringAsciiCase(found, name)) {
          next = current / found;
          matching = true;
          break;
        }
      }
    }
    current = std::move(next);
  }
  std::string out = current.string();
  const char last = w.back();
  if ((last == '\\' || last == '/') && !EndsWithDelim(out)) out += PathDelim;
  return out;
}

}  // namespace quillet

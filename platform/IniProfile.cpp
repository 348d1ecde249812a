#include <vector>

#include "platform/AsciiCase.h"
#include "platform/Errors.h"
#include "platform/FileSystem.h"
#include "platform/PrivateProfile.h"
#include "platform/TextCodec.h"

namespace quillet {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsLineBreak(char c) { return c == '\r' || c == '\n'; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

bool SameName(std::string_view a, std::string_view b) { return EqualIgnoringAsciiCase(a, b); }

// One line of the file: where its content starts and ends, and where the next
// line begins (after its CR, LF or CR LF).
struct Line {
  size_t begin, end, next;
};

std::vector<Line> SplitLines(std::string_view text) {
  std::vector<Line> lines;
  size_t i = 0;
  while (i < text.size()) {
    size_t e = i;
    while (e < text.size() && !IsLineBreak(text[e])) ++e;
    size_t n = e;
    if (n < text.size() && text[n] == '\r') ++n;
    if (n < text.size() && text[n] == '\n') ++n;
    lines.push_back({i, e, n});
    i = n;
  }
  return lines;
}

// The section name of a "[name]" line, if the line is one.
std::optional<std::string_view> SectionOf(std::string_view line) {
  line = Trim(line);
  if (line.empty() || line.front() != '[') return std::nullopt;
  const auto close = line.find(']');
  if (close == std::string_view::npos) return std::nullopt;
  return Trim(line.substr(1, close - 1));
}

// Where a key stands in a file, or where it would go.
struct Place {
  std::vector<Line> lines;
  bool sectionFound = false;
  size_t sectionLine = 0;                   // index into lines, when found
  size_t keyLine = std::string_view::npos;  // index into lines
  size_t eq = 0;                            // offset of '=' in that line
  size_t insertAt = 0;                      // after the section's last non-blank line
};

// Only the first section of the name counts, and within it the first line of
// the key: later duplicates are never read nor written.
Place Locate(std::string_view text, std::string_view section, std::string_view key) {
  Place p;
  p.lines = SplitLines(text);
  section = Trim(section);
  key = Trim(key);
  bool inSection = false;
  for (size_t i = 0; i < p.lines.size(); ++i) {
    const Line& l = p.lines[i];
    std::string_view line = text.substr(l.begin, l.end - l.begin);
    // Editors that save in UTF-8 may put a byte order mark before the first section.
    if (i == 0 && line.starts_with("\xEF\xBB\xBF")) line.remove_prefix(3);
    if (auto s = SectionOf(line)) {
      if (inSection) break;
      inSection = SameName(*s, section);
      if (inSection) {
        p.sectionFound = true;
        p.sectionLine = i;
        p.insertAt = l.next;
      }
      continue;
    }
    if (!inSection) continue;
    const auto eq = line.find('=');
    if (eq != std::string_view::npos && SameName(Trim(line.substr(0, eq)), key)) {
      p.keyLine = i;
      p.eq = eq;
      return p;
    }
    if (!Trim(line).empty()) p.insertAt = l.next;
  }
  return p;
}

}  // namespace

bool CanStoreProfileEntry(std::string_view section, std::string_view key, std::string_view value) {
  for (std::string_view s : {section, key, value})
    for (char c : s)
      if (IsLineBreak(c)) return false;
  // A ']' would end the section name early; a key holding '=' would split at
  // its own '='; a key starting with '[' could read back as a section line.
  if (section.find(']') != std::string_view::npos) return false;
  if (key.find('=') != std::string_view::npos) return false;
  const std::string_view k = Trim(key);
  return k.empty() || k.front() != '[';
}

std::optional<std::string> FindProfileValue(std::string_view text, std::string_view section,
                                            std::string_view key) {
  const Place p = Locate(text, section, key);
  if (p.keyLine == std::string_view::npos) return std::nullopt;
  const Line& l = p.lines[p.keyLine];
  std::string_view v = Trim(text.substr(l.begin + p.eq + 1, l.end - l.begin - p.eq - 1));
  if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
    v = v.substr(1, v.size() - 2);
  if (v.size() > kProfileValueLimit) v = v.substr(0, kProfileValueLimit);
  // The value is handed back as the system's profile functions hand it:
  // as a C string, which a NUL byte ends.
  v = v.substr(0, v.find('\0'));
  return std::string(v);
}

std::string SetProfileValue(std::string_view text, std::string_view section, std::string_view key,
                            std::string_view value) {
  if (!CanStoreProfileEntry(section, key, value)) return std::string(text);
  const Place p = Locate(text, section, key);

  if (p.keyLine != std::string_view::npos) {
    // The name as it stands (its spelling, its blanks) is kept; only the value
    // changes, and the line keeps its own ending.
    const Line& l = p.lines[p.keyLine];
    std::string out(text.substr(0, l.begin + p.eq + 1));
    out.append(value);
    out.append(text.substr(l.end));
    return out;
  }

  std::string entry(Trim(key));
  entry.append("=").append(value).append("\r\n");
  auto endLine = [](std::string& s) {
    if (!s.empty() && !IsLineBreak(s.back())) s += "\r\n";
  };
  if (p.sectionFound) {
    std::string out(text.substr(0, p.insertAt));
    endLine(out);
    out += entry;
    out.append(text.substr(p.insertAt));
    return out;
  }
  std::string out(text);
  endLine(out);
  out.append("[").append(Trim(section)).append("]\r\n").append(entry);
  return out;
}

std::string RemoveProfileValue(std::string_view text, std::string_view section, std::string_view key) {
  std::string out(text);
  for (;;) {
    const Place p = Locate(out, section, key);
    if (p.keyLine == std::string_view::npos) return out;
    const Line& l = p.lines[p.keyLine];
    bool othersInSection = false;
    for (size_t i = p.sectionLine + 1; i < p.lines.size() && !othersInSection; ++i) {
      const std::string_view line = std::string_view(out).substr(p.lines[i].begin, p.lines[i].end - p.lines[i].begin);
      if (SectionOf(line)) break;
      othersInSection = i != p.keyLine && !Trim(line).empty();
    }
    out.erase(l.begin, l.next - l.begin);
    // Only the first section of a name counts: an emptied one goes, so that
    // the next search looks into the one that counts now.
    if (!othersInSection) {
      const Line& s = p.lines[p.sectionLine];
      const size_t begin = p.sectionLine == 0 && out.starts_with("\xEF\xBB\xBF") ? 3 : s.begin;
      out.erase(begin, s.next - begin);
    }
  }
}

DecodedProfile DecodeProfileText(std::string_view bytes) {
  const bool le = bytes.starts_with("\xFF\xFE"), be = bytes.starts_with("\xFE\xFF");
  if (!le && !be) return {std::string(bytes), ProfileBytes::AsTheyAre};
  return {Utf16BytesToUtf8(bytes.substr(2), be), be ? ProfileBytes::Utf16Be : ProfileBytes::Utf16Le};
}

std::string EncodeProfileText(std::string_view text, ProfileBytes bytes) {
  switch (bytes) {
    case ProfileBytes::Utf16Le:
      return "\xFF\xFE" + Utf8ToUtf16Bytes(text, false);
    case ProfileBytes::Utf16Be:
      return "\xFE\xFF" + Utf8ToUtf16Bytes(text, true);
    case ProfileBytes::AsTheyAre:
      break;
  }
  return std::string(text);
}

std::string IniProfile::ReadString(const std::string& file, const std::string& section,
                                   const std::string& key, const std::string& def) {
  std::string text;
  if (!fs_.TryReadFile(file, text)) return def;
  auto v = FindProfileValue(DecodeProfileText(text).Text, section, key);
  return v ? *v : def;
}

std::string IniProfile::ReadStringUpTo(size_t limit, const std::string& file, const std::string& section,
                                       const std::string& key, const std::string& def) {
  std::string text;
  if (fs_.ReadFileUpTo(file, limit, text).Outcome != FileSystem::ReadOutcome::Read) return def;
  auto v = FindProfileValue(DecodeProfileText(text).Text, section, key);
  return v ? *v : def;
}

namespace {

constexpr const char* kMalformedUtf16 =
    "its UTF-16 text is not well formed, so its other lines could not be kept as they are";

// False for UTF-16 that does not come back byte for byte from its text (an
// unpaired surrogate, an odd last byte): writing it would change lines
// nobody asked to change.
bool KeepsItsBytes(const DecodedProfile& decoded, std::string_view bytes) {
  return decoded.Bytes == ProfileBytes::AsTheyAre || EncodeProfileText(decoded.Text, decoded.Bytes) == bytes;
}

constexpr const char* kCannotStore = "the entry would not read back as written (a line break, or a ']' or '=' in a name)";

// "64 KiB", or the bytes when the limit is no whole number of KiB.
std::string SizeText(size_t bytes) {
  return bytes % 1024 == 0 ? std::to_string(bytes / 1024) + " KiB" : std::to_string(bytes) + " bytes";
}

}  // namespace

void IniProfile::WriteString(const std::string& file, const std::string& section,
                             const std::string& key, const std::string& value) {
  if (!CanStoreProfileEntry(section, key, value)) throw EWriteError(file, kCannotStore);
  std::string text;
  if (fs_.FileExists(file) && !fs_.TryReadFile(file, text))
    throw EWriteError(file, "it cannot be read, so its other lines could not be kept");
  const DecodedProfile old = DecodeProfileText(text);
  if (!KeepsItsBytes(old, text)) throw EWriteError(file, kMalformedUtf16);
  try {
    // Shortcut files are written by the thousand: each is replaced whole, but
    // not waited for on the disk one by one.
    fs_.WriteFile(file, EncodeProfileText(SetProfileValue(old.Text, section, key, value), old.Bytes),
                  FileSystem::Flush::AtomicOnly);
  } catch (const QuilletError& e) {
    throw EWriteError(file, e.Reason());
  }
}

template <class Edit>
void IniProfile::EditIn(FileSystem::Folder& dir, const std::string& name, const FileSystem::Folder& within,
                        size_t limit, Edit edit) {
  const std::string shown = dir.Path() + name;
  FileSystem::FilePlace place = fs_.PlaceOfFile(dir, name, within);
  if (!place.Reason.empty()) throw EWriteError(shown, place.Reason);
  FileSystem::Folder& where = place.Dir ? *place.Dir : dir;
  std::string text;
  const FileSystem::LimitedRead read = fs_.ReadFileIn(where, place.Name, limit, text);
  switch (read.Outcome) {
    case FileSystem::ReadOutcome::Read:
    case FileSystem::ReadOutcome::Missing:
      break;
    case FileSystem::ReadOutcome::TooLarge:
      throw EWriteError(shown, "it is larger than " + SizeText(limit) + ", so it is left as it is");
    case FileSystem::ReadOutcome::Unreadable:
      // Its other lines could not be kept.
      throw EWriteError(shown, read.Reason);
  }
  // A UTF-16 file is edited as text and written back in UTF-16: keys
  // written in plain bytes would be lost in it.
  const DecodedProfile old = DecodeProfileText(text);
  if (!KeepsItsBytes(old, text)) throw EWriteError(shown, kMalformedUtf16);
  const std::optional<std::string> edited = edit(old.Text, read.Outcome == FileSystem::ReadOutcome::Read);
  if (!edited) return;
  try {
    fs_.WriteFileIn(where, place.Name, EncodeProfileText(*edited, old.Bytes), FileSystem::Flush::AtomicOnly);
  } catch (const QuilletError& e) {
    throw EWriteError(shown, e.Reason());
  }
}

void IniProfile::WriteStringIn(FileSystem::Folder& dir, const std::string& name, const FileSystem::Folder& within,
                               size_t limit, const std::string& section, const std::string& key,
                               const std::string& value) {
  if (!CanStoreProfileEntry(section, key, value)) throw EWriteError(dir.Path() + name, kCannotStore);
  EditIn(dir, name, within, limit, [&](const std::string& text, bool) -> std::optional<std::string> {
    return SetProfileValue(text, section, key, value);
  });
}

void IniProfile::DeleteKeyIn(FileSystem::Folder& dir, const std::string& name, const FileSystem::Folder& within,
                             size_t limit, const std::string& section, const std::string& key) {
  EditIn(dir, name, within, limit, [&](const std::string& text, bool exists) -> std::optional<std::string> {
    if (!exists) return std::nullopt;
    std::string edited = RemoveProfileValue(text, section, key);
    if (edited.size() == text.size()) return std::nullopt;
    return edited;
  });
}

}  // namespace quillet

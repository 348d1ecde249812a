#include "bookmarks/DocumentFile.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <stdexcept>

namespace quillet {

TextLines SplitDocumentText(std::string_view text) {
  if (const void* nul = std::memchr(text.data(), '\0', text.size()))
    text = text.substr(0, static_cast<size_t>(static_cast<const char*>(nul) - text.data()));
  return SplitTextLines(text);
}

TextLines SplitTextLines(std::string_view text) {
  TextLines lines;
  // One allocation for the list: a million-line file would otherwise move
  // its lines some twenty times while the list grows.
  size_t breaks = static_cast<size_t>(std::count(text.begin(), text.end(), '\n'));
  if (breaks == 0) breaks = static_cast<size_t>(std::count(text.begin(), text.end(), '\r'));
  lines.reserve(breaks + 1);
  const char* const base = text.data();
  const size_t size = text.size();
  size_t lf = 0;  // the next LF at or after i, or size; found again once passed
  bool lfKnown = false;
  size_t i = 0;
  while (i < size) {
    // The line ends at the first CR or LF. Both are found with memchr; the
    // next LF is remembered, so a file of CRs alone is not searched again
    // to its end for every line.
    if (!lfKnown || lf < i) {
      const void* p = std::memchr(base + i, '\n', size - i);
      lf = p ? static_cast<size_t>(static_cast<const char*>(p) - base) : size;
      lfKnown = true;
    }
    size_t e = lf;
    if (const void* cr = std::memchr(base + i, '\r', e - i)) e = static_cast<size_t>(static_cast<const char*>(cr) - base);
    lines.emplace_back(text.substr(i, e - i));
    if (e < size) {
      // CR LF ends one line, not two.
      if (text[e] == '\r' && e + 1 < size && text[e + 1] == '\n') ++e;
      ++e;
    }
    i = e;
  }
  return lines;
}

DocumentLoad ReadDocumentFile(Context& ctx, const std::string& name, TextLines& lines) {
  lines.clear();
  DocumentLoad load;
  try {
    std::string text = ctx.Fs().ReadFile(name);
    if (const void* nul = std::memchr(text.data(), '\0', text.size()))
      load.NulAt = static_cast<size_t>(static_cast<const char*>(nul) - text.data());
    lines = SplitDocumentText(text);
  } catch (const std::bad_alloc&) {
    load.Loaded = false;
  } catch (const std::length_error&) {
    load.Loaded = false;
  }
  if (!load.Loaded) {
    lines.clear();
    load.NulAt.reset();
    ctx.UI().ShowMessage("File too big, load cancelled");
  }
  return load;
}

DocumentLoad LoadHtmlFile(Context& ctx, const std::string& name) {
  return ReadDocumentFile(ctx, name, ctx.HtmlLines);
}

std::string NulByteText(const std::string& name, size_t offset) {
  return name + " holds a NUL byte at offset " + std::to_string(offset);
}

void SayWhereTextStopped(Context& ctx, const std::string& name, const DocumentLoad& load) {
  if (load.NulAt) ctx.UI().ShowMessage(NulByteText(name, *load.NulAt) + "; only the text before it was read.");
}

bool MustNotSaveOver(Context& ctx, const std::string& name, const DocumentLoad& load) {
  if (!load.Loaded) return true;
  if (!load.NulAt) return false;
  ctx.UI().ShowMessage(NulByteText(name, *load.NulAt) +
                       "; the text after it cannot be read, so the file was left as it was.");
  return true;
}

void SaveHtmlFile(FileSystem& fs, const TextLines& lines, const std::string& name) {
  // The lines go out in blocks of about 1 MiB: a large document is never
  // copied whole into one string.
  constexpr size_t kBlock = 1 << 20;
  std::string block;
  size_t next = 0;
  fs.WriteFileFrom(name, [&]() -> std::string_view {
    block.clear();
    while (next < lines.size() && block.size() < kBlock) block.append(lines[next++]).append("\r\n");
    return block;
  });
}

std::string SaveFailureText(const std::string& message, const EFCreateError& e) {
  if (e.Reason().empty()) return message;
  return message + "\n" + TextWithReason(e);
}

std::unique_ptr<FileSystem::Lock> LockDocumentFile(Context& ctx, const std::string& name) {
  return ctx.Fs().LockFile(name, [&] {
    ctx.UI().ShowMessage("Another program is changing " + name + "; waiting until it is done.");
  });
}

}  // namespace quillet

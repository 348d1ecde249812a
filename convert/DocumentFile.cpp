#include "convert/DocumentFile.h"

#include <cstring>
#include <new>
#include <stdexcept>

namespace quillet {

TextLines SplitDocumentText(std::string_view text) {
  if (const void* nul = std::memchr(text.data(), '\0', text.size()))
    text = text.substr(0, static_cast<size_t>(static_cast<const char*>(nul) - text.data()));
  TextLines lines;
  size_t i = 0;
  while (i < text.size()) {
    size_t e = i;
    while (e < text.size() && text[e] != '\r' && text[e] != '\n') ++e;
    lines.emplace_back(text.substr(i, e - i));
    if (e < text.size()) {
      // CR LF ends one line, not two.
      if (text[e] == '\r' && e + 1 < text.size() && text[e + 1] == '\n') ++e;
      ++e;
    }
    i = e;
  }
  return lines;
}

std::string JoinDocumentLines(const TextLines& lines) {
  size_t size = 0;
  for (const auto& l : lines) size += l.size() + 2;
  std::string out;
  out.reserve(size);
  for (const auto& l : lines) out.append(l).append("\r\n");
  return out;
}

bool ReadDocumentFile(Context& ctx, const std::string& name, TextLines& lines) {
  lines.clear();
  try {
    std::string text = ctx.Fs().ReadFile(name);
    lines = SplitDocumentText(text);
  } catch (const std::bad_alloc&) {
    lines.clear();
    ctx.UI().ShowMessage("File too big, load cancelled");
    return false;
  } catch (const std::length_error&) {
    lines.clear();
    ctx.UI().ShowMessage("File too big, load cancelled");
    return false;
  }
  return true;
}

bool LoadHtmlFile(Context& ctx, const std::string& name) {
  return ReadDocumentFile(ctx, name, ctx.HtmlLines);
}

void SaveHtmlFile(FileSystem& fs, const TextLines& lines, const std::string& name) {
  fs.WriteFile(name, JoinDocumentLines(lines));
}

}  // namespace quillet

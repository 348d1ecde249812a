#include "cleanup/Emphasis.h"

#include "bookmarks/BookmarkFormat.h"

namespace quillet {

namespace {

std::string OpeningTag(char letter) { return std::string{'<', UpperAscii(letter), '>'}; }
std::string ClosingTag(char letter) { return std::string{'<', '/', UpperAscii(letter), '>'}; }

constexpr size_t npos = std::string::npos;

}  // namespace

size_t ApplyEffect(Context& ctx, char letter) {
  BusyCursor busy(ctx.UI());
  size_t changed = 0;
  const std::string open = OpeningTag(letter), close = ClosingTag(letter);
  for (std::string& line : ctx.HtmlLines) {
    const std::string upper = UpperAscii(line);
    if (upper.find(open) != npos) continue;
    const LineSpan description = DescriptionSpan(line);
    if (description.Empty()) continue;
    const size_t start = description.Begin, e = description.End;
    std::string wrapped;
    wrapped.reserve(line.size() + open.size() + close.size());
    wrapped.append(line, 0, start).append(open);
    wrapped.append(line, start, e - start).append(close);
    wrapped.append(line, e, npos);
    line = std::move(wrapped);
    ++changed;
  }
  return changed;
}

size_t RemoveEffect(Context& ctx, char letter) {
  BusyCursor busy(ctx.UI());
  size_t changed = 0;
  const std::string open = OpeningTag(letter), close = ClosingTag(letter);
  for (std::string& line : ctx.HtmlLines) {
    const size_t o = UpperAscii(line).find(open);
    if (o == npos) continue;
    line.erase(o, open.size());
    // The closing tag is looked for in the whole line, after the opening
    // tag is gone, as the tag may have been typed anywhere.
    const size_t c = UpperAscii(line).find(close);
    if (c != npos) line.erase(c, close.size());
    ++changed;
  }
  return changed;
}

std::optional<size_t> ToggleEffect(Context& ctx, char letter, bool& checked) {
  if (ctx.HtmlLines.empty()) return std::nullopt;
  const size_t changed = checked ? RemoveEffect(ctx, letter) : ApplyEffect(ctx, letter);
  checked = !checked;
  return changed;
}

}  // namespace quillet

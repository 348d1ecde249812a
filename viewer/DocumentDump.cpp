#include "viewer/DocumentDump.h"

#include "platform/TextCodec.h"
#include "viewer/Section.h"
#include "viewer/SectionList.h"

namespace quillet {

namespace {

// Line text with the placeholders spelt out.
std::string ShownText(std::u16string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (char16_t c : text) {
    if (c == kImageChar)
      out += u"[img]";
    else if (c == kFormControlChar)
      out += u"[ctl]";
    else
      out += c;
  }
  return Utf16ToUtf8(out);
}

void DumpBlock(std::string& out, const TSectionBase& block, const std::string& indent, int x0) {
  out += indent;
  out += block.ClassName();
  out += " y=" + std::to_string(block.YValue) + " h=" + std::to_string(block.SectionHeight);
  // Hook (tables): a ThtmlTable prints "widths=... spacing=... padding=...
  // border=..." here, then its rows ("row h=...") and real cells ("cell x=
  // y= w= h=") with each cell's blocks below, two spaces deeper each.
  const auto* section = dynamic_cast<const TSection*>(&block);
  if (section && section->ListType != ListKind::None) out += " marker=" + Utf16ToUtf8(section->MarkerText());
  out += '\n';
  if (!section) return;
  int top = section->YValue;
  for (const LineRec& line : section->Lines) {
    out += indent;
    out += "  line x=" + std::to_string(x0 + line.LineIndent) + " y=" + std::to_string(top) +
           " h=" + std::to_string(line.Height()) + " |" + ShownText(section->LineText(line)) + "|\n";
    top += line.Height();
  }
}

}  // namespace

std::string DumpDocument(const TSectionList& doc, std::u16string_view title, int marginWidth) {
  std::string out = "title |" + Utf16ToUtf8(title) + "|\n";
  for (const auto& block : doc.Blocks()) DumpBlock(out, *block, "", marginWidth);
  return out;
}

}  // namespace quillet

#pragma once
// A page parsed into a document, and its blocks written as short lines:
//   TSection |text|             a plain section with its text
//   TSection L2 center |text|   its list level (when above 0), alignment
//   TUListItem L1 • |a|         list items with their marker
//   TParagraphSpace, THeadingSpace 1, THorzLine
// Compact() leaves out plain sections that hold nothing (the parser leaves
// many, one for each stretch of white space between blocks; they take no
// room unless they clear floats).
#include <string>
#include <string_view>
#include <vector>

#include "platform/FixedCanvas.h"
#include "platform/TextCodec.h"
#include "viewer/layout/FixedBlocks.h"
#include "viewer/layout/ListItems.h"
#include "viewer/layout/SectionList.h"
#include "viewer/parser/Parser.h"

namespace quillet::test {

inline std::string BlockLine(const TSectionBase& block) {
  std::string s(block.ClassName());
  if (const auto* h = dynamic_cast<const THeadingSpace*>(&block)) s += " " + std::to_string(h->Level);
  const auto* section = dynamic_cast<const TSection*>(&block);
  if (!section) return s;
  if (section->Level > 0) s += " L" + std::to_string(section->Level);
  if (section->Justify == Justification::Center) s += " center";
  if (section->Justify == Justification::Right) s += " right";
  if (section->ListType != ListKind::None && !section->MarkerText().empty())
    s += " " + Utf16ToUtf8(section->MarkerText());
  return s + " |" + Utf16ToUtf8(section->Buff) + "|";
}

struct ParsedPage {
  TSectionList doc;
  TNameList names;
  HtmlParser parser;

  ParsedPage() = default;
  explicit ParsedPage(std::string_view html) { Parse(html); }

  void Parse(std::string_view html) { parser.ParseHtmlBuffer(html, doc, names); }

  std::vector<std::string> Outline() const {
    std::vector<std::string> out;
    for (const auto& block : doc.Blocks()) out.push_back(BlockLine(*block));
    return out;
  }
  std::vector<std::string> Compact() const {
    std::vector<std::string> out;
    for (const auto& block : doc.Blocks()) {
      const auto* s = dynamic_cast<const TSection*>(block.get());
      if (s && s->ClassName() == "TSection" && s->Buff.empty() && s->ClearAttr == ClearKind::None) continue;
      out.push_back(BlockLine(*block));
    }
    return out;
  }
  // The index-th block that is a text section (empty ones included).
  const TSection& Section(size_t index) const {
    for (const auto& block : doc.Blocks())
      if (const auto* s = dynamic_cast<const TSection*>(block.get()); s && index-- == 0) return *s;
    throw std::out_of_range("no such section");
  }
  // The text section holding text, first of all.
  const TSection& SectionWith(std::u16string_view text) const {
    for (const auto& block : doc.Blocks())
      if (const auto* s = dynamic_cast<const TSection*>(block.get()); s && s->Buff.find(text) != std::u16string::npos)
        return *s;
    throw std::out_of_range("no section holds " + Utf16ToUtf8(text));
  }
  // The font run of the character at the text's first occurrence.
  const TFontObj& RunAt(std::u16string_view text) const {
    const TSection& s = SectionWith(text);
    return *FontAt(s.Fonts, static_cast<int>(s.Buff.find(text)));
  }
};

inline std::vector<std::string> CompactOf(std::string_view html) { return ParsedPage(html).Compact(); }

// n copies of a piece of markup.
inline std::string Times(int n, std::string_view piece) {
  std::string s;
  for (int i = 0; i < n; ++i) s += piece;
  return s;
}

}  // namespace quillet::test

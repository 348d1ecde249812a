#include "viewer/document/DocumentText.h"

#include <algorithm>
#include <vector>

#include "viewer/layout/Cell.h"
#include "viewer/layout/Section.h"
#include "viewer/tables/Table.h"

namespace quillet {

namespace {

// The text sections of a cell, tables' cells included, in no set order.
void CollectSections(const TCell& cell, std::vector<const TSection*>& out) {
  for (const auto& block : cell.Blocks()) {
    if (const auto* section = dynamic_cast<const TSection*>(block.get())) {
      out.push_back(section);
    } else if (const auto* table = dynamic_cast<const ThtmlTable*>(block.get())) {
      CollectSections(table->Caption.Cell, out);
      for (const auto& row : table->Rows)
        for (const auto& c : row->Cells) CollectSections(c->Cell, out);
    }
  }
}

}  // namespace

std::u16string DocumentText(const TCell& cell, int from, int to) {
  std::vector<const TSection*> sections;
  CollectSections(cell, sections);
  std::sort(sections.begin(), sections.end(),
            [](const TSection* a, const TSection* b) { return a->StartCurs < b->StartCurs; });
  std::u16string text;
  bool first = true;
  for (const TSection* s : sections) {
    const int b = std::max(from - s->StartCurs, 0);
    const int e = std::min(to - s->StartCurs, s->Len());
    if (b >= e) continue;
    std::u16string line;
    for (int i = b; i < e; ++i) {
      const char16_t c = s->Buff[static_cast<size_t>(i)];
      if (!IsPlaceholder(c)) line += c;
    }
    while (!line.empty() && line.back() == u' ') line.pop_back();
    if (!first) text += u'\n';
    text += line;
    first = false;
  }
  return text;
}

}  // namespace quillet

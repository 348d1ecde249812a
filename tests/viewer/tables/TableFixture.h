#pragma once
// Tables built by hand, as the parser's table loop will build them, on the
// fixed canvas: a cell's text of n characters is 8n pixels wide and one
// line is 18 high. With the default padding 1 and spacing 2 a cell adds
// d = 4 to its content's widths, and a row of one line is 18 + 4 = 22 high.
#include <cstdio>
#include <initializer_list>
#include <memory>
#include <string>
#include <utility>

#include "tests/viewer/layout/LayoutFixture.h"
#include "viewer/tables/Table.h"

namespace quillet::test {

// An attribute as the reader gives it: the value's leading number (with a
// sign) in Number, the text as written.
inline TAttribute Attr(Sy code, std::u16string text) {
  TAttribute a;
  a.Code = code;
  size_t i = 0;
  const bool negative = !text.empty() && text[0] == u'-';
  if (!text.empty() && (text[0] == u'-' || text[0] == u'+')) i = 1;
  long n = 0;
  for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9' && n < 100000000; ++i) n = n * 10 + (text[i] - u'0');
  a.Number = static_cast<int32_t>(negative ? -n : n);
  a.Text = std::move(text);
  return a;
}

// A bare attribute (BORDER): the reader gives it the number 1.
inline TAttribute Bare(Sy code) {
  TAttribute a;
  a.Code = code;
  a.Number = 1;
  return a;
}

inline TAttributeList Attrs(std::initializer_list<TAttribute> items = {}) {
  TAttributeList list;
  for (const TAttribute& a : items) list.Add(a);
  return list;
}

// Builds one table: rows and cells with a line of text each.
class TableBuilder {
 public:
  TableBuilder(TSectionList& doc, const TAttributeList& attributes, const TCell* enclosing = nullptr,
               Justification justify = Justification::Left, int level = 0)
      : doc_(doc),
        table_(std::make_unique<ThtmlTable>(doc, attributes, level, enclosing ? enclosing : &doc, justify)) {}

  TCellList& Row(const TAttributeList& attributes = {}) { return table_->AddRow(attributes); }
  // A cell in the last row (a row is started when there is none), holding
  // one section with the text unless it is empty.
  TCellObj& Cell(std::u16string_view text, const TAttributeList& attributes = {}) {
    if (table_->Rows.empty()) Row();
    TCellList& row = *table_->Rows.back();
    TCellObj& cell = row.AddCell(std::make_unique<TCellObj>(&doc_, attributes, row.VAlign));
    if (!text.empty()) AddText(cell.Cell, text);
    return cell;
  }
  void Caption(std::u16string_view text, const TAttributeList& attributes = {}) {
    AddText(table_->StartCaption(attributes), text);
  }
  ThtmlTable& Table() { return *table_; }
  // Hands the table over, for a cell to hold.
  std::unique_ptr<ThtmlTable> Take() { return std::move(table_); }

  TSection& AddText(TCell& cell, std::u16string_view text) {
    auto s = std::make_unique<TSection>(doc_, 0, Justification::Left, TUrlTarget(), BaseFont());
    s->AddText(text);
    TSection& ref = *s;
    cell.Add(std::move(s));
    return ref;
  }

 private:
  TSectionList& doc_;
  std::unique_ptr<ThtmlTable> table_;
};

// Adds the built table to the document and returns it.
inline ThtmlTable& AddTable(TSectionList& doc, TableBuilder& b) {
  ThtmlTable& t = b.Table();
  doc.Add(b.Take());
  return t;
}

// The colour the last FillRect covering the point painted, as "#RRGGBB";
// empty when none did.
inline std::string FilledAt(const FixedCanvas& canvas, int x, int y) {
  std::string found;
  for (const std::string& call : canvas.Calls) {
    int l, t, r, b;
    char color[8] = {};
    if (std::sscanf(call.c_str(), "FillRect %d,%d,%d,%d %7s", &l, &t, &r, &b, color) == 5 && x >= l && x < r &&
        y >= t && y < b)
      found = color;
  }
  return found;
}

}  // namespace quillet::test

#include "viewer/document/DocumentDump.h"

#include "platform/TextCodec.h"
#include "viewer/forms/FormControls.h"
#include "viewer/layout/Section.h"
#include "viewer/layout/SectionList.h"
#include "viewer/tables/Table.h"

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

void DumpBlock(std::string& out, const TSectionBase& block, const std::string& indent, int x0);

void DumpCell(std::string& out, const TCell& cell, const std::string& indent, int x0) {
  for (const auto& block : cell.Blocks()) DumpBlock(out, *block, indent, x0);
}

std::string JoinWidths(const std::vector<int>& widths) {
  std::string s;
  for (size_t i = 0; i < widths.size(); ++i) s += (i ? "," : "") + std::to_string(widths[i]);
  return s;
}

// The rows and their real cells, each cell's blocks below it; a caption
// where it is drawn.
void DumpTable(std::string& out, const ThtmlTable& table, const std::string& indent, int x0) {
  out += " widths=" + JoinWidths(table.Widths) + " spacing=" + std::to_string(table.CellSpacing) +
         " padding=" + std::to_string(table.CellPadding) + " border=" + (table.Border ? "1" : "0") + '\n';
  const std::string inner = indent + "  ";
  const auto caption = [&] {
    if (table.Caption.Cell.Empty()) return;
    out += inner + "caption x=" + std::to_string(x0 + table.Indent) + " y=" + std::to_string(table.CaptionY()) +
           " w=" + std::to_string(table.TotalWidth) + " h=" + std::to_string(table.CaptionHeight) + '\n';
    DumpCell(out, table.Caption.Cell, inner + "  ", x0 + table.Indent);
  };
  if (table.TopCaption) caption();
  const auto& cells = table.RealCells();
  auto next = cells.begin();
  for (size_t i = 0; i < table.Rows.size(); ++i) {
    out += inner + "row h=" + std::to_string(table.Rows[i]->RowHeight) + '\n';
    for (; next != cells.end() && (*next)->Row == static_cast<int>(i); ++next) {
      const TCellObj& cell = **next;
      out += inner + "  cell x=" + std::to_string(x0 + table.CellX(cell)) + " y=" + std::to_string(table.CellY(cell)) +
             " w=" + std::to_string(cell.Wd) + " h=" + std::to_string(cell.Ht) + '\n';
      DumpCell(out, cell.Cell, inner + "    ", x0 + table.ContentX(cell));
    }
  }
  if (!table.TopCaption) caption();
}

void DumpBlock(std::string& out, const TSectionBase& block, const std::string& indent, int x0) {
  out += indent;
  out += block.ClassName();
  out += " y=" + std::to_string(block.YValue) + " h=" + std::to_string(block.SectionHeight);
  if (const auto* table = dynamic_cast<const ThtmlTable*>(&block)) {
    DumpTable(out, *table, indent, x0);
    return;
  }
  const auto* section = dynamic_cast<const TSection*>(&block);
  if (section && section->ListType != ListKind::None) out += " marker=" + Utf16ToUtf8(section->MarkerText());
  out += '\n';
  if (!section) return;
  int top = section->YValue;
  for (const LineRec& line : section->Lines) {
    out += indent;
    out += "  line x=" + std::to_string(x0 + line.LineIndent) + " y=" + std::to_string(top) +
           " h=" + std::to_string(line.Height()) + " |" + ShownText(section->LineText(line)) + "|\n";
    for (const TFormControlObj* control : section->FormControls()) {
      if (control->Pos < line.Start || control->Pos >= line.Start + line.Ln) continue;
      out += indent + "    ctl " + std::string(control->KindName()) + " x=" + std::to_string(x0 + control->LayoutX) +
             " y=" + std::to_string(control->YValue) + " w=" + std::to_string(control->Width()) +
             " h=" + std::to_string(control->Height()) + " |" + Utf16ToUtf8(control->Name) + "|\n";
    }
    top += line.Height();
  }
}

}  // namespace

std::string DumpDocument(const TSectionList& doc, std::u16string_view title, int marginWidth) {
  std::string out = "title |" + Utf16ToUtf8(title) + "|\n";
  DumpCell(out, doc, "", marginWidth);
  return out;
}

}  // namespace quillet

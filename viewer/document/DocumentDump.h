#pragma once
// The laid-out document as text, one line per block, for quillet-render
// --dump, tests and scripts. Keep the format stable: they read it.
//
//   title |<Title>|
//   <ClassName> y=<top> h=<SectionHeight>[ marker=<marker text>]
//     line x=<x where its text starts> y=<top of the line> h=<height> |<text>|
//       ctl <kind> x=<left> y=<top> w=<width> h=<height> |<NAME>|
//
//   ThtmlTable y=<top> h=<SectionHeight> widths=<w1>,<w2>,... spacing=<CellSpacing> padding=<CellPadding> border=<0 or 1>
//     caption x=<x> y=<top> w=<width> h=<height>     (only with a caption)
//       <the caption's blocks>
//     row h=<RowHeight>
//       cell x=<x> y=<y> w=<Wd> h=<Ht>
//         <the cell's blocks>
//
// One line per block, two more spaces of indent per nesting (a section's
// lines under it, a table's rows, a row's real cells, a cell's blocks). A
// cell's x and y are its column's and row's origin (the cell spacing before
// it included, as in w and h); a caption is listed above or below the rows
// where it is drawn. A floating table takes no height in the flow: its h is
// 0, its rows give its size. List items (bullet, ordered, definition) add
// marker=, empty for none. In line text a picture shows as [img], a form
// control as [ctl], and each control on the line has a ctl line below it
// (kinds: edit, button, checkbox, radio, listbox, combo, textarea). Every x and y is in the pane's pixels as painted at
// scroll position 0: y as laid out (the top margin included), x plus the
// left margin given.
#include <string>
#include <string_view>

namespace quillet {

class TSectionList;

std::string DumpDocument(const TSectionList& doc, std::u16string_view title, int marginWidth);

}  // namespace quillet

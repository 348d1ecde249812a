#pragma once
// The laid-out document as text, one line per block, for quillet-render
// --dump, tests and scripts. Keep the format stable: they read it.
//
//   title |<Title>|
//   <ClassName> y=<top> h=<SectionHeight>[ marker=<marker text>]
//     line x=<x where its text starts> y=<top of the line> h=<height> |<text>|
//
// One line per block, two more spaces of indent per nesting (a section's
// lines under it). List items (bullet, ordered, definition) add marker=,
// empty for none. In line text a picture shows as [img], a form control as
// [ctl]. Every x and y is in the pane's pixels as painted at scroll position
// 0: y as laid out (the top margin included), x plus the left margin given.
#include <string>
#include <string_view>

namespace quillet {

class TSectionList;

std::string DumpDocument(const TSectionList& doc, std::u16string_view title, int marginWidth);

}  // namespace quillet

// The pane's parser and layout on arbitrary bytes: HTML from a block of bytes
// or the document's lines, or plain text; the events and the script handler
// set or not; pictures off (as the main window shows pages) or on without a
// file system (every picture broken); then layout at a width from the input
// on the fixed canvas, one paint, queries at points and at text positions,
// the forms' pairs and reset, a scroll and a paint, and the dump. It must
// end, stay in bounds, never exhaust the stack, and leave a document whose
// text positions add up, the text of its tables' cells and captions
// included.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/FixedCanvas.h"
#include "viewer/document/DocumentDump.h"
#include "viewer/forms/Forms.h"
#include "viewer/layout/Section.h"
#include "viewer/layout/SectionList.h"
#include "viewer/parser/Parser.h"
#include "viewer/tables/Table.h"
#include "viewer/text/ViewerErrors.h"

using namespace quillet;

namespace {

// The characters of the text in a cell, its tables' cells and captions
// included.
int TextLength(const TCell& cell) {
  int len = 0;
  for (const auto& block : cell.Blocks()) {
    if (const auto* s = dynamic_cast<const TSection*>(block.get())) {
      len += s->Len();
    } else if (const auto* t = dynamic_cast<const ThtmlTable*>(block.get())) {
      len += TextLength(t->Caption.Cell);
      for (const TCellObj* c : t->RealCells()) len += TextLength(c->Cell);
    }
  }
  return len;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const uint8_t options = data[0];
  const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
  const int mode = options & 3;  // 0 bytes, 1 lines, 2 text lines, 3 lines with handlers

  TSectionList doc;
  // Pictures on: nothing to read them from, so each shows the broken one.
  doc.ShowImages = (options & 0x80) != 0;
  TNameList names;
  HtmlParser parser;
  size_t scripts = 0;
  if (mode == 3) {
    parser.OnMeta = [](const std::string&, const std::string&, const std::string&) {};
    parser.OnSoundRequest = [](const std::string&, int, bool) {};
    parser.OnInclude = [text](const std::string& command, const std::vector<std::string>& params) {
      return std::string(text.substr((command.size() + params.size()) % (text.size() + 1), 40));
    };
    doc.Callbacks().ScriptEvent = [&scripts](const std::string&, std::string script) { scripts += script.size(); };
  }
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t i = 0; i <= text.size(); ++i)
    if (i == text.size() || text[i] == '\n') {
      lines.emplace_back(text.substr(start, i - start));
      start = i + 1;
    }
  try {
    if (mode == 0)
      parser.ParseHtmlBuffer(text, doc, names);
    else if (mode == 2)
      parser.ParseTextStrings(lines, doc);
    else
      parser.ParseHtmlStrings(lines, doc, names);
  } catch (const EParseError&) {
    // What came before the open comment stays.
  }
  for (const auto& [name, section] : names)
    if (!section || name.empty()) __builtin_trap();

  FixedCanvas canvas;
  canvas.Record = false;
  const int width = 20 + (options >> 2) * 13;
  int curs = 0, maxWidth = 0;
  const int height = doc.DoLogic(canvas, 5, width, curs, maxWidth);
  if (height < 0) __builtin_trap();
  if (curs != TextLength(doc)) __builtin_trap();
  doc.Draw(canvas, {0, 0, width + 20, 3000}, 5, 10, 2000);
  for (int y = 0; y < height && y < 3000; y += 37) {
    THotSpot hot;
    doc.GetURL(canvas, y % (width + 1), y, hot);
    TCursorHit hit;
    doc.FindCursor(canvas, y % (width + 1), y, hit);
    TObjectHit object;
    if (doc.PtInObject(y % (width + 1), y, object) && (!object.Image || object.X < 0 || object.Y < 0))
      __builtin_trap();
  }
  doc.GetBackgroundBitmap();
  doc.FindString(0, u"a", false);
  for (int pos = 0; pos < curs && pos < 3000; pos += 7) {
    int x = 0, y = 0;
    doc.CursorToXY(canvas, pos, x, y);
    char16_t ch = 0;
    const TSectionBase* obj = nullptr;
    doc.GetChAtPos(pos, ch, obj);
  }
  // The forms: their pairs collected, then every control reset; a scroll
  // and a paint place the controls again.
  for (const auto& form : doc.Forms().FormList()) {
    for (const auto& control : form->Controls()) {
      std::u16string pair;
      for (int i = 0; i < 1000 && control->SubmissionPair(i, pair); ++i) pair.clear();
    }
    form->ResetControls();
  }
  doc.SetYOffset(37);
  doc.Draw(canvas, {0, 37, width + 20, 437}, 5, 10, 2000);
  for (const TFormControlObj* control : doc.Forms().FormControlList())
    if (control->Shown && control->Widget() && !control->Widget()->Visible()) __builtin_trap();
  DumpDocument(doc, parser.Title, 10);
  return 0;
}

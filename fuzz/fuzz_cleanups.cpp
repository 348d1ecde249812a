// The clean-ups on an arbitrary document: sorting, duplicate removal,
// stripping the browser's date attributes and the bold and italic
// descriptions. Each keeps what it promises of the lines it does not own.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "cleanup/Emphasis.h"
#include "cleanup/RemoveDuplicateLinks.h"
#include "cleanup/SortLinks.h"
#include "cleanup/StripNetscapeTags.h"
#include "bookmarks/BookmarkFormat.h"
#include "bookmarks/Context.h"
#include "bookmarks/DocumentFile.h"
#include "platform/IcuCollation.h"
#include "platform/Ui.h"
#include "fuzz/SilentUi.h"

using namespace quillet;

namespace {

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  fuzz::SilentUi ui;
  // One collator for the whole run: opening one costs more than most inputs.
  // A tailored locale, so that contractions and expansions are reached.
  static IcuCollation collation("de");
  Context ctx;
  ctx.Services.UI = &ui;
  ctx.Services.Collate = &collation;
  const TextLines original = SplitDocumentText(text);

  // Sorting keeps every line that is not blank, in some order.
  ctx.HtmlLines = original;
  SortLinks(ctx);
  TextLines kept;
  for (const std::string& line : original)
    if (!IsBlankText(line)) kept.push_back(line);
  TextLines sorted = ctx.HtmlLines;
  std::sort(kept.begin(), kept.end());
  std::sort(sorted.begin(), sorted.end());
  if (kept != sorted) __builtin_trap();
  ctx.Config.DoubleSpaceLines = true;
  ctx.HtmlLines = original;
  SortLinks(ctx);
  if (ctx.HtmlLines.size() != 2 * kept.size()) __builtin_trap();
  ctx.Config.DoubleSpaceLines = false;

  ctx.HtmlLines = original;
  RemoveDuplicateLinks(ctx);
  // Only lines go, none is added or changed.
  if (ctx.HtmlLines.size() > original.size()) __builtin_trap();

  ctx.HtmlLines = original;
  StripNetscapeTags(ctx);
  if (ctx.HtmlLines.size() != original.size()) __builtin_trap();
  for (size_t i = 0; i < original.size(); ++i)
    if (ctx.HtmlLines[i].size() > original[i].size()) __builtin_trap();

  for (const char letter : {BoldLetter, ItalicLetter}) {
    ctx.HtmlLines = original;
    ApplyEffect(ctx, letter);
    if (ctx.HtmlLines.size() != original.size()) __builtin_trap();
    RemoveEffect(ctx, letter);
    bool checked = false;
    ToggleEffect(ctx, letter, checked);
    ToggleEffect(ctx, letter, checked);
  }
  if (ui.BusyDepth != 0) __builtin_trap();
  return 0;
}

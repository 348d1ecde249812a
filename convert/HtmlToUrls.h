#pragma once
// Writing the document back as a folder tree of shortcut files.
#include <string>
#include <vector>

#include "convert/Context.h"

namespace quillet {

// The log of shortcut files that could not be written, in ctx.DataDir.
inline constexpr const char* kUrlErrorsFile = "UrlErrors.txt";

// How a run ended: every shortcut written, some listed in the error log, an
// empty document, or nothing done (no target, declined, or the folder could
// not be made).
enum class HtmlToUrlsResult { Written, WrittenWithErrors, NoDocument, NotDone };

// Writes the document into ctx.UrlTargetDir. Unattended (the batch): no
// confirmation, no offer of the error log, no closing message.
HtmlToUrlsResult HtmlToUrls(Context& ctx, bool unattended);

// One writing run: the folder everything must stay inside and the errors met.
struct BookmarkWriteRun {
  Context& Ctx;
  // The target folder, with its trailing delimiter. No file or folder is
  // written anywhere that does not resolve to a place inside it.
  std::string Root;
  std::vector<std::string> Errors;
};

// Reads the document from line index on, writing the links of one list level
// into path (inside run.Root, with its trailing delimiter) and descending into
// headings. Returns at the list end that closes the level, with index on it,
// or at the end of the document. Throws EOSError when a heading's folder
// cannot be created.
void ParseBookmarkList(BookmarkWriteRun& run, const std::string& path, size_t& index);

}  // namespace quillet

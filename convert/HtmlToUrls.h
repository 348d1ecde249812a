#pragma once
// Writing the document back as a folder tree of shortcut files.
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "bookmarks/Context.h"

namespace quillet {

// The log of shortcut files that could not be written, in ctx.DataDir.
inline constexpr const char* kUrlErrorsFile = "UrlErrors.txt";

// How a run ended: every shortcut written; links that gave no file (no
// description, no usable name) listed in the error log; some files or folders
// that could not be written listed there too; an empty document; or nothing
// done (no target, declined, or the folder could not be made).
enum class HtmlToUrlsResult { Written, WrittenWithNotes, WrittenWithErrors, NoDocument, NotDone };

// Writes the document into ctx.UrlTargetDir. Unattended (the batch): no
// confirmation, no offer of the error log, no closing message.
HtmlToUrlsResult HtmlToUrls(Context& ctx, bool unattended);

// One writing run: the folder everything must stay inside and the errors met.
struct BookmarkWriteRun {
  BookmarkWriteRun(Context& ctx, std::string root) : Ctx(ctx), Root(std::move(root)) {}
  Context& Ctx;
  // The target folder, with its trailing delimiter. No file or folder is
  // written anywhere that does not resolve to a place inside it.
  std::string Root;
  // The lines of the error log, in the order met.
  std::vector<std::string> Errors;
  // Something could not be written (not merely a link without a name).
  bool WriteFailed = false;
  // The shortcut files this run has written, and per folder and name how
  // many links took that name, so that a later one is numbered.
  std::unordered_set<std::string> Written;
  std::unordered_map<std::string, size_t> NameUses;
};

// Reads the document from line index on, writing the links of one list level
// into path (inside run.Root, with its trailing delimiter) and descending into
// headings. Returns at the list end that closes the level, with index on it,
// or at the end of the document. Throws EOSError when a heading's folder
// cannot be created.
void ParseBookmarkList(BookmarkWriteRun& run, const std::string& path, size_t& index);

}  // namespace quillet

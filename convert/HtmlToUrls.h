#pragma once
// Writing the document back as a folder tree of shortcut files.
#include <cstdint>
#include <map>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "bookmarks/BookmarkTree.h"
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

// The file names this run has given in one folder, so that no link replaces
// one written before it. Kept whole while the folder is open; once it is
// left, only as hashes, which is all a later visit of the same folder needs:
// the memory of a run grows with the folders open, not with every file.
struct FolderNames {
  // Lists open on this folder now.
  size_t Open = 0;
  std::unordered_set<std::string> Names;
  // Per name asked for, the last number given, so that the hundredth link of
  // one name does not try the 99 numbers before it.
  std::unordered_map<std::string, size_t> Numbers;
  // The hashes of the names given in earlier visits, sorted.
  std::vector<uint64_t> Earlier;

  // Takes the name for a new file; false when this run has given it already.
  bool Take(const std::string& name);
  // One list on the folder ends; with the last, its names shrink to hashes.
  void Leave();
};

// One writing run: the folder everything must stay inside and the errors met.
struct BookmarkWriteRun {
  BookmarkWriteRun(Context& ctx, FileSystem::Folder& root) : Ctx(ctx), Root(root) {}
  Context& Ctx;
  // The target folder, held open. No file or folder is written anywhere
  // that is not inside it.
  FileSystem::Folder& Root;
  // The lines of the error log, in the order met.
  std::vector<std::string> Errors;
  // Something could not be written (not merely a link without a name).
  bool WriteFailed = false;
  // Per folder (however it was reached), the names given in it.
  std::map<FileSystem::Folder::Id, FolderNames> Names;
};

// Writes the links of the tree, read from the document, into run.Root: one
// folder per heading, one shortcut file per link line. A heading whose
// folder cannot be made or used has its links listed in run.Errors; the run
// goes on.
void WriteTreeAsShortcuts(BookmarkWriteRun& run, const BookmarkTree& tree);

}  // namespace quillet

#include "app/Batch.h"

#include <filesystem>
#include <iostream>
#include <new>
#include <system_error>

#include "cleanup/RemoveDuplicateLinks.h"
#include "cleanup/SortLinks.h"
#include "cleanup/StripNetscapeTags.h"
#include "bookmarks/BookmarkFormat.h"
#include "bookmarks/DocumentFile.h"
#include "convert/HtmlToUrls.h"
#include "convert/Netscape.h"
#include "convert/UrlsToHtml.h"
#include "platform/Errors.h"

namespace quillet {

namespace {

using CleanUp = size_t (*)(Context&);

// Clean-up of an HTML file in place. The file is the first argument as typed:
// Linux file names are case-sensitive, so lower-casing it would miss it.
int CleanUpHtmlFile(Context& ctx, const std::string& file, CleanUp cleanUp) {
  ctx.Config.CurrentFile = file;
  if (!ctx.Fs().FileExists(file)) return 0;
  const auto lock = LockDocumentFile(ctx, file);
  if (MustNotSaveOver(ctx, file, LoadHtmlFile(ctx, file))) return 1;
  cleanUp(ctx);
  try {
    SaveHtmlFile(ctx.Fs(), ctx.HtmlLines, ctx.Config.CurrentFile);
  } catch (const EFCreateError& e) {
    ctx.UI().ShowMessage(SaveFailureText("HTML cannot be saved.", e));
    return 1;
  }
  return 0;
}

// Clean-up of the Netscape bookmark file: located once, and saved only to
// the file that was loaded.
int CleanUpNetscapeFile(Context& ctx, CleanUp cleanUp) {
  const std::string path = FindNetscapeBookmarks(ctx);
  ctx.Config.CurrentFile = path;
  if (path.empty() || !ctx.Fs().FileExists(path)) return 0;
  ctx.Config.NetscapeFile = path;
  const auto lock = LockDocumentFile(ctx, path);
  if (MustNotSaveOver(ctx, path, LoadNetscapeFile(ctx))) return 1;
  cleanUp(ctx);
  return SaveNetscapeBookmarks(ctx, ctx.HtmlLines, path) ? 0 : 1;
}

// Builds the document from a folder and saves it. A missing folder leaves any
// existing output file as it was.
int FolderToHtml(Context& ctx, const std::string& folder, const std::string& output) {
  if (!UrlsToHtml(ctx, folder)) return 1;
  // Locked as a clean-up locks it: one running on the file now finishes
  // first and this output replaces its result, or it waits and works on
  // this output, never saving its own over it.
  const auto lock = LockDocumentFile(ctx, output);
  SaveHtmlFile(ctx.Fs(), ctx.HtmlLines, output);
  return 0;
}

// Writes the document as shortcut files, unattended. A script learns from
// the exit status whether everything was written.
int DocumentToShortcuts(Context& ctx) {
  switch (HtmlToUrls(ctx, true)) {
    case HtmlToUrlsResult::Written:
    case HtmlToUrlsResult::NoDocument:
      return 0;
    case HtmlToUrlsResult::WrittenWithNotes:
      ctx.UI().ShowMessage("Some links gave no shortcut file; they are listed in " + ctx.DataDir + kUrlErrorsFile);
      return 0;
    case HtmlToUrlsResult::WrittenWithErrors:
      ctx.UI().ShowMessage("Some shortcut files could not be written; they are listed in " + ctx.DataDir +
                           kUrlErrorsFile);
      return 1;
    case HtmlToUrlsResult::NotDone:
      break;
  }
  return 1;
}

// Without a target folder the shortcuts would land in the file system's
// root: a missing folder argument, or no Favorites folder known (no Wine
// prefix), is refused instead.
bool HasTarget(Context& ctx, const std::string& target, bool favorites, const char* usage) {
  if (!target.empty()) return true;
  ctx.UI().ShowMessage((favorites ? "No Favorites folder found (set WINEPREFIX to a Wine prefix): "
                                  : "No target folder given: ") +
                       std::string(usage));
  return false;
}

// No mode word and no switch. A file named first is left alone, as before;
// any other first word is most likely a mode word mistyped.
int NoCommand(Context& ctx, const CommandLine& cl) {
  const std::string word = cl.Argument(1);
  if (ctx.Fs().FileExists(word)) {
    // A fifo or device would have been opened in the window if it could be.
    std::error_code ec;
    if (std::filesystem::is_regular_file(word, ec)) return 0;
    ctx.UI().ShowMessage("Cannot open file " + word + ": it is no regular file (a fifo or a device)");
    return 1;
  }
  ctx.UI().ShowMessage("\"" + word + "\" is no command and no file; see quillet --help");
  return 2;
}

}  // namespace

int RunUrlsToHtmlMode(Context& ctx, const CommandLine& cl) {
  ctx.Config.FavoritesDir = cl.Argument(2);
  return FolderToHtml(ctx, ctx.Config.FavoritesDir, cl.Argument(3));
}

int RunFavoritesToHtmlMode(Context& ctx, const CommandLine& cl) {
  return FolderToHtml(ctx, ctx.Config.FavoritesDir, cl.Argument(2));
}

int RunHtmlToUrlsMode(Context& ctx, const CommandLine& cl) {
  const bool favorites = LowerAscii(cl.Argument(1)) == "html2ie";
  const std::string target = favorites ? ctx.UrlTargetDir : cl.Argument(3);
  if (!HasTarget(ctx, target, favorites, "quillet html2urls FILE.htm FOLDER")) return 1;
  const DocumentLoad load = LoadHtmlFile(ctx, cl.Argument(2));
  SayWhereTextStopped(ctx, cl.Argument(2), load);
  ctx.UrlTargetDir = target;
  const int written = DocumentToShortcuts(ctx);
  // The links after a NUL, or of a file refused as too large, were never
  // written, even when every link read was.
  return load.Loaded && !load.NulAt ? written : 1;
}

int RunNetscapeToUrlsMode(Context& ctx, const CommandLine& cl) {
  const bool favorites = LowerAscii(cl.Argument(1)) == "ns2ie";
  const std::string target = favorites ? ctx.UrlTargetDir : cl.Argument(2);
  if (!HasTarget(ctx, target, favorites, "quillet ns2urls FOLDER")) return 1;
  const bool loaded = LoadNetscapeBookmarks(ctx);
  ctx.UrlTargetDir = target;
  const int written = DocumentToShortcuts(ctx);
  return loaded ? written : 1;
}

int RunUrlsToNetscapeMode(Context& ctx, const CommandLine& cl) {
  if (LowerAscii(cl.Argument(1)) == "urls2ns") ctx.Config.FavoritesDir = cl.Argument(2);
  return AppendUrlsToNetscape(ctx) ? 0 : 1;
}

int RunBatch(Context& ctx, const CommandLine& cl, std::span<const Command> table, std::ostream& out,
             std::ostream& err) {
  const Command* command = CommandOf(cl, table);
  if (!command) return NoCommand(ctx, cl);
  switch (command->kind) {
    case CommandKind::Word: {
      const std::vector<std::string> args(cl.Arguments().begin() + 1, cl.Arguments().end());
      return command->word(ctx, args, out, err);
    }
    case CommandKind::Mode:
      return command->mode(ctx, cl);
    case CommandKind::Switch:
      break;
  }
  // "ns" names the browser's bookmark file only with the switches that allow it.
  if (command->browserFile && LowerAscii(cl.Argument(1)) == "ns") return CleanUpNetscapeFile(ctx, command->cleanUp);
  return CleanUpHtmlFile(ctx, cl.Argument(1), command->cleanUp);
}

int RunBatch(Context& ctx, const CommandLine& cl) { return RunBatch(ctx, cl, Commands(), std::cout, std::cerr); }

std::string FailureReport(const std::exception& e) {
  std::string kind = "Exception";
  std::string text = e.what();
  if (auto* q = dynamic_cast<const QuilletError*>(&e)) {
    kind = q->Kind();
    text = TextWithReason(*q);
  } else if (dynamic_cast<const std::bad_alloc*>(&e)) {
    kind = "EOutOfMemory";
  }
  return "Exception " + kind + " in module quillet at 00000000.\n" + text;
}

int RunBatchReporting(Context& ctx, const CommandLine& cl, std::ostream& err) {
  return RunBatchReporting(ctx, cl, std::cout, err);
}

int RunBatchReporting(Context& ctx, const CommandLine& cl, std::ostream& out, std::ostream& err) {
  try {
    return RunBatch(ctx, cl, Commands(), out, err);
  } catch (const std::exception& e) {
    err << FailureReport(e) << std::endl;
    return 1;
  }
}

}  // namespace quillet

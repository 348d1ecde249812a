#include "app/Batch.h"

#include <new>

#include "cleanup/RemoveDuplicateLinks.h"
#include "cleanup/SortLinks.h"
#include "cleanup/StripNetscapeTags.h"
#include "convert/BookmarkFormat.h"
#include "convert/DocumentFile.h"
#include "convert/HtmlToUrls.h"
#include "convert/UrlsToHtml.h"
#include "platform/Errors.h"

namespace quillet {

namespace {

using CleanUp = void (*)(Context&);

// Clean-up of an HTML file in place. The file is the first argument as typed:
// Linux file names are case-sensitive, so lower-casing it would miss it.
int CleanUpHtmlFile(Context& ctx, const std::string& file, CleanUp cleanUp) {
  ctx.Config.CurrentFile = file;
  if (!ctx.Fs().FileExists(file)) return 0;
  // A load refused as too large leaves nothing that may be saved over the file.
  if (!LoadHtmlFile(ctx, file)) return 1;
  cleanUp(ctx);
  try {
    SaveHtmlFile(ctx.Fs(), ctx.HtmlLines, ctx.Config.CurrentFile);
  } catch (const EFCreateError&) {
    ctx.UI().ShowMessage("HTML cannot be saved.");
    return 1;
  }
  return 0;
}

// Builds the document from a folder and saves it. A missing folder leaves any
// existing output file as it was.
int FolderToHtml(Context& ctx, const std::string& folder, const std::string& output) {
  if (!UrlsToHtml(ctx, folder)) return 1;
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
    case HtmlToUrlsResult::WrittenWithErrors:
      ctx.UI().ShowMessage("Some shortcut files could not be written; they are listed in " + ctx.DataDir +
                           kUrlErrorsFile);
      return 1;
    case HtmlToUrlsResult::NotDone:
      break;
  }
  return 1;
}

}  // namespace

int RunBatch(Context& ctx, const CommandLine& cl) {
  const std::string mode = LowerAscii(cl.Argument(1));

  if (mode == "urls2html") {
    ctx.Config.FavoritesDir = cl.Argument(2);
    return FolderToHtml(ctx, ctx.Config.FavoritesDir, cl.Argument(3));
  }
  if (mode == "ie2html") return FolderToHtml(ctx, ctx.Config.FavoritesDir, cl.Argument(2));
  if (mode == "html2urls") {
    // Without a target folder the shortcuts would land in the file system's
    // root; refuse instead.
    if (cl.Argument(3).empty()) {
      ctx.UI().ShowMessage("No target folder given: quillet html2urls FILE.htm FOLDER");
      return 1;
    }
    LoadHtmlFile(ctx, cl.Argument(2));
    ctx.UrlTargetDir = cl.Argument(3);
    return DocumentToShortcuts(ctx);
  }
  if (mode == "html2ie") {
    // No Favorites folder (no Wine prefix): the file system's root would be
    // the target; refuse as for html2urls.
    if (ctx.UrlTargetDir.empty()) {
      ctx.UI().ShowMessage("No Favorites folder found (set WINEPREFIX to a Wine prefix): "
                           "quillet html2urls FILE.htm FOLDER");
      return 1;
    }
    LoadHtmlFile(ctx, cl.Argument(2));
    return DocumentToShortcuts(ctx);
  }
  if (mode == "ns2urls" || mode == "ns2ie" || mode == "urls2ns" || mode == "ie2ns")
    return 0;  // not built yet

  // Clean-ups: the first switch that applies wins.
  void (*cleanUp)(Context&) = nullptr;
  if (cl.HasSwitch("/sort"))
    cleanUp = SortLinks;
  else if (cl.HasSwitch("/nsstrip"))
    cleanUp = StripNetscapeTags;
  else if (cl.HasSwitch("/nodupes"))
    cleanUp = RemoveDuplicateLinks;
  if (!cleanUp) return 0;
  return CleanUpHtmlFile(ctx, cl.Argument(1), cleanUp);
}

std::string FailureReport(const std::exception& e) {
  std::string kind = "Exception";
  if (auto* q = dynamic_cast<const QuilletError*>(&e))
    kind = q->Kind();
  else if (dynamic_cast<const std::bad_alloc*>(&e))
    kind = "EOutOfMemory";
  return "Exception " + kind + " in module quillet at 00000000.\n" + e.what();
}

int RunBatchReporting(Context& ctx, const CommandLine& cl, std::ostream& err) {
  try {
    return RunBatch(ctx, cl);
  } catch (const std::exception& e) {
    err << FailureReport(e) << std::endl;
    return 1;
  }
}

}  // namespace quillet

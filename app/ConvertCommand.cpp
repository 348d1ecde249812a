#include "app/ConvertCommand.h"
#include "app/WordOptions.h"

#include <CLI/CLI.hpp>
#include <algorithm>

#include "bookmarks/BookmarkFormat.h"
#include "bookmarks/DocumentFile.h"
#include "bookmarks/FolderPath.h"
#include "bookmarks/TreeReader.h"
#include "convert/HtmlToUrls.h"
#include "convert/UrlsToHtml.h"
#include "platform/Path.h"
#include "stores/StoreError.h"
#include "stores/StoreFiles.h"

namespace quillet {

namespace {

const char* const kFormats = "html, urls, chromium, firefox, firefox-backup";

// A folder of shortcut files through today's folder walk; a shortcut that
// cannot be read gives the address "ERROR", reported here.
StoreRead ReadShortcutFolder(Context& ctx, const std::string& folder) {
  if (!UrlsToHtml(ctx, folder)) throw EFOpenError(folder);
  const BookmarkTree tree = ReadBookmarkTree(std::move(ctx.HtmlLines));
  ctx.HtmlLines.clear();
  StoreRead read;
  read.Root = OutlineOf(tree);
  tree.ForEachNode([&](NodeId id) {
    if (tree.Kind(id) == NodeKind::Link && tree.Address(id) == "ERROR")
      read.Problems.push_back({0, "unreadable-shortcut", FolderPathOf(tree, id) + ": " + tree.Title(id) + ".url"});
  });
  return read;
}

// The outline as shortcut files in folder, through today's writer.
int WriteShortcutFolder(Context& ctx, const OutlineNode& root, const std::string& folder, std::ostream& err) {
  if (!ctx.Fs().DirectoryExists(folder) && !ctx.Fs().ForceDirectories(folder)) {
    err << "Could not create: " << folder << "\n";
    return 1;
  }
  WriteOptions options;
  options.Layout = WriteLayout::Quillet;
  ctx.HtmlLines = WriteOutline(root, options);
  ctx.UrlTargetDir = folder;
  switch (HtmlToUrls(ctx, true)) {
    case HtmlToUrlsResult::Written:
    case HtmlToUrlsResult::NoDocument:
      return 0;
    case HtmlToUrlsResult::WrittenWithNotes:
      err << "Some links gave no shortcut file; they are listed in " << ctx.DataDir << kUrlErrorsFile << "\n";
      return 0;
    case HtmlToUrlsResult::WrittenWithErrors:
      err << "Some shortcut files could not be written; they are listed in " << ctx.DataDir << kUrlErrorsFile << "\n";
      return 1;
    case HtmlToUrlsResult::NotDone:
      break;
  }
  return 1;
}

void Report(std::ostream& err, const std::string& where, const std::vector<StoreProblem>& problems) {
  for (const StoreProblem& p : problems) {
    err << where;
    if (p.Line) err << ":" << p.Line;
    err << ": " << p.Kind << ": " << p.Text << "\n";
  }
}

std::string Counted(size_t n, const char* one, const char* many) { return std::to_string(n) + " " + (n == 1 ? one : many); }

}  // namespace

int RunConvertCommand(Context& ctx, const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  CLI::App app{"Converts bookmarks from one store into another. FORMAT is one of " + std::string(kFormats) +
                   "; each is guessed from the name and content when not given. Firefox's stores are read only.",
               "quillet convert"};
  std::string in, target, from, to, layout = "browser";
  app.add_option("IN", in, "the store to read: a file, or a folder of shortcut files")->required();
  app.add_option("OUT", target, "the store to write; an existing file is kept as OUT.bak first")->required();
  const auto isFormat = CLI::IsMember({"html", "urls", "chromium", "firefox", "firefox-backup"});
  app.add_option("--from", from, "the format of IN")->check(isFormat);
  app.add_option("--to", to, "the format of OUT")->check(isFormat);
  app.add_option("--layout", layout, "HTML output: browser (heading before its list, for importing) or quillet")
      ->check(CLI::IsMember({"quillet", "browser"}));
  if (const auto status = ParseWordOptions(app, args, out, err)) return *status;

  const StoreFormat inFormat = from.empty() ? GuessStoreFormat(ctx.Fs(), in) : *ParseStoreFormat(from);
  const StoreFormat outFormat = to.empty() ? GuessStoreFormat(ctx.Fs(), target) : *ParseStoreFormat(to);
  if (!IsWritable(outFormat)) {
    err << target << " would be written as " << StoreFormatName(outFormat)
        << ": Quillet never writes into Firefox's stores. Write html (--to html) and import that in Firefox.\n";
    return 2;
  }

  StoreRead read;
  try {
    read = inFormat == StoreFormat::Urls ? ReadShortcutFolder(ctx, in) : ReadStoreFile(ctx, in, inFormat);
  } catch (const QuilletError& e) {
    err << TextWithReason(e) << "\n";
    return 1;
  }
  Report(err, in, read.Problems);

  int status = 0;
  OutlineCounts written = CountOutline(read.Root);
  try {
    switch (outFormat) {
      case StoreFormat::Chromium: {
        const bool writeBack = inFormat == StoreFormat::Chromium;
        ChromiumWrite w = SaveChromiumBookmarks(ctx, target, read.Root, writeBack ? read.Kept.get() : nullptr);
        Report(err, target, w.Refused);
        written = w.Written;
        break;
      }
      case StoreFormat::Urls:
        status = WriteShortcutFolder(ctx, read.Root, target, err);
        break;
      default: {
        WriteOptions options;
        options.Layout = layout == "quillet" ? WriteLayout::Quillet : WriteLayout::Browser;
        options.Indent = ctx.Config.IndentHtml;
        options.DoubleSpace = ctx.Config.DoubleSpaceLines;
        const TextLines lines = WriteOutline(read.Root, options);
        std::string text;
        for (const std::string& line : lines) text.append(line).append("\r\n");
        SaveWithBackup(ctx, target, text);
        break;
      }
    }
  } catch (const QuilletError& e) {
    err << TextWithReason(e) << "\n";
    return 1;
  }
  out << "Wrote " << Counted(written.Folders, "folder", "folders") << " and " << Counted(written.Links, "link", "links")
      << " to " << target << " (" << StoreFormatName(outFormat) << ").\n";
  return status;
}

}  // namespace quillet

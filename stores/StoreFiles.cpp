#include "stores/StoreFiles.h"

#include "bookmarks/DocumentFile.h"
#include "bookmarks/TreeReader.h"
#include "stores/BrowserProfiles.h"
#include "stores/FirefoxBackup.h"
#include "stores/FirefoxPlaces.h"
#include "stores/StoreError.h"

namespace quillet {

StoreRead ReadStoreFile(Context& ctx, const std::string& path, StoreFormat format) {
  switch (format) {
    case StoreFormat::Chromium:
      return ReadChromiumBookmarks(ctx.Fs().ReadFile(path));
    case StoreFormat::Firefox:
      return ReadFirefoxPlaces(path);
    case StoreFormat::FirefoxBackup:
      return ReadFirefoxBackup(ctx.Fs().ReadFile(path));
    case StoreFormat::Urls:
      throw StoreError(path + " is a folder of shortcut files, read by the folder walk.");
    case StoreFormat::Html:
      break;
  }
  TextLines lines;
  const DocumentLoad load = ReadDocumentFile(ctx, path, lines);
  if (!load.Loaded) throw StoreError(path + " is too big to be read.");
  const BookmarkTree tree = ReadBookmarkTree(std::move(lines));
  StoreRead out;
  out.Root = OutlineOf(tree);
  for (const Diagnostic& d : tree.Diagnostics()) out.Problems.push_back({d.Line, std::string(DiagnosticName(d.Kind)), d.Text});
  if (load.NulAt)
    out.Problems.push_back({0, "nul", NulByteText(path, *load.NulAt) + "; only the text before it was read"});
  return out;
}

void SaveWithBackup(Context& ctx, const std::string& path, const std::string& text) {
  FileSystem& fs = ctx.Fs();
  if (fs.FileExists(path) && !ctx.BackedUpFiles.count(path)) {
    std::string old;
    if (!fs.TryReadFile(path, old)) throw EFCreateError(path + ".bak", "the file it keeps cannot be read");
    fs.WriteFile(path + ".bak", old);
    ctx.BackedUpFiles.insert(path);
  }
  fs.WriteFile(path, text);
}

ChromiumWrite SaveChromiumBookmarks(Context& ctx, const std::string& path, const OutlineNode& root,
                                    const ChromiumKept* kept) {
  if (const auto inUse = ChromiumProfileInUse(path)) throw StoreError(path + " was not written. " + *inUse);
  ChromiumWrite written = WriteChromiumBookmarks(root, kept);
  SaveWithBackup(ctx, path, written.Json);
  return written;
}

}  // namespace quillet

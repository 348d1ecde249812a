#include "app/CommandDocument.h"

#include "bookmarks/DocumentFile.h"
#include "bookmarks/TreeReader.h"
#include "convert/Netscape.h"
#include "platform/Errors.h"

namespace quillet {

std::optional<BookmarkTree> ReadCommandDocument(Context& ctx, const std::string& file, bool willSave,
                                                std::ostream& err) {
  TextLines lines;
  DocumentLoad load;
  try {
    load = ReadDocumentFile(ctx, file, lines);
  } catch (const EFOpenError& e) {
    err << TextWithReason(e) << "\n";
    return std::nullopt;
  }
  if (!load.Loaded) return std::nullopt;
  if (load.NulAt) {
    err << NulByteText(file, *load.NulAt)
        << (willSave ? "; the text after it cannot be read, so nothing was written.\n"
                     : "; only the text before it was read.\n");
    if (willSave) return std::nullopt;
  }
  return ReadBookmarkTree(std::move(lines));
}

bool SaveCommandDocument(Context& ctx, const TextLines& lines, const std::string& file, const std::string& output,
                         std::ostream& err) {
  try {
    if (output.empty()) KeepNetscapeBackup(ctx, file);
    SaveHtmlFile(ctx.Fs(), lines, output.empty() ? file : output);
  } catch (const QuilletError& e) {
    err << TextWithReason(e) << "\n";
    return false;
  }
  return true;
}

std::string BackupNote(const std::string& file, const std::string& output) {
  return output.empty() ? " (the old text is in " + file + ".bak)" : std::string();
}

}  // namespace quillet

#pragma once
// Loading a file into the document and saving the document to a file.
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "bookmarks/Context.h"
#include "platform/Errors.h"

namespace quillet {

// Cuts text into lines at CR, LF and CR LF; a NUL ends the text; a final
// terminator adds no empty line.
TextLines SplitDocumentText(std::string_view text);

// The same without ending at a NUL: every byte of the text stays in a line,
// for a report on the whole file.
TextLines SplitTextLines(std::string_view text);

// How reading a document file went.
struct DocumentLoad {
  // False when the text was refused as too large ("File too big, load
  // cancelled" was shown); the lines are empty then.
  bool Loaded = true;
  // The offset of the NUL byte that ended the text, when one did: the lines
  // hold only what stood before it, so they must never be saved over the file.
  std::optional<size_t> NulAt;
};

// Empties the document and fills it from the file. Throws EFOpenError when
// the file cannot be read.
DocumentLoad LoadHtmlFile(Context& ctx, const std::string& name);

// Reads the file into lines, as LoadHtmlFile does, leaving the document
// alone. Throws EFOpenError.
DocumentLoad ReadDocumentFile(Context& ctx, const std::string& name, TextLines& lines);

// "NAME holds a NUL byte at offset N": how every report of a text cut short
// at a NUL begins.
std::string NulByteText(const std::string& name, size_t offset);

// For a run that uses the text it loaded without saving it over its file:
// says so when the text stopped at a NUL byte.
void SayWhereTextStopped(Context& ctx, const std::string& name, const DocumentLoad& load);

// For a run that saves the text it loaded back over its file: true when the
// load leaves nothing that may be saved there, because it was refused as too
// large or cut short at a NUL (which is said: the file was left as it was).
bool MustNotSaveOver(Context& ctx, const std::string& name, const DocumentLoad& load);

// Writes the lines to the file, replacing it whole. Throws EFCreateError.
void SaveHtmlFile(FileSystem& fs, const TextLines& lines, const std::string& name);

// A save's own failure message with why, on a line of its own, when that is
// known.
std::string SaveFailureText(const std::string& message, const EFCreateError& e);

// Locks the file for one load-change-save, so that a second run on it waits
// and then works on this run's result; says so when it has to wait. Null when
// the file cannot be locked.
std::unique_ptr<FileSystem::Lock> LockDocumentFile(Context& ctx, const std::string& name);

}  // namespace quillet

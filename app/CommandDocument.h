#pragma once
// Reading and saving the bookmark file of a command word that changes it:
// written to -o OUT, or over the file after a copy to FILE.bak.
#include <optional>
#include <ostream>
#include <string>

#include "bookmarks/BookmarkTree.h"
#include "bookmarks/Context.h"

namespace quillet {

// The file read into a tree. Nothing, said on err, when it cannot be read,
// or when it stops at a NUL byte and the result is to be saved (what
// follows the NUL would be lost); a run that saves nothing is told and goes
// on with the text before it.
std::optional<BookmarkTree> ReadCommandDocument(Context& ctx, const std::string& file, bool willSave,
                                                std::ostream& err);

// Saves the lines to output, or, when that is empty, over file after
// copying it to file.bak. False, said on err, when either cannot be written.
bool SaveCommandDocument(Context& ctx, const TextLines& lines, const std::string& file, const std::string& output,
                         std::ostream& err);

// " (the old text is in FILE.bak)" after a save over the file, else "".
std::string BackupNote(const std::string& file, const std::string& output);

}  // namespace quillet

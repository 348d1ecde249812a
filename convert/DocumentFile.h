#pragma once
// Loading a file into the document and saving the document to a file.
#include <string>
#include <string_view>

#include "convert/Context.h"

namespace quillet {

// Cuts text into lines at CR, LF and CR LF; a NUL ends the text; a final
// terminator adds no empty line.
TextLines SplitDocumentText(std::string_view text);

// Empties the document and fills it from the file. Returns false when the
// text was too large to hold ("File too big, load cancelled" was shown).
// Throws EFOpenError when the file cannot be read.
bool LoadHtmlFile(Context& ctx, const std::string& name);

// Reads the file into lines, as LoadHtmlFile does, leaving the document
// alone. Returns false (lines empty, "File too big, load cancelled" shown)
// when the text was too large to hold. Throws EFOpenError.
bool ReadDocumentFile(Context& ctx, const std::string& name, TextLines& lines);

// Writes the lines to the file, replacing it whole. Throws EFCreateError.
void SaveHtmlFile(FileSystem& fs, const TextLines& lines, const std::string& name);

}  // namespace quillet

#pragma once
// The help: a few HTML pages carried in the program's resources and written
// out beside its other files for the help viewer (the desktop's browser).
#include <string>

#include "platform/FileSystem.h"

namespace quillet {

// The three entry points: the contents, the keyword index, and the topic
// with context number 160.
inline constexpr const char* kHelpContents = "index.html";
inline constexpr const char* kHelpKeywords = "keywords.html";
inline constexpr const char* kHelpTopic160 = "other-software.html";

// Writes every help page into dir (created when missing), so the pages are
// those of this program version; returns dir.
std::string WriteHelpPages(FileSystem& fs, const std::string& dir);

}  // namespace quillet

#pragma once
// What the entry does beside the batch and the bare window: --help and
// --version, and a bookmark file handed over by a file manager. Each claims
// only a command line that the batch would leave without effect.
#include <string>

#include "app/CommandLine.h"

namespace quillet {

inline constexpr const char* kVersion = "2.32";

// "--help" or "--version" as the only argument.
enum class InfoRequest { None, Help, Version };
InfoRequest InfoRequestOf(const CommandLine& cl);

std::string UsageText();
std::string VersionText();

// True when the command line asks for the window with a file loaded: a single
// argument naming an existing HTML file (that selects no row of the command
// table: no command or mode word, no switch), or "--open" followed by at most one file, as desktop entries call
// the program. file is then the absolute path to load, or empty.
bool WindowFileOf(const CommandLine& cl, std::string& file);

// "--organize" followed by at most one file: the window, opened in its
// Organize view; file is then the absolute path to load, or empty.
bool OrganizeFileOf(const CommandLine& cl, std::string& file);

// An existing regular file whose name ends in .htm, .html or .shtml in
// any letter case, or whose first bytes look like HTML.
bool LooksLikeHtmlFile(const std::string& path);

}  // namespace quillet

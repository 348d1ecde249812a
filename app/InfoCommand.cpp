#include "app/InfoCommand.h"
#include "app/WordOptions.h"

#include <CLI/CLI.hpp>
#include <cstdint>
#include <new>
#include <stdexcept>

#include "bookmarks/DocumentFile.h"
#include "bookmarks/DocumentInfo.h"
#include "bookmarks/TreeReader.h"

namespace quillet {

namespace {

constexpr const char* kProblemKinds =
    "Each problem is a line the reader could not place as it stands (the line is\n"
    "kept as it is), with its number and one of these kinds:\n"
    "  unclosed-list         a list (<DL>) never closed: it runs to the file's end\n"
    "  stray-list-end        a list end (</DL>) with no list open\n"
    "  orphan-description    a <DD> after something that is no link or heading\n"
    "  heading-without-list  a folder heading with no list: an empty folder\n"
    "  unplaced-line         words, or an item that is neither link nor heading\n"
    "  nul                   a NUL byte: the other commands read only up to it\n"
    "  invalid-utf8          bytes that are not UTF-8 in a file that is elsewhere\n"
    "Exit status: 0 when the file was read (problems or not), 1 when it cannot be\n"
    "read, 2 for mistyped options.";

int TooLarge(std::ostream& err, const std::string& file) {
  err << "quillet: Cannot read file " << file << ": it is too large\n";
  return 1;
}

}  // namespace

int RunInfoCommand(Context& ctx, const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  CLI::App app{"Tells what a bookmark file is and what is wrong with it: its layout, encoding,\n"
               "folders, links, separators, descriptions, depth, duplicate and non-web links,\n"
               "and every line the reader could not place.",
               "quillet info"};
  std::string file;
  bool json = false;
  app.add_option("FILE", file, "the bookmark file")->required()->type_name("");
  app.add_flag("--json", json, "print one JSON object, for scripts");
  app.footer(kProblemKinds);
  if (const auto status = ParseWordOptions(app, args, out, err)) return *status;

  std::string text;
  try {
    const FileSystem::LimitedRead read = ctx.Fs().ReadFileUpTo(file, SIZE_MAX, text);
    if (read.Outcome != FileSystem::ReadOutcome::Read) {
      err << "quillet: Cannot open file " << file << ": "
          << (read.Outcome == FileSystem::ReadOutcome::Missing ? std::string("it does not exist") : read.Reason)
          << "\n";
      return 1;
    }
    // The whole file, also what stands after a NUL byte, which is reported.
    TextLines lines = SplitTextLines(text);
    std::string().swap(text);
    const DocumentInfo info = DescribeDocument(ReadBookmarkTree(std::move(lines)));
    out << (json ? DocumentInfoJson(info) : DocumentInfoText(info));
  } catch (const std::bad_alloc&) {
    return TooLarge(err, file);
  } catch (const std::length_error&) {
    return TooLarge(err, file);
  }
  return 0;
}

}  // namespace quillet

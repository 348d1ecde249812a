// Feeds any bytes as a document to the shortcut writer, into a scratch
// folder. Every folder and file it writes must lie inside the scratch folder,
// with no "." or ".." step and no NUL in its path; a cap on the number of
// writes keeps each input cheap.
#include <stdlib.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "bookmarks/Context.h"
#include "convert/HtmlToUrls.h"
#include "platform/Errors.h"
#include "platform/FileSystem.h"
#include "platform/PrivateProfile.h"
#include "platform/Ui.h"
#include "fuzz/SilentUi.h"

using namespace quillet;

namespace {

constexpr int kMaxWrites = 200;

// A path the writer may use: below root, each step a real name.
void CheckInside(const std::string& root, const std::string& path) {
  if (path.compare(0, root.size(), root) != 0 || path.find('\0') != std::string::npos) __builtin_trap();
  std::string_view rest = std::string_view(path).substr(root.size());
  while (!rest.empty()) {
    const size_t slash = rest.find('/');
    const std::string_view step = rest.substr(0, slash);
    if (step.empty() || step == "." || step == "..") __builtin_trap();
    if (slash == std::string_view::npos) break;
    rest.remove_prefix(slash + 1);
  }
}

// The real file system, watched and capped.
class ScratchFileSystem : public PosixFileSystem {
 public:
  std::string Root;
  int Writes = 0;

  Subfolder OpenSubfolder(Folder& dir, const std::string& name, const Folder& within) override {
    CheckInside(Root, dir.Path() + name);
    if (++Writes > kMaxWrites) return {SubfolderOutcome::Failed, nullptr, "write cap reached"};
    return PosixFileSystem::OpenSubfolder(dir, name, within);
  }
  void WriteFileIn(Folder& dir, const std::string& name, const std::string& data, Flush flush) override {
    CheckInside(Root, dir.Path() + name);
    if (++Writes > kMaxWrites) throw EFCreateError(dir.Path() + name, "write cap reached");
    PosixFileSystem::WriteFileIn(dir, name, data, flush);
  }
};

std::string& Scratch() {
  static std::string dir;
  return dir;
}

void RemoveScratch() {
  std::error_code ec;
  std::filesystem::remove_all(Scratch(), ec);
}

// One scratch folder per process, removed when the fuzzer exits.
std::string MakeScratch() {
  std::string tmpl = (std::filesystem::temp_directory_path() / "quillet-fuzz-XXXXXX").string();
  if (!::mkdtemp(tmpl.data())) __builtin_trap();
  Scratch() = tmpl + "/";
  std::atexit(RemoveScratch);
  return Scratch();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string scratch = MakeScratch();
  std::error_code ec;
  std::filesystem::remove_all(scratch + "t", ec);
  std::filesystem::remove(scratch + kUrlErrorsFile, ec);

  ScratchFileSystem fs;
  fs.Root = scratch;
  IniProfile profile(fs);
  fuzz::SilentUi ui(Answer::Yes);
  Context ctx;
  ctx.Services = {&fs, &profile, &ui};
  ctx.DataDir = scratch;
  ctx.UrlTargetDir = scratch + "t";

  // Lines cut at LF only, so NULs and CRs inside lines reach the readers too.
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  size_t i = 0;
  while (i <= text.size()) {
    const size_t e = std::min(text.find('\n', i), text.size());
    ctx.HtmlLines.emplace_back(text.substr(i, e - i));
    i = e + 1;
  }
  try {
    HtmlToUrls(ctx, true);
  } catch (const QuilletError&) {
    // Only the error log's own save may fail the run; that is fine.
  }
  return 0;
}

// The batch command line: the arguments, the mode and switch selection and the
// command each selects, run against a file system in memory so that nothing on
// disk is read or written.
//
// Input: one flag byte, then the arguments one per line up to the first empty
// line, then the document every file in memory holds.
//   flag bit 0: every name that does not end in a delimiter is a file
//   flag bit 1: every name is a folder, listing the first document lines
//   flag bit 2, 3: the IndentHtml and DoubleSpaceLines options
//   flag bit 4: the registry names the browser's folders ("/netscape/")
//   flag bit 5: the registry lists two browser users
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <ostream>
#include <streambuf>
#include <string>
#include <string_view>
#include <vector>

#include "app/Batch.h"
#include "app/Config.h"
#include "app/CommandLine.h"
#include "app/Commands.h"
#include "bookmarks/Context.h"
#include "convert/ShortcutListing.h"
#include "platform/FileSystem.h"
#include "platform/IcuCollation.h"
#include "platform/PrivateProfile.h"
#include "platform/Registry.h"
#include "platform/Ui.h"
#include "fuzz/SilentUi.h"

using namespace quillet;

namespace {

class MemoryFileSystem : public FileSystem {
 public:
  MemoryFileSystem(std::string_view doc, bool files, bool folders) : doc_(doc), files_(files), folders_(folders) {}

  bool ListDir(const std::string& dir, std::vector<DirEntry>& out) override {
    out.clear();
    if (!folders_) return false;
    // Two levels deep at most: every folder lists the same names, so the
    // walk grows as their number to the power of the depth.
    if (std::count(dir.begin(), dir.end(), '/') > 3) return true;
    size_t start = 0;
    for (int n = 0; n < 8 && start < doc_.size(); ++n) {
      size_t end = doc_.find('\n', start);
      if (end == std::string::npos) end = doc_.size();
      std::string name = doc_.substr(start, end - start);
      start = end + 1;
      if (name.empty() || name == "." || name == ".." || name.find('/') != std::string::npos) continue;
      DirEntry e;
      e.IsDirectory = !IsShortcutFileName(name);
      e.Hidden = name[0] == '.';
      e.Name = std::move(name);
      out.push_back(std::move(e));
    }
    std::sort(out.begin(), out.end(), [](const DirEntry& a, const DirEntry& b) { return NameLess(a.Name, b.Name); });
    out.erase(std::unique(out.begin(), out.end(), [](const DirEntry& a, const DirEntry& b) { return a.Name == b.Name; }),
              out.end());
    return true;
  }
  bool DirectoryExists(const std::string&) override { return folders_; }
  bool FileExists(const std::string& path) override { return files_ && !path.empty() && path.back() != '/'; }
  void CreateDir(const std::string&) override {}
  bool ForceDirectories(const std::string&) override { return folders_; }
  bool DeleteFile(const std::string&) override { return files_; }
  bool TryReadFile(const std::string& path, std::string& data) override {
    if (!FileExists(path)) return false;
    data = doc_;
    return true;
  }
  void WriteFile(const std::string&, const std::string& data, Flush) override { written_ += data.size(); }
  bool IsAncestorOrSelf(const std::string& candidate, const std::string& path) override {
    return path.compare(0, candidate.size(), candidate) == 0;
  }
  bool IsSymlink(const std::string&) override { return false; }
  std::string ProgramDir() override { return "/quillet/"; }
  bool IsWritableDir(const std::string&) override { return true; }

 private:
  std::string doc_;
  bool files_, folders_;
  size_t written_ = 0;
};

// A registry in memory: every value the same folder, or nothing.
class MemoryRegistry : public Registry {
 public:
  MemoryRegistry(bool values, bool users) : values_(values), users_(users) {}
  std::string ReadString(RegRoot, const std::string&, const std::string&) override {
    return values_ ? "/netscape/" : std::string();
  }
  std::vector<std::string> SubKeyNames(RegRoot, const std::string&) override {
    if (!users_) return {};
    return {"ann", "bob"};
  }
  std::string LocalPath(const std::string& windowsPath) override { return windowsPath; }

 private:
  bool values_, users_;
};

class NullBuffer : public std::streambuf {
 protected:
  int overflow(int c) override { return c; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const uint8_t flags = data[0];
  std::string_view rest(reinterpret_cast<const char*>(data) + 1, size - 1);

  std::vector<std::string> args;
  while (args.size() < 8) {
    const size_t end = rest.find('\n');
    const std::string_view arg = rest.substr(0, end);
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    if (arg.empty()) break;
    args.emplace_back(arg);
  }
  const CommandLine cl(std::move(args));
  if (cl.ArgumentCount() > 8 || cl.RawCommandLine().rfind("quillet", 0) != 0) __builtin_trap();

  MemoryFileSystem fs(rest, flags & 1, flags & 2);
  IniProfile profile(fs);
  MemoryRegistry registry(flags & 16, flags & 32);
  fuzz::SilentUi ui;
  // One collator for the whole run: opening one costs more than most inputs.
  static IcuCollation collation("sv_SE");
  Context ctx;
  ctx.Services.Fs = &fs;
  ctx.Services.Profile = &profile;
  ctx.Services.UI = &ui;
  ctx.Services.Collate = &collation;
  ctx.Services.Reg = &registry;
  ctx.ProgramDir = ctx.DataDir = "/quillet/";
  ctx.Config.FavoritesDir = ctx.UrlTargetDir = "/favorites/";
  // As the entry starts a run; with files in memory the settings come from
  // the document too, and override the flags.
  ctx.Config.IndentHtml = flags & 4;
  ctx.Config.DoubleSpaceLines = flags & 8;
  LoadSettings(ctx);
  ctx.ReloadSettings = LoadSettings;

  NullBuffer null;
  std::ostream err(&null);
  const int status = RunBatchReporting(ctx, cl, err);
  // 2: a mistyped command, which never comes with a switch, except after a
  // command word: its arguments are its own, and a switch is no option of it.
  if (status != 0 && status != 1 && status != 2) __builtin_trap();
  const Command* command = CommandOf(cl);
  const bool word = command && command->kind == CommandKind::Word;
  if (status == 2 && !word && (cl.HasSwitch("/sort") || cl.HasSwitch("/nsstrip") || cl.HasSwitch("/nodupes")))
    __builtin_trap();
  return 0;
}

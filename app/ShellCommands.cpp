#include "app/ShellCommands.h"

#include "app/Addresses.h"
#include "bookmarks/BookmarkFormat.h"
#include "bookmarks/DocumentFile.h"

namespace quillet {

namespace {

const char* const kLaunchError = "Launch Error";
const char* const kNoBrowser = "Could not start your Internet browser";

// From the last "." on, unless a delimiter or a colon follows it; upper-cased,
// at most five characters.
std::string LinkExtension(const std::string& path) {
  const auto dot = path.rfind('.');
  if (dot == std::string::npos || path.find_first_of("/\\:", dot) != std::string::npos) return {};
  return UpperAscii(path.substr(dot, 5));
}

// A program or media file could not be handed over: say so, as for any other
// file that cannot be launched.
void StartOrReport(Context& ctx, bool started, const std::string& path) {
  if (!started) ctx.UI().ShowMessageBox("Could not launch " + path, kLaunchError);
}

}  // namespace

std::string FavoritesFolderFromRegistry(Registry& reg) {
  const std::string value = reg.ReadString(
      RegRoot::CurrentUser, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
      "Favorites");
  return value.empty() ? value : reg.LocalPath(value);
}

bool LaunchDocument(Context& ctx, const std::string& name) {
  if (ctx.Sh().Open(name)) return true;
  ctx.UI().ShowMessageBox("Could not launch " + name, kLaunchError);
  return false;
}

bool OpenWebAddress(Context& ctx, const std::string& address, bool askFirst) {
  if (askFirst && ctx.UI().Ask("Connect to the Internet now?") != Answer::Yes) return false;
  if (ctx.Sh().Open(address)) return true;
  ctx.UI().ShowMessageBox(kNoBrowser, kLaunchError);
  return false;
}

std::string PreviewFileName(const Context& ctx) { return ctx.DataDir + "quillettemp.htm"; }

bool SaveHtmlToTemp(Context& ctx, std::string& name) {
  if (ctx.HtmlLines.empty()) return false;
  name = PreviewFileName(ctx);
  SaveHtmlFile(ctx.Fs(), ctx.HtmlLines, name);
  return true;
}

void ViewPageInBrowser(Context& ctx) {
  std::string name;
  if (!SaveHtmlToTemp(ctx, name)) {
    ctx.UI().ShowMessage("There is no Html to test.");
    return;
  }
  if (!LaunchDocument(ctx, name)) ctx.UI().ShowMessage(kNoBrowser);
}

// The desktop has no report of its own for a folder it cannot show, so the
// program gives one.
void ExploreFavorites(Context& ctx, const std::string& folder) {
  if (!ctx.Sh().Explore(folder)) ctx.UI().ShowMessageBox("Could not launch " + folder, kLaunchError);
}

void OpenFavorites(Context& ctx, const std::string& folder) {
  if (!ctx.Sh().Open(folder)) ctx.UI().ShowMessageBox("Could not launch " + folder, kLaunchError);
}

void OpenProductPage(Context& ctx) { OpenWebAddress(ctx, kProductPage, false); }

bool OpenMakerPage(Context& ctx) { return OpenWebAddress(ctx, kMakerPage, false); }

void EmailFeedback(Context& ctx) {
  if (ctx.UI().Ask("Have you searched the help and web site before requesting support?") ==
      Answer::Yes)
    OpenWebAddress(ctx, kFeedbackAddress, false);
}

bool HotSpotClick(Context& ctx, const std::string& url,
                  const std::function<std::string(const std::string&)>& expandLinkPath) {
  const std::string upper = UpperAscii(url);
  const auto colon = url.find(':');
  // No scheme, a drive letter or a file address: the link names a local file.
  if (colon == std::string::npos || colon <= 1 || upper.find("FILE:") != std::string::npos) {
    std::string s = url.substr(0, 255);
    std::string params;
    auto cut = s.find(' ');
    if (cut == std::string::npos) cut = s.find('?');
    if (cut != std::string::npos) {
      params = s.substr(cut + 1, 255);
      s.resize(cut);
    }
    s = expandLinkPath(s).substr(0, 255);
    // A drive letter stands for a drive of the Wine prefix, when there is one.
    if (ctx.Services.Reg && s.size() >= 2 && s[1] == ':') s = ctx.Reg().LocalPath(s);
    const std::string ext = LinkExtension(s);
    if (ext == ".EXE") {
      StartOrReport(ctx, ctx.Sh().StartProgram(s, params), s);
      return true;
    }
    if (ext == ".MID" || ext == ".AVI") {
      StartOrReport(ctx, ctx.Sh().Open(s), s);
      return true;
    }
    return false;
  }
  // Secure web links too: the pane could only look for them as files.
  if (upper.find("MAILTO:") != std::string::npos || upper.find("HTTP:") != std::string::npos ||
      upper.find("HTTPS:") != std::string::npos) {
    LaunchDocument(ctx, url);
    return true;
  }
  return false;
}

}  // namespace quillet

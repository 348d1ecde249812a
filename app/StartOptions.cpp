#include "app/StartOptions.h"

#include <filesystem>
#include <fstream>

#include "app/Commands.h"
#include "bookmarks/BookmarkFormat.h"

namespace quillet {

namespace {

bool EndsWithHtmlExtension(const std::string& path) {
  const std::string lower = LowerAscii(path);
  for (const char* ext : {".htm", ".html", ".shtml"}) {
    const std::string e = ext;
    if (lower.size() > e.size() && lower.compare(lower.size() - e.size(), e.size(), e) == 0) return true;
  }
  return false;
}

// Only the head is read: the argument may name a file of any size.
bool HeadLooksLikeHtml(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::string head(4096, '\0');
  in.read(head.data(), static_cast<std::streamsize>(head.size()));
  head.resize(static_cast<size_t>(in.gcount()));
  size_t start = head.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
  while (start < head.size() && static_cast<unsigned char>(head[start]) <= ' ') ++start;
  if (start >= head.size() || head[start] != '<') return false;
  const std::string lower = LowerAscii(head.substr(start));
  for (const char* mark : {"<!doctype html", "<!doctype netscape-bookmark-file", "<html", "<head", "<body", "<dl"})
    if (lower.find(mark) != std::string::npos) return true;
  return false;
}

std::string Absolute(const std::string& path) {
  std::error_code ec;
  const auto abs = std::filesystem::absolute(path, ec);
  return ec ? path : abs.lexically_normal().string();
}

}  // namespace

InfoRequest InfoRequestOf(const CommandLine& cl) {
  if (cl.ArgumentCount() != 1) return InfoRequest::None;
  if (cl.Argument(1) == "--help") return InfoRequest::Help;
  if (cl.Argument(1) == "--version") return InfoRequest::Version;
  return InfoRequest::None;
}

std::string VersionText() { return std::string("quillet ") + kVersion + "\n"; }

std::string UsageText() {
  return R"(Usage: quillet                      open the window
       quillet FILE.htm             open the window with FILE.htm loaded
       quillet --organize FILE.htm  the same, in the Organize view (folders and links)
       quillet MODE [ARGUMENTS]     convert, without a window
       quillet FILE.htm SWITCH      clean FILE.htm up in place, without a window
       quillet ns SWITCH            clean the Netscape bookmark file up in place

Modes (any letter case; urls = a folder of *.url shortcut files, ie = your
Favorites folder, html = a bookmark HTML file, ns = the Netscape bookmark file):
  urls2html FOLDER FILE.htm   write the shortcuts under FOLDER as bookmark HTML
  ie2html FILE.htm            the same for your Favorites folder
  html2urls FILE.htm FOLDER   write the links of FILE.htm as shortcuts under FOLDER
  html2ie FILE.htm            the same into your Favorites folder
  ns2urls FOLDER              write the Netscape bookmarks as shortcuts under FOLDER
  ns2ie                       the same into your Favorites folder
  urls2ns FOLDER              append the shortcuts under FOLDER to the Netscape bookmarks
  ie2ns                       the same for your Favorites folder

Switches (exact text, found anywhere on the line; the first that applies wins):
  /sort      sort the links of each folder by description
  /nsstrip   strip the browser's dates, icons, ... (a file only, not "ns")
  /nodupes   remove links whose address occurred on an earlier line

Command words (exact text, first argument only; each has its own --help)
come before the modes and switches: a file named like one is given as
./NAME.
  info FILE [--json]            what the file is: its layout, encoding, counts
                                of folders and links, and every problem found
  convert IN OUT [--from F] [--to F]
                                bookmarks from one store into another: html,
                                urls, chromium; to read only firefox and
                                firefox-backup
  profiles [--json]             the browser profiles here and their bookmark stores
  dedupe FILE|FOLDER [OPTIONS]  find links that lead to the same page, by the
                                rules chosen; --apply removes the copies
  sort FILE [OPTIONS]           sort each folder's links and folders by name,
                                address, site or date added
  check FILE.htm [OPTIONS]      check the links: ok, moved or dead (a link is
                                dead only when it failed twice); --report
                                F.json|F.csv|F.html, --move-dead-to NAME -o OUT,
                                --rewrite-permanent -o OUT; exit 1 when one is dead

Examples:
  quillet urls2html ~/Favorites links.htm
  quillet ie2html links.htm
  quillet html2urls links.htm ~/Links
  quillet html2ie links.htm
  quillet ns2urls ~/Links
  quillet ns2ie
  quillet urls2ns ~/Favorites
  quillet ie2ns
  quillet links.htm /sort
  quillet links.htm /nsstrip
  quillet links.htm /nodupes
  quillet ns /sort
  quillet ns /nodupes
  quillet profiles
  quillet convert ~/.config/chromium/Default/Bookmarks links.htm
  quillet dedupe links.htm --rules safe
  quillet sort links.htm --by site -o sorted.htm
  quillet check links.htm --report dead.html

In the window: Ctrl+O open, Ctrl+S save, Ctrl+Q exit, Ctrl+Z and
Ctrl+Shift+Z undo and redo (typing and commands, in every view), Ctrl+F
find (F3 next, Shift+F3 previous, Escape closes), Ctrl+A select all, Ctrl+C
copy, Ctrl+1 the rendered view, Ctrl+2 (or Alt+S) the source view, Ctrl+3
the Organize view, Ctrl++,
Ctrl+- and Ctrl+0 zoom, Alt+Left and Alt+Right back and forward, Ctrl+B
and Ctrl+I bold and italic descriptions, F1 help. In the Organize view:
Ctrl+F filter, F2 rename, F3 or Enter edit the address, Del delete, Ctrl+X,
Ctrl+C and Ctrl+V cut, copy and paste, Ctrl+Shift+N a new folder,
Ctrl+Shift+H a new separator, Alt+Up and Alt+Down move within the folder.

Exit status: 0 after a normal run, also one that did nothing; 1 after a
failure, reported on standard error; 2 for a mistyped command (a first
word that is no mode word and no file, without a switch).

Settings: Quillet.Ini beside the program when its folder is writable, else
$XDG_CONFIG_HOME/quillet/Quillet.Ini. See quillet(1). In its [Options]
section, IndentHtml=1 and DoubleSpaceLines=1 shape what urls2html, ie2html,
urls2ns and ie2ns write, and BrowserLayout=1 makes them write the layout
browsers import with its folders (each heading before its list).
)";
}

bool LooksLikeHtmlFile(const std::string& path) {
  // A fifo or device would block the read or never end.
  std::error_code ec;
  if (path.empty() || !std::filesystem::is_regular_file(path, ec)) return false;
  return EndsWithHtmlExtension(path) || HeadLooksLikeHtml(path);
}

bool OrganizeFileOf(const CommandLine& cl, std::string& file) {
  file.clear();
  if (cl.Argument(1) != "--organize" || cl.ArgumentCount() > 2) return false;
  if (cl.ArgumentCount() == 2) file = Absolute(cl.Argument(2));
  return true;
}

bool WindowFileOf(const CommandLine& cl, std::string& file) {
  file.clear();
  if (cl.Argument(1) == "--open" && cl.ArgumentCount() <= 2) {
    if (cl.ArgumentCount() == 2) file = Absolute(cl.Argument(2));
    return true;
  }
  if (cl.ArgumentCount() != 1 || CommandOf(cl)) return false;
  if (!LooksLikeHtmlFile(cl.Argument(1))) return false;
  file = Absolute(cl.Argument(1));
  return true;
}

}  // namespace quillet

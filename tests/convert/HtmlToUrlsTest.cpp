// Writing the document back as shortcut files, on real temporary folders.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "convert/HtmlToUrls.h"
#include "convert/UrlsToHtml.h"
#include "platform/Errors.h"
#include "platform/PrivateProfile.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestContext.h"

namespace quillet {
namespace {

using test::Tree;

using test::Shortcut;

namespace fs = std::filesystem;
using test::Exists;
using test::MakeDirs;
using test::ReadBytes;
using test::TempDir;
using test::TestContext;
using test::WriteBytes;

// A run with its data folder (for the error log) and target folder in one
// temporary folder, attended or not.
struct WriteRun {
  TempDir Tmp;
  TestContext T{Tmp / "data/"};
  std::string Target = Tmp / "target";

  WriteRun() { MakeDirs(Tmp / "data"); }
  HtmlToUrlsResult Convert(TextLines lines, bool unattended = true) {
    T.Ctx.HtmlLines = std::move(lines);
    T.Ctx.UrlTargetDir = Target;
    return HtmlToUrls(T.Ctx, unattended);
  }
  std::string Log() { return ReadBytes(Tmp / "data/UrlErrors.txt"); }
  bool HasLog() { return Exists(Tmp / "data/UrlErrors.txt"); }
};

// Builds the document from a tree of names with "&", quotes and references
// in them, writes it back and compares.
void ExpectTheSameTreeBack(const TConfig& options) {
  TempDir src;
  WriteBytes(src / "Top.url", Shortcut("https://top.example/"));
  WriteBytes(src / "Query.url", Shortcut("https://x/?a=1&b=2&c=\"q\""));
  WriteBytes(src / "Weather & Radar.url", Shortcut("https://weather/"));
  WriteBytes(src / "R&amp;D &lt;s.url", Shortcut("https://x/?q=a&amp;b&c=1"));
  WriteBytes(src / "News/BBC.url", Shortcut("https://bbc/"));
  WriteBytes(src / "News/Science/arXiv.url", Shortcut("https://arxiv/"));
  WriteBytes(src / "Software & Tools/GitHub.url", Shortcut("https://github/"));
  WriteBytes(src / "Software & Tools/Q&A/Ask.url", Shortcut("https://ask/?a&b"));
  MakeDirs(src / "Empty");

  WriteRun r;
  r.T.Ctx.Config = options;
  ASSERT_TRUE(UrlsToHtml(r.T.Ctx, src.Path()));
  r.T.Ctx.UrlTargetDir = r.Target;
  MakeDirs(r.Target);
  HtmlToUrls(r.T.Ctx, true);

  EXPECT_EQ(Tree(r.Target), Tree(src.Path()));
  EXPECT_EQ(r.T.Ctx.UrlTargetDir, r.Target + "/");
  EXPECT_FALSE(r.HasLog());
  EXPECT_TRUE(r.T.UI.Messages.empty());
}

TEST(HtmlToUrls, GivesBackTheTreeItWasBuiltFrom) { ExpectTheSameTreeBack(TConfig{}); }

TEST(HtmlToUrls, GivesBackTheTreeItWasBuiltFromInTheBrowserLayout) {
  TConfig options;
  options.BrowserLayout = true;
  ExpectTheSameTreeBack(options);
  options.IndentHtml = options.DoubleSpaceLines = true;
  ExpectTheSameTreeBack(options);
}

TEST(HtmlToUrls, ReadsABrowserExport) {
  WriteRun r;
  MakeDirs(r.Target);
  r.Convert({
      "<!DOCTYPE NETSCAPE-Bookmark-file-1>",
      "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=UTF-8\">",
      "<TITLE>Bookmarks</TITLE>",
      "<H1>Bookmarks</H1>",
      "<DL><p>",
      "    <DT><H3 ADD_DATE=\"1700000000\" LAST_MODIFIED=\"1712345678\">Recipes &amp; Food</H3>",
      "    <DL><p>",
      "        <DT><A HREF=\"https://s/?q=1&amp;r=2\" ADD_DATE=\"1\" ICON=\"data:image/png;base64,iVBOR\">Serious Eats</A>",
      "        <DD>A description line",
      "        <DT><H3 FOLDED ADD_DATE=\"2\">Cakes</H3>",
      "        <DL><p>",
      "            <DT><A HREF=\"https://cake/\" ADD_DATE=\"3\">It&#39;s &lt;cake&gt;</A>",
      "        </DL><p>",
      "        <DT><A HREF=\"https://after/\">After Cakes</A>",
      "    </DL><p>",
      "    <HR>",
      "    <DT><A HREF=\"https://osm/\" ADD_DATE=\"4\">OpenStreetMap</A>",
      "</DL><p>",
      "<DT><A HREF=\"https://never/\">After the end</A>",
  });
  std::map<std::string, std::string> want = {
      {"Recipes & Food", "<dir>"},
      {"Recipes & Food/Serious Eats.url", Shortcut("https://s/?q=1&r=2")},
      {"Recipes & Food/Cakes", "<dir>"},
      {"Recipes & Food/Cakes/It's _cake_.url", Shortcut("https://cake/")},
      {"Recipes & Food/After Cakes.url", Shortcut("https://after/")},
      {"OpenStreetMap.url", Shortcut("https://osm/")},
  };
  EXPECT_EQ(Tree(r.Target), want);
  // The stripped lines stay in the document.
  for (const auto& line : r.T.Ctx.HtmlLines) EXPECT_EQ(line.find("ADD_DATE"), std::string::npos) << line;
}

TEST(HtmlToUrls, WhichLinesWriteAFile) {
  WriteRun r;
  MakeDirs(r.Target);
  r.Convert({
      "<DL><p>",
      "<DT><A HREF=\"a\"><B>News</B></A>",
      "<DT><A HREF=\"b\">News: Today?</A>",
      "<DT><A HREF=\"c\"><I></I></A>",
      "<DT><A HREF=\"d\">   </A>",
      "<DT><A HREF=\"e\"></A>",
      "x=\"y\">Title</A>",
      "<DT><A HREF=\"\">No address</A>",
      "<DT><A HREF=\"1\">Twice</A>",
      "<DT><A HREF=\"2\">Twice</A>",
      "<DT><H3></H3>",
      "<DL><p>",
      "<DT><A HREF=\"f\">In the enclosing folder</A>",
      "</DL><p>",
  });
  std::map<std::string, std::string> want = {
      {"News.url", Shortcut("a")},
      {"News_ Today_.url", Shortcut("b")},
      {"No address.url", Shortcut("")},
      {"Twice.url", Shortcut("1")},
      {"Twice (2).url", Shortcut("2")},
      {"In the enclosing folder.url", Shortcut("f")},
  };
  EXPECT_EQ(Tree(r.Target), want);
  // Every link line without a file is listed, with its line and why.
  EXPECT_EQ(r.Log(),
            "No shortcut written for line 4 (c): its description leaves no usable file name\r\n"
            "No shortcut written for line 5 (d): it has no description\r\n"
            "No shortcut written for line 6 (e): it has no description\r\n");
}

TEST(HtmlToUrls, LinksWhoseNamesComeOutTheSameAreNumbered) {
  WriteRun r;
  MakeDirs(r.Target);
  const std::string longName(300, 'a');
  const TextLines doc = {"<DL><p>",
                         "<DT><A HREF=\"1\">Home</A>",
                         "<DT><A HREF=\"2\">Home</A>",
                         "<DT><A HREF=\"3\">Home?</A>",  // "Home_": another name
                         "<DT><A HREF=\"4\">Home</A>",
                         // Two long descriptions cut to the same name.
                         "<DT><A HREF=\"5\">" + longName + "</A>",
                         "<DT><A HREF=\"6\">" + longName + "b</A>",
                         "<DT><H3>Sub</H3>",
                         "<DL><p>",
                         "<DT><A HREF=\"7\">Home</A>",  // another folder: no number
                         "</DL><p>",
                         "</DL><p>"};
  r.Convert(doc);
  std::map<std::string, std::string> want = {
      {"Home.url", Shortcut("1")},
      {"Home (2).url", Shortcut("2")},
      {"Home_.url", Shortcut("3")},
      {"Home (3).url", Shortcut("4")},
      {std::string(251, 'a') + ".url", Shortcut("5")},
      {std::string(247, 'a') + " (2).url", Shortcut("6")},
      {"Sub", "<dir>"},
      {"Sub/Home.url", Shortcut("7")},
  };
  EXPECT_EQ(Tree(r.Target), want);
  EXPECT_FALSE(r.HasLog());
  // A second run updates the same files and adds none.
  r.Convert(doc);
  EXPECT_EQ(Tree(r.Target), want);
}

TEST(HtmlToUrls, SecondRunAddsNothingAndKeepsOtherLines) {
  WriteRun r;
  MakeDirs(r.Target);
  const std::string custom = "[Other]\r\nKey=1\r\n[InternetShortcut]\r\nIconIndex=3\r\nURL=old\r\nHotKey=0\r\n";
  WriteBytes(r.Target + "/Kept.url", custom);
  WriteBytes(r.Tmp / "data/UrlErrors.txt", "an older log\r\n");
  const TextLines doc = {"<DL><p>", "<DT><A HREF=\"new\">Kept</A>", "<DT><H3>Sub</H3>",
                         "<DL><p>", "<DT><A HREF=\"s\">S</A>", "</DL><p>", "</DL><p>"};
  r.Convert(doc);
  const auto first = Tree(r.Target);
  r.Convert(doc);
  EXPECT_EQ(Tree(r.Target), first);
  EXPECT_EQ(first.size(), 3u);
  EXPECT_EQ(ReadBytes(r.Target + "/Kept.url"),
            "[Other]\r\nKey=1\r\n[InternetShortcut]\r\nIconIndex=3\r\nURL=new\r\nHotKey=0\r\n");
  // No write failed: the older log is left as it was.
  EXPECT_EQ(r.Log(), "an older log\r\n");
}

TEST(HtmlToUrls, ReadOnlyShortcutIsLoggedAndTheRunGoesOn) {
  WriteRun r;
  MakeDirs(r.Target);
  WriteBytes(r.Target + "/Locked.url", Shortcut("old"));
  ::chmod((r.Target + "/Locked.url").c_str(), 0444);
  r.Convert({"<DL><p>", "<DT><A HREF=\"new\">Locked</A>", "<DT><A HREF=\"z\">Zed</A>", "</DL><p>"});
  EXPECT_EQ(ReadBytes(r.Target + "/Locked.url"), Shortcut("old"));
  EXPECT_EQ(ReadBytes(r.Target + "/Zed.url"), Shortcut("z"));
  EXPECT_EQ(r.Log(), "Unable to write to " + r.Target + "/Locked.url: the file is read-only\r\n");
  EXPECT_TRUE(r.T.UI.Questions.empty());
}

TEST(HtmlToUrls, DotFolderNamesNeverLeaveTheTargetDotFileNamesAreFiles) {
  WriteRun r;
  MakeDirs(r.Target);
  // Their links all written, the headings are only noted.
  EXPECT_EQ(r.Convert({
      "<DL><p>",
      "<DT><H3>..</H3>",
      "<DL><p>",
      "<DT><A HREF=\"up\">Up</A>",
      "<DT><A HREF=\"dots\">..</A>",
      "<DT><A HREF=\"dot\">&#46;</A>",
      "</DL><p>",
      "<DT><H3>&#46;&#46;</H3>",
      "<DL><p>",
      "<DT><H3>.</H3>",
      "<DL><p>",
      "<DT><A HREF=\"deep\">Deep</A>",
      "</DL><p>",
      "</DL><p>",
      "<DT><A HREF=\"ok\">...</A>",
      "</DL><p>",
  }), HtmlToUrlsResult::WrittenWithNotes);
  std::map<std::string, std::string> want = {
      {"Up.url", Shortcut("up")},
      {"...url", Shortcut("dots")},
      {"..url", Shortcut("dot")},
      {"Deep.url", Shortcut("deep")},
      {"....url", Shortcut("ok")},
  };
  EXPECT_EQ(Tree(r.Target), want);
  // Only the target and the data folder exist beside each other.
  EXPECT_EQ(Tree(r.Tmp.Path()).size(), Tree(r.Target).size() + 3);
  const std::string t = r.Target + "/";
  EXPECT_EQ(r.Log(),
            "Folder name \"..\" cannot be used; its links were written into " + t + "\r\n" +
            "Folder name \"..\" cannot be used; its links were written into " + t + "\r\n" +
            "Folder name \".\" cannot be used; its links were written into " + t + "\r\n");
}

TEST(HtmlToUrls, SymbolicLinksOutOfTheTargetAreNotWrittenThrough) {
  WriteRun r;
  const std::string outside = r.Tmp / "outside";
  MakeDirs(outside);
  MakeDirs(r.Target + "/Inner");
  fs::create_directory_symlink(outside, r.Target + "/Escape");
  fs::create_directory_symlink(r.Target + "/Inner", r.Target + "/Alias");
  fs::create_symlink(outside + "/victim.url", r.Target + "/Dangling.url");
  WriteBytes(outside + "/real.url", Shortcut("precious"));
  fs::create_symlink(outside + "/real.url", r.Target + "/Linked.url");
  WriteBytes(r.Target + "/Inner/Kept.url", "[InternetShortcut]\r\nURL=old\r\nIconIndex=1\r\n");
  fs::create_symlink(r.Target + "/Inner/Kept.url", r.Target + "/Near.url");
  r.Convert({
      "<DL><p>",
      "<DT><H3>Escape</H3>",
      "<DL><p>",
      "<DT><A HREF=\"bad\">Bad</A>",
      "<DT><H3>Deeper</H3>",
      "<DL><p>",
      "<DT><A HREF=\"bad2\">Bad2</A>",
      "</DL><p>",
      "</DL><p>",
      "<DT><A HREF=\"bad3\">Dangling</A>",
      "<DT><A HREF=\"bad4\">Linked</A>",
      "<DT><H3>Alias</H3>",
      "<DL><p>",
      "<DT><A HREF=\"fine\">Fine</A>",
      "</DL><p>",
      "<DT><A HREF=\"last\">Last</A>",
      "<DT><A HREF=\"near\">Near</A>",
      "</DL><p>",
  });
  std::map<std::string, std::string> untouched = {{"real.url", Shortcut("precious")}};
  EXPECT_EQ(Tree(outside), untouched);
  // A link that stays inside the target is written through.
  EXPECT_EQ(ReadBytes(r.Target + "/Inner/Fine.url"), Shortcut("fine"));
  EXPECT_EQ(ReadBytes(r.Target + "/Last.url"), Shortcut("last"));
  EXPECT_EQ(ReadBytes(r.Target + "/Inner/Kept.url"), "[InternetShortcut]\r\nURL=near\r\nIconIndex=1\r\n");
  EXPECT_TRUE(fs::is_symlink(r.Target + "/Near.url"));
  const std::string t = r.Target + "/";
  const std::string escape = "its folder " + t + "Escape/ is a symbolic link that leads outside " + t;
  EXPECT_EQ(r.Log(),
            "Nothing written into " + t + "Escape/: it is a symbolic link that leads outside " + t + "\r\n" +
                "No shortcut written for line 4 (bad): " + escape + "\r\n" +
                "No shortcut written for line 7 (bad2): " + escape + "\r\n" + "Unable to write to " + t +
                "Dangling.url: it is a symbolic link that leads outside " + t + "\r\n" +
                "Unable to write to " + t + "Linked.url: it is a symbolic link that leads outside " +
                t + "\r\n");
}

TEST(HtmlToUrls, LongNamesAreCutToWhatTheFileSystemTakes) {
  WriteRun r;
  // A deep target does not cut names short: a path may be far longer.
  std::string target = r.Tmp / "t";
  target += std::string(235 - target.size(), 'x');
  r.Target = target;
  MakeDirs(target);
  std::string accented;
  for (int i = 0; i < 200; ++i) accented += "\xC3\xA9";  // 400 bytes of two-byte characters
  r.Convert({"<DL><p>", "<DT><A HREF=\"a\">Abcdefgh</A>", "<DT><A HREF=\"b\">" + accented + "</A>",
             // A heading longer than a name may be keeps its folder, cut, and its links.
             "<DT><H3>" + std::string(300, 'h') + "</H3>", "<DL><p>",
             "<DT><A HREF=\"c\">" + std::string(300, 'c') + "</A>", "</DL><p>", "</DL><p>"});
  std::map<std::string, std::string> want = {
      {"Abcdefgh.url", Shortcut("a")},
      // Cut to 251 bytes, less the half of a character: 125 characters.
      {accented.substr(0, 250) + ".url", Shortcut("b")},
      {std::string(255, 'h'), "<dir>"},
      {std::string(255, 'h') + "/" + std::string(251, 'c') + ".url", Shortcut("c")},
  };
  EXPECT_EQ(Tree(target), want);
  EXPECT_FALSE(r.HasLog());
}

TEST(HtmlToUrls, NamesWithLineBreaksAndDotsComeBackFromTheirOwnHtml) {
  TempDir src;
  WriteBytes(src / "two\nlines.url", Shortcut("https://two/"));
  WriteBytes(src / "cr\rhere.url", Shortcut("https://cr/"));
  WriteBytes(src / "..url", Shortcut("https://dot/"));
  WriteBytes(src / "...url", Shortcut("https://dots/"));
  WriteBytes(src / "Folder\nName/in.url", Shortcut("https://in/"));
  WriteRun r;
  ASSERT_TRUE(UrlsToHtml(r.T.Ctx, src.Path()));
  // Each name stays on its own line.
  for (const std::string& line : r.T.Ctx.HtmlLines)
    EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos) << line;
  EXPECT_EQ(r.T.Ctx.HtmlLines.size(), 10u);
  MakeDirs(r.Target);
  r.T.Ctx.UrlTargetDir = r.Target;
  HtmlToUrls(r.T.Ctx, true);
  std::map<std::string, std::string> want = {
      {"two_lines.url", Shortcut("https://two/")}, {"cr_here.url", Shortcut("https://cr/")},
      {"..url", Shortcut("https://dot/")},         {"...url", Shortcut("https://dots/")},
      {"Folder_Name", "<dir>"},                    {"Folder_Name/in.url", Shortcut("https://in/")},
  };
  EXPECT_EQ(Tree(r.Target), want);
  EXPECT_FALSE(r.HasLog());
}

TEST(HtmlToUrls, NestingDeeperThanAnyCallStack) {
  WriteRun r;
  MakeDirs(r.Target);
  TextLines doc{"<DL><p>"};
  for (int i = 0; i < 300000; ++i) doc.push_back("<DT><H3></H3>");
  doc.push_back("<DT><A HREF=\"deep\">Deep</A>");
  for (int i = 0; i < 300000; ++i) doc.push_back("</DL><p>");
  doc.push_back("<DT><A HREF=\"top\">Top</A>");
  doc.push_back("</DL><p>");
  r.Convert(doc);
  std::map<std::string, std::string> want = {{"Deep.url", Shortcut("deep")}, {"Top.url", Shortcut("top")}};
  EXPECT_EQ(Tree(r.Target), want);
}

TEST(HtmlToUrls, ListEndsCloseTheRightLevel) {
  WriteRun r;
  MakeDirs(r.Target);
  r.Convert({
      "<DL><p>",
      "<DT><H3>A</H3>",
      "<DL><p>",
      "<DT><H3></H3>",  // an empty name: its list shares A's folder
      "<DL><p>",
      "<DT><A HREF=\"1\">One</A>",
      "</DL><p><DT><A HREF=\"2\">Two</A>",  // the closing line is read again in A
      "<DT><A HREF=\"3\">Three</A>",
      "</DL><p>",
      "<DT><A HREF=\"4\">Four</A>",
      "<DT><H3>B</H3>",  // the document ends inside B
      "<DT><A HREF=\"5\">Five</A>",
  });
  std::map<std::string, std::string> want = {
      {"A", "<dir>"},          {"A/One.url", Shortcut("1")}, {"A/Two.url", Shortcut("2")},
      {"A/Three.url", Shortcut("3")}, {"Four.url", Shortcut("4")}, {"B", "<dir>"},
      {"B/Five.url", Shortcut("5")},
  };
  EXPECT_EQ(Tree(r.Target), want);
}

// Every entry under root, by relative path, read only where that is safe:
// folders "<dir>", fifos "<fifo>", links "-> target", large files their size.
std::map<std::string, std::string> Look(const std::string& root) {
  std::map<std::string, std::string> out;
  for (auto it = fs::recursive_directory_iterator(root); it != fs::end(it); ++it) {
    const std::string rel = fs::relative(it->path(), root).string();
    if (it->is_symlink())
      out[rel] = "-> " + fs::read_symlink(it->path()).string();
    else if (it->is_directory())
      out[rel] = "<dir>";
    else if (it->is_fifo())
      out[rel] = "<fifo>";
    else if (it->file_size() > 4096)
      out[rel] = "<" + std::to_string(it->file_size()) + " bytes>";
    else
      out[rel] = ReadBytes(it->path().string());
  }
  return out;
}

// What stands in the way costs only its own links, each listed with why; the
// run goes on with the rest, and a second run finds the same folders.
TEST(HtmlToUrls, WhatCannotBeWrittenNeverStopsTheRun) {
  struct Case {
    const char* what;
    std::function<void(const std::string& target)> setup;
    TextLines doc;  // the link "After" is added at the end
    std::map<std::string, std::string> want;
    std::vector<std::string> log;  // "T/" stands for the target
  };
  auto link = [](const std::string& url, const std::string& name) {
    return "<DT><A HREF=\"" + url + "\">" + name + "</A>";
  };
  const std::vector<Case> cases = {
      {"a link's file where a heading's folder would go",
       [](const std::string&) {},
       {link("a", "Docs"), "<DT><H3>Docs.url</H3>", "<DL><p>", link("b", "In"), "</DL><p>"},
       {{"Docs.url", Shortcut("a")}, {"Docs.url (2)", "<dir>"}, {"Docs.url (2)/In.url", Shortcut("b")}},
       {}},
      {"plain files named like a heading",
       [](const std::string& t) {
         WriteBytes(t + "/News", "a file");
         WriteBytes(t + "/News (2)", "another");
       },
       {"<DT><H3>News</H3>", "<DL><p>", link("b", "In"), "</DL><p>"},
       {{"News", "a file"}, {"News (2)", "another"}, {"News (3)", "<dir>"}, {"News (3)/In.url", Shortcut("b")}},
       {}},
      {"a read-only folder",
       [](const std::string& t) {
         MakeDirs(t + "/RO");
         ::chmod((t + "/RO").c_str(), 0555);  // no write bit: read-only even for root
       },
       {"<DT><H3>RO</H3>", "<DL><p>", link("b", "In"), "<DT><H3>Sub</H3>", "<DL><p>", link("d", "Deep"),
        "</DL><p>", link("e", "Also"), "</DL><p>"},
       {{"RO", "<dir>"}},
       {"Unable to write to T/RO/In.url: its folder is read-only, so no new file can be made beside it",
        "Could not create folder T/RO/Sub/: its folder is read-only",
        "No shortcut written for line 7 (d): its folder T/RO/Sub/ could not be made",
        "Unable to write to T/RO/Also.url: its folder is read-only, so no new file can be made beside it"}},
      {"a fifo named like a shortcut",
       [](const std::string& t) { ASSERT_EQ(::mkfifo((t + "/Pipe.url").c_str(), 0644), 0); },
       {link("p", "Pipe")},
       {{"Pipe.url", "<fifo>"}},
       {"Unable to write to T/Pipe.url: it is no regular file (a fifo or a device)"}},
      {"a shortcut file larger than any shortcut",
       [](const std::string& t) {
         WriteBytes(t + "/Big.url", Shortcut("old"));
         ASSERT_EQ(::truncate((t + "/Big.url").c_str(), 3LL << 30), 0);
       },
       {link("x", "Big")},
       {{"Big.url", "<3221225472 bytes>"}},
       {"Unable to write to T/Big.url: it is larger than 64 KiB, so it is left as it is"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    WriteRun r;
    MakeDirs(r.Target);
    c.setup(r.Target);
    TextLines doc = {"<DL><p>"};
    doc.insert(doc.end(), c.doc.begin(), c.doc.end());
    doc.push_back(link("z", "After"));
    doc.push_back("</DL><p>");
    std::map<std::string, std::string> want = c.want;
    want["After.url"] = Shortcut("z");
    std::string log;
    for (std::string line : c.log) log += line.replace(line.find("T/"), 2, r.Target + "/") + "\r\n";
    for (int run = 1; run <= 2; ++run) {
      EXPECT_EQ(r.Convert(doc), c.log.empty() ? HtmlToUrlsResult::Written : HtmlToUrlsResult::WrittenWithErrors);
      EXPECT_EQ(Look(r.Target), want) << "run " << run;
      if (!c.log.empty()) {
        EXPECT_EQ(r.Log(), log);
      }
    }
  }
}

// The real file system, with a hook before each step of writing below a
// folder held open, where a test swaps things as another process might.
class SwappingFileSystem : public PosixFileSystem {
 public:
  std::function<void(const std::string& step, const std::string& path)> Before = [](auto&, auto&) {};
  Subfolder OpenSubfolder(Folder& dir, const std::string& name, const Folder& within) override {
    Before("open", dir.Path() + name);
    return PosixFileSystem::OpenSubfolder(dir, name, within);
  }
  FilePlace PlaceOfFile(Folder& dir, const std::string& name, const Folder& within) override {
    Before("place", dir.Path() + name);
    return PosixFileSystem::PlaceOfFile(dir, name, within);
  }
  LimitedRead ReadFileIn(Folder& dir, const std::string& name, size_t limit, std::string& data) override {
    Before("read", dir.Path() + name);
    return PosixFileSystem::ReadFileIn(dir, name, limit, data);
  }
  void WriteFileIn(Folder& dir, const std::string& name, const std::string& data, Flush flush) override {
    Before("write", dir.Path() + name);
    PosixFileSystem::WriteFileIn(dir, name, data, flush);
  }
};

// A folder or file swapped for a symbolic link to elsewhere while the run
// goes on: what was checked is what is written, so nothing lands outside.
TEST(HtmlToUrls, ALinkSwappedInDuringTheRunLeadsNowhere) {
  for (const std::string fileStep : {"place", "read", "write"}) {
    SCOPED_TRACE(fileStep);
    WriteRun r;
    SwappingFileSystem swapping;
    IniProfile profile(swapping);
    r.T.Ctx.Services.Fs = &swapping;
    r.T.Ctx.Services.Profile = &profile;
    const std::string t = r.Target + "/", outside = r.Tmp / "outside";
    MakeDirs(t + "Sub");
    WriteBytes(outside + "/victim.url", Shortcut("precious"));
    swapping.Before = [&](const std::string& step, const std::string& path) {
      // The folder being written moves away and a link to outside takes its
      // name, just before its first file is written.
      if (step == "write" && path == t + "Sub/One.url") {
        fs::rename(t + "Sub", t + "Moved");
        fs::create_directory_symlink(outside, t + "Sub");
      }
      if (step == fileStep && path == t + "Five.url") fs::create_symlink(outside + "/victim.url", path);
    };
    r.Convert({"<DL><p>", "<DT><H3>Sub</H3>", "<DL><p>", "<DT><A HREF=\"1\">One</A>", "<DT><A HREF=\"2\">Two</A>",
               "</DL><p>", "<DT><H3>Sub</H3>", "<DL><p>", "<DT><A HREF=\"4\">Four</A>", "</DL><p>",
               "<DT><A HREF=\"5\">Five</A>", "</DL><p>"});
    EXPECT_EQ(Tree(outside), (std::map<std::string, std::string>{{"victim.url", Shortcut("precious")}}));
    EXPECT_EQ(ReadBytes(t + "Moved/One.url"), Shortcut("1"));
    EXPECT_EQ(ReadBytes(t + "Moved/Two.url"), Shortcut("2"));
    const std::string why = fileStep == "place" ? "it is a symbolic link that leads outside " + t
                                                : "it is a symbolic link";
    EXPECT_EQ(r.Log(), "Nothing written into " + t + "Sub/: it is a symbolic link that leads outside " + t + "\r\n" +
                           "No shortcut written for line 9 (4): its folder " + t +
                           "Sub/ is a symbolic link that leads outside " + t + "\r\n" + "Unable to write to " + t +
                           "Five.url: " + why + "\r\n");
  }
}

TEST(HtmlToUrls, AttendedQuestionsAndMessages) {
  {  // empty document
    WriteRun r;
    r.Convert({}, false);
    EXPECT_EQ(r.T.UI.Messages, std::vector<std::string>{"There is no HTML to convert."});
    EXPECT_TRUE(r.T.UI.Questions.empty());
  }
  {  // an empty folder name would be the file system's root
    WriteRun r;
    r.Target.clear();
    r.Convert({"<DL><p>", "<DT><A HREF=\"a\">A</A>"}, true);
    EXPECT_EQ(r.T.UI.Messages, std::vector<std::string>{"There is no folder to convert Html to Urls in."});
  }
  {  // confirmation refused
    WriteRun r;
    MakeDirs(r.Target);
    r.Convert({"<DL><p>", "<DT><A HREF=\"a\">A</A>"}, false);
    EXPECT_EQ(r.T.UI.Questions,
              std::vector<std::string>{"Are you sure you want to convert Html to Urls in " + r.Target + "?"});
    EXPECT_TRUE(Tree(r.Target).empty());
    EXPECT_TRUE(r.T.UI.Messages.empty());
  }
  {  // one line: nothing read, still finished
    WriteRun r;
    MakeDirs(r.Target);
    r.T.UI.Answers = {Answer::Yes};
    r.Convert({"<DT><A HREF=\"a\">Never read</A>"}, false);
    EXPECT_TRUE(Tree(r.Target).empty());
    EXPECT_EQ(r.T.UI.Messages, std::vector<std::string>{"Finished conversion"});
  }
  {  // missing folder: No writes nothing and says nothing
    WriteRun r;
    r.Target += "/a/b";
    r.Convert({"<DL><p>", "<DT><A HREF=\"a\">A</A>"}, true);
    EXPECT_EQ(r.T.UI.Questions, std::vector<std::string>{"Directory: " + r.Target + "/ not found. Create Now?"});
    EXPECT_FALSE(Exists(r.Tmp / "target"));
    EXPECT_TRUE(r.T.UI.Messages.empty());
  }
  {  // missing folder: Yes creates it with its parents
    WriteRun r;
    r.Target += "/a/b";
    r.T.UI.Answers = {Answer::Yes};
    r.Convert({"<DL><p>", "<DT><A HREF=\"a\">A</A>"}, true);
    EXPECT_EQ(ReadBytes(r.Target + "/A.url"), Shortcut("a"));
  }
  {  // a folder that cannot be created
    WriteRun r;
    WriteBytes(r.Target, "a file");
    r.T.UI.Answers = {Answer::Yes};
    r.Convert({"<DL><p>", "<DT><A HREF=\"a\">A</A>"}, true);
    EXPECT_EQ(r.T.UI.Messages, std::vector<std::string>{"Could not create: " + r.Target + "/"});
  }
}

TEST(HtmlToUrls, AttendedRunOffersTheErrorLog) {
  const TextLines doc = {"<DL><p>", "<DT><A HREF=\"a\"></A>", "</DL><p>"};
  {
    WriteRun r;
    MakeDirs(r.Target);
    std::string opened;
    r.T.Ctx.LaunchDocument = [&](Context&, const std::string& file) {
      opened = file;
      return true;
    };
    r.T.UI.Answers = {Answer::Yes, Answer::Yes};
    r.Convert(doc, false);
    EXPECT_EQ(r.T.UI.Questions.back(), "Errors occurred during the conversion.  View now?");
    EXPECT_EQ(opened, r.Tmp / "data/UrlErrors.txt");
    EXPECT_EQ(r.T.UI.Messages, std::vector<std::string>{"Finished conversion"});
  }
  {
    WriteRun r;
    MakeDirs(r.Target);
    r.T.UI.Answers = {Answer::Yes, Answer::Yes};
    r.Convert(doc, false);  // nothing can open the log
    EXPECT_EQ(r.T.UI.Messages,
              (std::vector<std::string>{"Could not start default text editor.", "Finished conversion"}));
  }
  {  // unattended: logged, nothing offered
    WriteRun r;
    MakeDirs(r.Target);
    r.Convert(doc, true);
    EXPECT_TRUE(r.HasLog());
    EXPECT_TRUE(r.T.UI.Questions.empty());
    EXPECT_TRUE(r.T.UI.Messages.empty());
  }
}

}  // namespace
}  // namespace quillet

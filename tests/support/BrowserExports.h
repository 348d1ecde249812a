#pragma once
// Small bookmark files written the way today's browsers export them: the
// Netscape dialect with the browser's bookkeeping attributes, the user's tags
// and keywords, and descriptions whose line breaks are kept as they are.
#include <string>
#include <vector>

namespace quillet::test {

// Firefox's layout: headings before their lists, a description line after
// links and folders, and a description's own line breaks written raw.
inline const std::vector<std::string> kFirefoxExport = {
    "<!DOCTYPE NETSCAPE-Bookmark-file-1>",
    "<!-- This is an automatically generated file.",
    "     It will be read and overwritten.",
    "     DO NOT EDIT! -->",
    "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=UTF-8\">",
    "<meta http-equiv=\"Content-Security-Policy\"",
    "      content=\"default-src 'self'; script-src 'none'; img-src data: *; object-src 'none'\"></meta>",
    "<TITLE>Bookmarks</TITLE>",
    "<H1>Bookmarks Menu</H1>",
    "",
    "<DL><p>",
    "    <DT><H3 ADD_DATE=\"1700000000\" LAST_MODIFIED=\"1700000900\" PERSONAL_TOOLBAR_FOLDER=\"true\">Bookmarks "
    "Toolbar</H3>",
    "    <DD>Add bookmarks to this folder to see them displayed on the Bookmarks Toolbar",
    "    <DL><p>",
    "        <DT><A HREF=\"https://docs.python.org/3/\" ADD_DATE=\"1700000300\" LAST_MODIFIED=\"1700000301\" "
    "ICON_URI=\"https://docs.python.org/favicon.ico\" ICON=\"data:image/png;base64,iVBORw0KGgo=\" "
    "SHORTCUTURL=\"pydoc\" TAGS=\"python,docs\">Python docs</A>",
    "        <DD>Library and language reference,",
    "",
    "tutorial: https://docs.python.org/3/tutorial/",
    "        <DT><A HREF=\"https://www.python.org/\" ADD_DATE=\"1700000100\" LAST_MODIFIED=\"1700000101\" "
    "LAST_CHARSET=\"UTF-8\" TAGS=\"python\">Python</A>",
    "        <DD>The official home of the Python",
    "Programming Language",
    "        <DT><A HREF=\"https://docs.python.org/3.12/\" ADD_DATE=\"1700000400\">Python 3</A>",
    "    </DL><p>",
    "    <HR>",
    "    <DT><H3 ADD_DATE=\"1700000500\" LAST_MODIFIED=\"1700000600\">News</H3>",
    "    <DL><p>",
    "        <DT><A HREF=\"https://news.example/letter\" ADD_DATE=\"1700000700\">Newsletter</A>",
    "        <DT><A HREF=\"https://news.example/archive\" ADD_DATE=\"1700000710\" "
    "FEEDURL=\"https://news.example/feed.xml\" WEBSITE=\"https://news.example/\">News archive</A>",
    "        <DD>Everything since 1998,",
    "month by month",
    "        <DT><A HREF=\"https://news.example/\" ADD_DATE=\"1700000715\">News</A>",
    "        <DT><A HREF=\"https://www.python.org/\" ADD_DATE=\"1700000720\">Python again</A>",
    "        <DD>Saved twice,",
    "with a note of its own",
    "    </DL><p>",
    "    <DT><A HREF=\"https://weather.example/\" ADD_DATE=\"1700000730\">Weather</A>",
    "    <DT><A HREF=\"https://news.example/local\" ADD_DATE=\"1700000740\">Local news</A>",
    "    <DD>Front page,",
    "updated hourly",
    "    <HR>",
    "    <DT><A HREF=\"https://www.debian.org/\" ADD_DATE=\"1700000750\">Debian</A>",
    "</DL>",
};

// Chromium's layout: no descriptions, the toolbar folder marked, icons inline.
inline const std::vector<std::string> kChromiumExport = {
    "<!DOCTYPE NETSCAPE-Bookmark-file-1>",
    "<!-- This is an automatically generated file.",
    "     It will be read and overwritten.",
    "     DO NOT EDIT! -->",
    "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=UTF-8\">",
    "<TITLE>Bookmarks</TITLE>",
    "<H1>Bookmarks</H1>",
    "<DL><p>",
    "    <DT><H3 ADD_DATE=\"1700000000\" LAST_MODIFIED=\"1700000500\" PERSONAL_TOOLBAR_FOLDER=\"true\">Bookmarks "
    "bar</H3>",
    "    <DL><p>",
    "        <DT><A HREF=\"https://www.debian.org/\" ADD_DATE=\"1700000100\" "
    "ICON=\"data:image/png;base64,iVBORw0KGgo=\">Debian</A>",
    "        <DT><A HREF=\"https://www.debian.org/News/\" ADD_DATE=\"1700000200\">Debian News</A>",
    "        <DT><A HREF=\"https://wiki.debian.org/\" ADD_DATE=\"1700000300\">Debian</A>",
    "    </DL><p>",
    "</DL><p>",
};

// The lines joined by line ends, as a file holds them.
inline std::string JoinLines(const std::vector<std::string>& lines, const std::string& end = "\n") {
  std::string text;
  for (const std::string& line : lines) text.append(line).append(end);
  return text;
}

}  // namespace quillet::test

#pragma once
// The pane's HTML parser: one pass over the tokenizer's tokens that fills a
// TSectionList with blocks (text sections, list items, preformatted lines,
// paragraph and heading spaces, rules), its image maps and colours, and a
// name list of anchors. There is no tree of elements and bad markup is never
// reported: unknown tags are skipped, missing end tags are implied by the
// nesting of the loops, stray end tags are ignored.
//
// How the pane uses it:
//   HtmlParser parser;
//   parser.OnMeta = ...;                     // events, each optional
//   parser.ParseHtmlStrings(lines, doc, names);   // may throw, see below
//   title = parser.Title; ...                // also after a failure
//
// Failures: ParseHtmlFile and ParseTextFile keep what was parsed when the
// reader meets a comment still open at the end of the input; ParseHtmlStrings
// and ParseHtmlBuffer pass that EParseError on ("Open Comment at End of HTML
// File"), after adding what was built to the document. A file that cannot be
// read raises EFOpenError. Whatever fails, the open section is added to the
// document first, so everything parsed so far can be laid out and shown.
//
// Text at the edges (events, file names) is UTF-8; the document's text is
// UTF-16 as everywhere in the pane.
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "viewer/text/CharReader.h"

namespace quillet {

class FileSystem;
class TSection;
class TSectionList;

// BGSOUND with a SRC: the source, LOOP (1 when absent), and whether a sound
// should stop (always false from the parser; the pane asks to stop with an
// empty source).
using TSoundType = std::function<void(const std::string& src, int loop, bool terminate)>;
// META: its HTTP-EQUIV, NAME and CONTENT, empty when absent.
using TMetaType =
    std::function<void(const std::string& httpEq, const std::string& name, const std::string& content)>;
// Anchor names from A NAME, upper-cased (ASCII letters), each with the
// section holding it; the first anchor of a name wins. The sections belong
// to the document and stay valid until it is cleared.
using TNameList = std::map<std::u16string, TSection*, std::less<>>;

class HtmlParser {
 public:
  // Past this many nested lists, BLOCKQUOTE, CENTER and DIV blocks a further
  // one is laid out as if it were at this depth, so no input can exhaust the
  // stack.
  static constexpr int kMaxNesting = 200;
  // Past this many open tables a further TABLE is read as if its tags were
  // unknown: the text of its cells flows into the cell around it.
  static constexpr int kMaxTableNesting = 16;
  // Entries of the font stack, the base font included; a further push fails
  // and the tag that wanted it changes nothing.
  static constexpr size_t kMaxFonts = 25;

  // Events, each called only when set. OnInclude serves "<!--#" comments
  // (viewer/text/CharReader.h); SCRIPT bodies go to the document's host
  // (DocumentHost::RunScript).
  TIncludeType OnInclude;
  TSoundType OnSoundRequest;
  TMetaType OnMeta;

  // HTML from a file, the document's lines (which must outlive the call) or
  // a block of bytes, decoded by the document rule (UTF-8 when valid, else
  // Windows-1252). The blocks are added to doc, which the caller has
  // cleared; anchors go to names.
  void ParseHtmlFile(FileSystem& fs, const std::string& path, TSectionList& doc, TNameList& names);
  void ParseHtmlStrings(const std::vector<std::string>& lines, TSectionList& doc, TNameList& names);
  void ParseHtmlStrings(std::vector<std::string>&&, TSectionList&, TNameList&) = delete;
  void ParseHtmlBuffer(std::string_view bytes, TSectionList& doc, TNameList& names);
  // Plain text: every line its own preformatted section, every character
  // shown as it stands (no tags, references or comments).
  void ParseTextFile(FileSystem& fs, const std::string& path, TSectionList& doc);
  void ParseTextStrings(const std::vector<std::string>& lines, TSectionList& doc);
  void ParseTextStrings(std::vector<std::string>&&, TSectionList&) = delete;

  // What the last parse left behind (set again by each parse, kept when it
  // fails): the TITLE text, BASE HREF and BASE TARGET.
  std::u16string Title;
  std::u16string BaseUrl;
  std::u16string BaseTarget;
};

}  // namespace quillet

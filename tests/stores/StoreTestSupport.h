#pragma once
// Helpers of the store tests: outlines built by hand and printed for
// comparison, and the fixture makers (Python scripts beside the tests).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bookmarks/TreeWriter.h"
#include "tests/support/RunProgram.h"

namespace quillet::test {

using Attrs = std::vector<std::pair<std::string, std::string>>;

inline OutlineNode Folder(std::string title, std::vector<OutlineNode> children, Attrs attrs = {}) {
  OutlineNode n;
  n.Kind = NodeKind::Folder;
  n.Title = std::move(title);
  n.Attributes = std::move(attrs);
  for (OutlineNode& c : children) n.Children.push_back(std::move(c));
  return n;
}

inline OutlineNode Link(std::string title, std::string address, Attrs attrs = {}) {
  OutlineNode n;
  n.Kind = NodeKind::Link;
  n.Title = std::move(title);
  n.Address = std::move(address);
  n.Attributes = std::move(attrs);
  return n;
}

inline OutlineNode Separator() {
  OutlineNode n;
  n.Kind = NodeKind::Separator;
  return n;
}

inline OutlineNode Root(std::vector<OutlineNode> children) { return Folder("", std::move(children)); }

// An outline as the browsers' HTML, one string: equal text, equal outline.
inline std::string Print(const OutlineNode& root) {
  WriteOptions o;
  o.Layout = WriteLayout::Browser;
  o.Header = false;
  std::string text;
  for (const std::string& line : WriteOutline(root, o)) text += line + "\n";
  return text;
}

inline std::string FixtureScript(const std::string& name) {
  return std::string(QUILLET_SOURCE_DIR) + "/tests/stores/fixtures/" + name;
}

// Runs a fixture maker; fails the test when it fails. Gives its output.
inline std::string RunFixture(const std::string& script, const std::vector<std::string>& args) {
  std::vector<std::string> all{FixtureScript(script)};
  all.insert(all.end(), args.begin(), args.end());
  const ProgramResult r = RunProgram("/usr/bin/python3", all);
  EXPECT_EQ(r.ExitCode, 0) << r.Err;
  return r.Out;
}

}  // namespace quillet::test

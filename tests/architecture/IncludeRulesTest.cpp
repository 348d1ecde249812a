// Which folder may include which: the rules are the "rules" block of
// docs/architecture.md, one line a folder ("viewer/tables -> viewer/layout":
// a file of viewer/tables may include its own folder, viewer/layout and
// whatever viewer/layout may include). Every quoted #include with a folder
// in it, in every source of the tree, must keep to them: none reaches up or
// sideways, and no folder goes without a rule.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace quillet {
namespace {

namespace fs = std::filesystem;

const fs::path kRoot = QUILLET_SOURCE_DIR;

class IncludeRules {
 public:
  // Lines "folder -> folder folder ..."; blank lines and others are skipped.
  explicit IncludeRules(std::istream& block) {
    for (std::string line; std::getline(block, line);) {
      const auto arrow = line.find("->");
      if (arrow == std::string::npos) continue;
      std::istringstream left(line.substr(0, arrow)), right(line.substr(arrow + 2));
      std::string folder, below;
      left >> folder;
      auto& direct = direct_[folder];
      while (right >> below) direct.insert(below);
    }
  }

  // The folder of the rules a path lies in: the longest that starts it.
  std::string FolderOf(const std::string& path) const {
    std::string best;
    for (const auto& [folder, _] : direct_)
      if (path.starts_with(folder + "/") && folder.size() > best.size()) best = folder;
    return best;
  }

  // "" when a file of folder may include the path, else why not.
  std::string Check(const std::string& folder, const std::string& included) const {
    const std::string target = FolderOf(included);
    if (target.empty()) return "no rule covers " + included;
    const std::set<std::string> allowed = Reach(folder);
    return allowed.contains(target) ? "" : folder + " may not include " + target + " (" + included + ")";
  }

  bool Covers(const std::string& folder) const { return direct_.contains(folder); }
  size_t Size() const { return direct_.size(); }

 private:
  std::set<std::string> Reach(const std::string& folder) const {
    std::set<std::string> seen{folder};
    std::vector<std::string> todo{folder};
    while (!todo.empty()) {
      const std::string f = todo.back();
      todo.pop_back();
      const auto it = direct_.find(f);
      if (it == direct_.end()) continue;
      for (const std::string& below : it->second)
        if (seen.insert(below).second) todo.push_back(below);
    }
    return seen;
  }

  std::map<std::string, std::set<std::string>> direct_;
};

// The block after the line "```rules" in docs/architecture.md.
std::string RulesBlock() {
  std::ifstream in(kRoot / "docs/architecture.md");
  std::string text, line;
  bool inside = false;
  while (std::getline(in, line)) {
    if (inside && line.starts_with("```")) break;
    if (inside) text += line + "\n";
    if (line == "```rules") inside = true;
  }
  return text;
}

// The quoted includes of a file that name a folder.
std::vector<std::string> IncludesOf(const fs::path& file) {
  std::vector<std::string> out;
  std::ifstream in(file);
  for (std::string line; std::getline(in, line);) {
    if (!line.starts_with("#include \"")) continue;
    const std::string name = line.substr(10, line.find('"', 10) - 10);
    if (name.find('/') != std::string::npos) out.push_back(name);
  }
  return out;
}

TEST(IncludeRules, ReachUpwardAndSidewaysFail) {
  std::istringstream block(
      "low ->\n"
      "mid/a -> low\n"
      "mid/b -> low\n"
      "top -> mid/a mid/b\n");
  const IncludeRules rules(block);
  const struct {
    std::string folder, included;
    bool allowed;
  } cases[] = {
      {"mid/a", "mid/a/X.h", true},   {"mid/a", "low/X.h", true},    {"top", "low/X.h", true},
      {"top", "mid/b/X.h", true},     {"low", "mid/a/X.h", false},   {"mid/a", "mid/b/X.h", false},
      {"mid/b", "top/X.h", false},    {"mid/a", "other/X.h", false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(rules.Check(c.folder, c.included).empty(), c.allowed) << c.folder << " -> " << c.included;
  EXPECT_EQ(rules.FolderOf("mid/a/room/X.h"), "mid/a");
  EXPECT_EQ(rules.FolderOf("midx/X.h"), "");
}

TEST(IncludeRules, EverySourceKeepsToTheRulesOfTheArchitecture) {
  std::istringstream block(RulesBlock());
  const IncludeRules rules(block);
  ASSERT_GT(rules.Size(), 10u) << "no rules block in docs/architecture.md";
  size_t files = 0;
  for (const char* top : {"platform", "bookmarks", "convert", "cleanup", "viewer", "app", "tools", "bench", "fuzz",
                          "tests"})
    for (const auto& entry : fs::recursive_directory_iterator(kRoot / top)) {
      const std::string ext = entry.path().extension().string();
      if (!entry.is_regular_file() || (ext != ".h" && ext != ".cpp")) continue;
      const std::string path = fs::relative(entry.path(), kRoot).generic_string();
      const std::string folder = rules.FolderOf(path);
      ++files;
      if (folder.empty()) {
        ADD_FAILURE() << "no rule in docs/architecture.md covers the folder of " << path;
        continue;
      }
      for (const std::string& included : IncludesOf(entry.path()))
        if (const std::string why = rules.Check(folder, included); !why.empty()) ADD_FAILURE() << path << ": " << why;
    }
  EXPECT_GT(files, 300u);
}

}  // namespace
}  // namespace quillet

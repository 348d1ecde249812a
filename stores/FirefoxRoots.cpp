#include "stores/FirefoxRoots.h"

#include <vector>

namespace quillet {

namespace {

struct Root {
  std::string_view Guid, BackupName;
  const char* Title;
};
constexpr Root kRoots[] = {
    {"menu________", "bookmarksMenuFolder", "Bookmarks menu"},
    {"toolbar_____", "toolbarFolder", "Bookmarks toolbar"},
    {"unfiled_____", "unfiledBookmarksFolder", "Other bookmarks"},
    {"mobile______", "mobileFolder", "Mobile bookmarks"},
};

void AddDate(OutlineNode& n, const char* name, int64_t micro) {
  if (micro >= 1000000) n.Attributes.emplace_back(name, std::to_string(micro / 1000000));
}

}  // namespace

const char* FirefoxRootTitle(std::string_view id) {
  for (const Root& r : kRoots)
    if (id == r.Guid || id == r.BackupName) return r.Title;
  return nullptr;
}

void SetFirefoxFolderValues(OutlineNode& folder, int64_t added, int64_t modified, bool toolbar) {
  folder.Kind = NodeKind::Folder;
  folder.Attributes.reserve(2 + toolbar);
  AddDate(folder, "ADD_DATE", added);
  AddDate(folder, "LAST_MODIFIED", modified);
  if (toolbar) folder.Attributes.emplace_back("PERSONAL_TOOLBAR_FOLDER", "true");
}

void SetFirefoxLinkValues(OutlineNode& link, int64_t added, int64_t modified, std::string_view keyword,
                          std::string_view tags) {
  link.Kind = NodeKind::Link;
  link.Attributes.reserve(2 + !keyword.empty() + !tags.empty());
  AddDate(link, "ADD_DATE", added);
  AddDate(link, "LAST_MODIFIED", modified);
  if (!keyword.empty()) link.Attributes.emplace_back("SHORTCUTURL", std::string(keyword));
  if (!tags.empty()) link.Attributes.emplace_back("TAGS", std::string(tags));
}

void DropPlaceholders(OutlineNode& root) {
  std::vector<OutlineNode*> folders{&root};
  while (!folders.empty()) {
    OutlineNode* f = folders.back();
    folders.pop_back();
    std::erase_if(f->Children, [](const OutlineNode& c) { return c.Kind == NodeKind::Opaque; });
    for (OutlineNode& c : f->Children)
      if (c.Kind == NodeKind::Folder) folders.push_back(&c);
  }
}

}  // namespace quillet

#pragma once
// What a duplicate search found, in the terms people and scripts read it
// in: each group's copy that stays and those that go, with folder path,
// title, address and line, and the rules each matched by; as text for
// people, JSON or CSV.
#include <cstddef>
#include <string>
#include <vector>

#include "cleanup/NearDuplicates.h"

namespace quillet {

struct DuplicateEntry {
  size_t Line = 0;   // from 1; 0 for a shortcut file
  std::string File;  // a shortcut file's path below the folder searched
  std::string Folder, Title, Url;
  AddressRuleSet Rules = 0;  // for a copy that goes: the rules it matched by
};

struct DuplicateReportGroup {
  DuplicateEntry Kept;
  std::vector<DuplicateEntry> Removed;
};

struct DuplicateReport {
  std::vector<DuplicateReportGroup> Groups;
  size_t Kept = 0;     // the links that stay, duplicates or not
  size_t Removed = 0;  // the copies that go
};

// Fills the rules of every removed entry from its address and the kept
// one's, and the counts from the number of links looked at.
void CompleteDuplicateReport(DuplicateReport& report, size_t links, const AddressRules& rules);

// The report of a search over a tree, complete.
DuplicateReport ReportTreeDuplicates(const BookmarkTree& tree, const TreeDuplicates& found,
                                     const AddressRules& rules);

// {"groups": [{"kept": {...}, "removed": [{..., "rules": [...]}]}], "kept": N,
// "removed": N}; each entry has "line" (null for a shortcut file, which has
// "file" instead), "folder", "title" and "url".
std::string DuplicateReportJson(const DuplicateReport& report);

// A header row, then one row per removed copy:
// removed_line,removed_folder,removed_title,removed_url,kept_line,kept_folder,kept_url,rules
// (rules joined by blanks); for shortcut files the line columns hold the
// files' paths.
std::string DuplicateReportCsv(const DuplicateReport& report);

// For people: each group, the copy kept and each that goes (or went), then
// what it comes to.
std::string DuplicateReportText(const DuplicateReport& report, bool applied);

}  // namespace quillet

#include "cleanup/DuplicateReport.h"

#include <nlohmann/json.hpp>

#include "bookmarks/FolderPath.h"

namespace quillet {

namespace {

using nlohmann::ordered_json;

ordered_json EntryJson(const DuplicateEntry& e, bool withRules) {
  ordered_json j;
  if (e.Line)
    j["line"] = e.Line;
  else
    j["line"] = nullptr;
  if (!e.File.empty()) j["file"] = e.File;
  j["folder"] = e.Folder;
  j["title"] = e.Title;
  j["url"] = e.Url;
  if (withRules) {
    j["rules"] = ordered_json::array();
    for (std::string_view name : AddressRuleNames(e.Rules)) j["rules"].push_back(name);
  }
  return j;
}

std::string CsvField(const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string out = "\"";
  for (char c : text) {
    if (c == '"') out += '"';
    out += c;
  }
  return out + "\"";
}

std::string Where(const DuplicateEntry& e) {
  if (!e.File.empty()) return e.File;
  return "line " + std::to_string(e.Line) + "  " + (e.Folder.empty() ? "(top level)" : e.Folder) + "  \"" + e.Title +
         "\"";
}

std::string RulesText(AddressRuleSet rules) {
  std::string text;
  for (std::string_view name : AddressRuleNames(rules)) text.append(text.empty() ? "" : ", ").append(name);
  return text.empty() ? "exact" : text;
}

std::string Plural(size_t n, const char* one, const char* many) {
  return std::to_string(n) + " " + (n == 1 ? one : many);
}

}  // namespace

void CompleteDuplicateReport(DuplicateReport& report, size_t links, const AddressRules& rules) {
  report.Removed = 0;
  for (DuplicateReportGroup& g : report.Groups) {
    for (DuplicateEntry& e : g.Removed) e.Rules = rules.Rules ? RulesThatMatched(g.Kept.Url, e.Url, rules) : 0;
    report.Removed += g.Removed.size();
  }
  report.Kept = links - report.Removed;
}

DuplicateReport ReportTreeDuplicates(const BookmarkTree& tree, const TreeDuplicates& found,
                                     const AddressRules& rules) {
  auto entry = [&](size_t i) {
    const NodeId id = found.Links[i];
    return DuplicateEntry{tree.ItemLine(id) + 1, {}, FolderPathOf(tree, id), tree.Title(id), tree.Address(id), 0};
  };
  DuplicateReport report;
  for (const DuplicateGroup& g : found.Groups) {
    DuplicateReportGroup& r = report.Groups.emplace_back();
    r.Kept = entry(g.Kept);
    for (size_t i : g.Removed) r.Removed.push_back(entry(i));
  }
  CompleteDuplicateReport(report, found.Links.size(), rules);
  return report;
}

std::string DuplicateReportJson(const DuplicateReport& report) {
  ordered_json j;
  j["groups"] = ordered_json::array();
  for (const DuplicateReportGroup& g : report.Groups) {
    ordered_json group;
    group["kept"] = EntryJson(g.Kept, false);
    group["removed"] = ordered_json::array();
    for (const DuplicateEntry& e : g.Removed) group["removed"].push_back(EntryJson(e, true));
    j["groups"].push_back(std::move(group));
  }
  j["kept"] = report.Kept;
  j["removed"] = report.Removed;
  // Bytes that are not UTF-8 (a title read as it was written) must not stop
  // the report.
  return j.dump(2, ' ', false, ordered_json::error_handler_t::replace) + "\n";
}

std::string DuplicateReportCsv(const DuplicateReport& report) {
  std::string out = "removed_line,removed_folder,removed_title,removed_url,kept_line,kept_folder,kept_url,rules\r\n";
  auto line = [](const DuplicateEntry& e) { return e.File.empty() ? std::to_string(e.Line) : e.File; };
  for (const DuplicateReportGroup& g : report.Groups) {
    for (const DuplicateEntry& e : g.Removed) {
      std::string rules;
      for (std::string_view name : AddressRuleNames(e.Rules)) rules.append(rules.empty() ? "" : " ").append(name);
      for (const std::string& field : {line(e), e.Folder, e.Title, e.Url, line(g.Kept), g.Kept.Folder, g.Kept.Url})
        out.append(CsvField(field)).append(",");
      out.append(CsvField(rules)).append("\r\n");
    }
  }
  return out;
}

std::string DuplicateReportText(const DuplicateReport& report, bool applied) {
  std::string out;
  for (const DuplicateReportGroup& g : report.Groups) {
    out += "keep    " + Where(g.Kept) + "  " + g.Kept.Url + "\n";
    for (const DuplicateEntry& e : g.Removed)
      out += std::string(applied ? "removed " : "remove  ") + Where(e) + "  " + e.Url + "  (" + RulesText(e.Rules) +
             ")\n";
    out += "\n";
  }
  if (report.Groups.empty()) return "No duplicates found; " + Plural(report.Kept, "link", "links") + " looked at.\n";
  const std::string groups = Plural(report.Groups.size(), "group", "groups");
  if (applied) return out + "Removed " + Plural(report.Removed, "copy", "copies") + " in " + groups + "; " +
                      std::to_string(report.Kept) + " kept.\n";
  return out + Plural(report.Removed, "copy", "copies") + " in " + groups + " would be removed; " +
         std::to_string(report.Kept) + " would stay. Nothing was changed: --apply removes them.\n";
}

}  // namespace quillet

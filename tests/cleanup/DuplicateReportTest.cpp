#include "cleanup/DuplicateReport.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "bookmarks/TreeReader.h"

namespace quillet {
namespace {

DuplicateReport Report() {
  const BookmarkTree tree = ReadBookmarkTree({"<DL><p>", "<DT><H3>Work, \"old\"</H3>", "<DL><p>",
                                              "<DT><A HREF=\"http://www.a.org/x/\">A &amp; B</A>", "</DL><p>",
                                              "<DT><A HREF=\"https://a.org/x\">a</A>",
                                              "<DT><A HREF=\"http://b.org/\">b</A>",
                                              "<DT><A HREF=\"http://b.org/\">b\xff</A>", "</DL><p>"});
  AddressRules rules{kAllAddressRules};
  return ReportTreeDuplicates(tree, FindTreeDuplicates(tree, DuplicateOptions{rules}), rules);
}

// Every entry holds exactly the keys the report promises, with their types.
void CheckEntry(const nlohmann::json& e, bool removed) {
  ASSERT_TRUE(e.is_object());
  EXPECT_EQ(e.size(), removed ? 5u : 4u);
  EXPECT_TRUE(e.at("line").is_number_unsigned());
  for (const char* key : {"folder", "title", "url"}) EXPECT_TRUE(e.at(key).is_string()) << key;
  if (removed) {
    ASSERT_TRUE(e.at("rules").is_array());
    for (const auto& r : e.at("rules")) EXPECT_TRUE(r.is_string());
  }
}

TEST(DuplicateReport, JsonFollowsItsSchema) {
  const nlohmann::json j = nlohmann::json::parse(DuplicateReportJson(Report()));
  ASSERT_EQ(j.size(), 3u);
  EXPECT_EQ(j.at("kept"), 2);
  EXPECT_EQ(j.at("removed"), 2);
  ASSERT_EQ(j.at("groups").size(), 2u);
  for (const auto& g : j.at("groups")) {
    EXPECT_EQ(g.size(), 2u);
    CheckEntry(g.at("kept"), false);
    for (const auto& r : g.at("removed")) CheckEntry(r, true);
  }
  const auto& first = j["groups"][0];
  EXPECT_EQ(first["kept"], (nlohmann::json{{"line", 4}, {"folder", "Work, \"old\""}, {"title", "A & B"},
                                           {"url", "http://www.a.org/x/"}}));
  EXPECT_EQ(first["removed"][0]["rules"], (nlohmann::json{"slash", "scheme", "www"}));
  EXPECT_EQ(first["removed"][0]["folder"], "");
  // An exact copy matched by no rule; the title of a Windows-1252 document
  // comes out in UTF-8.
  EXPECT_EQ(j["groups"][1]["removed"][0]["rules"], nlohmann::json::array());
  EXPECT_EQ(j["groups"][1]["removed"][0]["title"], "b\xc3\xbf");
}

TEST(DuplicateReport, AShortcutFileNameThatIsNotUtf8DoesNotStopTheJson) {
  DuplicateReport report;
  report.Groups.push_back({DuplicateEntry{0, "a.url", "", "a", "http://a/"},
                           {DuplicateEntry{0, "Old/b\xff.url", "Old", "b\xff", "http://a/"}}});
  CompleteDuplicateReport(report, 2, AddressRules{});
  const nlohmann::json j = nlohmann::json::parse(DuplicateReportJson(report));
  EXPECT_EQ(j["groups"][0]["removed"][0]["file"], "Old/b\xef\xbf\xbd.url");
  EXPECT_EQ(j["groups"][0]["kept"]["line"], nullptr);
  EXPECT_EQ(j["kept"], 1);
}

TEST(DuplicateReport, CsvHasOneRowPerRemovedLinkQuotedWhereNeeded) {
  EXPECT_EQ(DuplicateReportCsv(Report()),
            "removed_line,removed_folder,removed_title,removed_url,kept_line,kept_folder,kept_url,rules\r\n"
            "6,,a,https://a.org/x,4,\"Work, \"\"old\"\"\",http://www.a.org/x/,slash scheme www\r\n"
            "8,,b\xc3\xbf,http://b.org/,7,,http://b.org/,\r\n");
}

}  // namespace
}  // namespace quillet

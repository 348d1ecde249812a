#include "check/CheckReport.h"

#include <ctime>
#include <nlohmann/json.hpp>

#include "check/Url.h"

namespace quillet {

namespace {

std::string ChainText(const LinkResult& r) {
  std::string out;
  for (const RedirectHop& hop : r.Chain) out += (out.empty() ? "" : " ") + hop.Url;
  return out;
}

std::string CsvCell(std::string s, bool text) {
  // A spreadsheet runs a cell that starts like a formula: a title is data.
  if (text && !s.empty() && (s[0] == '=' || s[0] == '+' || s[0] == '-' || s[0] == '@')) s.insert(0, "'");
  if (s.find_first_of(",\"\r\n") == std::string::npos) return s;
  std::string out = "\"";
  for (char c : s) out += c == '"' ? std::string("\"\"") : std::string(1, c);
  return out + "\"";
}

std::string HtmlEscaped(std::string_view s) {
  std::string out;
  for (char c : s) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default: out += c;
    }
  }
  return out;
}

// Only addresses a browser fetches become links: a javascript: one in a
// report would run on a click.
std::string AddressCell(const std::string& url) {
  const std::string scheme = UrlScheme(url);
  const std::string text = HtmlEscaped(url);
  if (scheme == "http" || scheme == "https" || scheme == "file") return "<a href=\"" + text + "\">" + text + "</a>";
  return text;
}

}  // namespace

StateCounts CountStates(const std::vector<LinkResult>& results) {
  StateCounts counts{};
  for (const LinkResult& r : results) ++counts[static_cast<int>(r.State)];
  return counts;
}

std::string IsoTime(int64_t unixSeconds) {
  const std::time_t t = static_cast<std::time_t>(unixSeconds);
  std::tm tm{};
  gmtime_r(&t, &tm);
  char buf[32];
  std::strftime(buf, sizeof buf, "%Y-%m-%dT%H:%M:%SZ", &tm);
  return buf;
}

std::string JsonReport(const std::vector<DocumentLink>& links, const std::vector<LinkResult>& results) {
  using json = nlohmann::ordered_json;
  json list = json::array();
  for (size_t i = 0; i < links.size() && i < results.size(); ++i) {
    const LinkResult& r = results[i];
    json chain = json::array();
    for (const RedirectHop& hop : r.Chain) chain.push_back({{"url", hop.Url}, {"status", hop.Status}});
    list.push_back({{"line", links[i].Line},
                    {"folder", links[i].Folder},
                    {"title", links[i].Title},
                    {"url", links[i].Url},
                    {"state", LinkStateName(r.State)},
                    {"status", r.Status ? json(*r.Status) : json(nullptr)},
                    {"final_url", r.FinalUrl},
                    {"chain", chain},
                    {"error", r.Error},
                    {"attempts", r.Attempts},
                    {"checked_at", r.CheckedAt ? json(IsoTime(r.CheckedAt)) : json(nullptr)}});
  }
  json summary = json::object();
  const StateCounts counts = CountStates(results);
  for (int s = 0; s < kLinkStateCount; ++s) summary[std::string(LinkStateName(static_cast<LinkState>(s)))] = counts[s];
  json report = {{"links", list}, {"summary", summary}};
  return report.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
}

std::string CsvReport(const std::vector<DocumentLink>& links, const std::vector<LinkResult>& results) {
  std::string out = "line,folder,title,url,state,status,final_url,chain,error,attempts,checked_at\r\n";
  for (size_t i = 0; i < links.size() && i < results.size(); ++i) {
    const LinkResult& r = results[i];
    const std::string cells[] = {std::to_string(links[i].Line),
                                 CsvCell(links[i].Folder, true),
                                 CsvCell(links[i].Title, true),
                                 CsvCell(links[i].Url, false),
                                 std::string(LinkStateName(r.State)),
                                 r.Status ? std::to_string(*r.Status) : "",
                                 CsvCell(r.FinalUrl, false),
                                 CsvCell(ChainText(r), false),
                                 CsvCell(r.Error, true),
                                 std::to_string(r.Attempts),
                                 r.CheckedAt ? IsoTime(r.CheckedAt) : ""};
    for (size_t c = 0; c < std::size(cells); ++c) out += (c ? "," : "") + cells[c];
    out += "\r\n";
  }
  return out;
}

std::string HtmlReport(const std::vector<DocumentLink>& links, const std::vector<LinkResult>& results) {
  std::string out =
      "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>Link check</title>\n"
      "<style>body{font-family:sans-serif}table{border-collapse:collapse}td,th{border:1px solid #ccc;"
      "padding:2px 6px;text-align:left}th{cursor:pointer}.dead{background:#fdd}.error,.rate-limited{background:#ffd}"
      "</style></head><body>\n<h1>Link check</h1>\n<p>";
  const StateCounts counts = CountStates(results);
  for (int s = 0; s < kLinkStateCount; ++s)
    out += std::string(s ? ", " : "") + std::string(LinkStateName(static_cast<LinkState>(s))) + ": " +
           std::to_string(counts[s]);
  out +=
      "</p>\n<table id=\"links\"><thead><tr><th>Line</th><th>Folder</th><th>Title</th><th>Address</th>"
      "<th title=\"Sort by state\">State</th><th>Status</th><th>Final address</th><th>Error</th></tr></thead><tbody>\n";
  for (size_t i = 0; i < links.size() && i < results.size(); ++i) {
    const LinkResult& r = results[i];
    const std::string state(LinkStateName(r.State));
    out += "<tr class=\"" + state + "\"><td>" + std::to_string(links[i].Line) + "</td><td>" +
           HtmlEscaped(links[i].Folder) + "</td><td>" + HtmlEscaped(links[i].Title) + "</td><td>" +
           AddressCell(links[i].Url) + "</td><td>" + state + "</td><td>" +
           (r.Status ? std::to_string(*r.Status) : "") + "</td><td>" +
           (r.FinalUrl == links[i].Url ? "" : AddressCell(r.FinalUrl)) + "</td><td>" + HtmlEscaped(r.Error) +
           "</td></tr>\n";
  }
  out +=
      "</tbody></table>\n<script>\n"
      "document.querySelectorAll('#links th').forEach(function(th, col) {\n"
      "  th.addEventListener('click', function() {\n"
      "    var body = document.querySelector('#links tbody');\n"
      "    var rows = Array.prototype.slice.call(body.rows);\n"
      "    var num = col === 0 || col === 5;\n"
      "    rows.sort(function(a, b) {\n"
      "      var x = a.cells[col].textContent, y = b.cells[col].textContent;\n"
      "      return num ? (Number(x) - Number(y)) : x.localeCompare(y);\n"
      "    });\n"
      "    rows.forEach(function(r) { body.appendChild(r); });\n"
      "  });\n"
      "});\n</script>\n</body></html>\n";
  return out;
}

}  // namespace quillet

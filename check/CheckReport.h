#pragma once
// The reports of a link check: JSON for programs, CSV for spreadsheets, a
// page for people. One entry per link, in document order.
#include <array>
#include <string>
#include <vector>

#include "check/CheckDocument.h"
#include "check/LinkCheck.h"

namespace quillet {

using StateCounts = std::array<size_t, kLinkStateCount>;
StateCounts CountStates(const std::vector<LinkResult>& results);

// Unix seconds as "2024-05-01T12:00:00Z".
std::string IsoTime(int64_t unixSeconds);

std::string JsonReport(const std::vector<DocumentLink>& links, const std::vector<LinkResult>& results);
std::string CsvReport(const std::vector<DocumentLink>& links, const std::vector<LinkResult>& results);
std::string HtmlReport(const std::vector<DocumentLink>& links, const std::vector<LinkResult>& results);

}  // namespace quillet

#include "app/Commands.h"

#include "app/Batch.h"
#include "app/CheckCommand.h"
#include "app/ConvertCommand.h"
#include "app/InfoCommand.h"
#include "app/ProfilesCommand.h"
#include "app/DedupeCommand.h"
#include "app/SortCommand.h"
#include "bookmarks/BookmarkFormat.h"
#include "cleanup/RemoveDuplicateLinks.h"
#include "cleanup/SortLinks.h"
#include "cleanup/StripNetscapeTags.h"

namespace quillet {

namespace {

using enum CommandKind;

// A new command word is one row here, `{Word, "name", RunNameCommand},`,
// plus the include of its header, its text in --help, quillet.1 and the
// help pages.
const Command kCommands[] = {
    {Word, "info", RunInfoCommand},
    {Word, "check", RunCheckCommand},
    {Word, "convert", RunConvertCommand},
    {Word, "profiles", RunProfilesCommand},
    {Word, "dedupe", RunDedupeCommand},
    {Word, "sort", RunSortCommand},
    {Mode, "urls2html", nullptr, RunUrlsToHtmlMode, nullptr, false, "urlsToHtmlAction", "&Urls to Html",
     "Urls to Html"},
    {Mode, "ie2html", nullptr, RunFavoritesToHtmlMode},
    {Mode, "html2urls", nullptr, RunHtmlToUrlsMode, nullptr, false, "htmlToUrlsAction", "&Html to Urls"},
    {Mode, "html2ie", nullptr, RunHtmlToUrlsMode},
    {Mode, "ns2urls", nullptr, RunNetscapeToUrlsMode, nullptr, false, "netscapeToUrlsAction",
     "&Netscape Bookmarks to Urls"},
    {Mode, "ns2ie", nullptr, RunNetscapeToUrlsMode},
    {Mode, "urls2ns", nullptr, RunUrlsToNetscapeMode, nullptr, false, "urlsToNetscapeAction",
     "U&rls to Netscape Bookmarks", "Urls to Netscape Bookmarks"},
    {Mode, "ie2ns", nullptr, RunUrlsToNetscapeMode},
    {Switch, "/sort", nullptr, nullptr, SortLinks, true, "sortAction", "So&rt", "Sort", "Sorted", "link", "links"},
    {Switch, "/nsstrip", nullptr, nullptr, StripNetscapeTags, false, "stripNetscapeTagsAction",
     "Strip &Netscape Tags", "Strip Netscape Tags", "Stripped", "attribute", "attributes"},
    {Switch, "/nodupes", nullptr, nullptr, RemoveDuplicateLinks, true, "removeDuplicatesFromHtmlAction", "From &Html",
     "Remove Duplicates", "Removed", "duplicate link", "duplicate links"},
};

}  // namespace

std::span<const Command> Commands() { return kCommands; }

const Command* CommandOf(const CommandLine& cl, std::span<const Command> table) {
  const std::string first = cl.Argument(1);
  for (const Command& c : table)
    if (c.kind == Word && first == c.name) return &c;
  const std::string mode = LowerAscii(first);
  for (const Command& c : table)
    if (c.kind == Mode && mode == c.name) return &c;
  for (const Command& c : table)
    if (c.kind == Switch && cl.HasSwitch(c.name)) return &c;
  return nullptr;
}

const Command* CommandNamed(std::string_view name) {
  for (const Command& c : kCommands)
    if (name == c.name) return &c;
  return nullptr;
}

const Command* CommandForAction(std::string_view action) {
  for (const Command& c : kCommands)
    if (c.action && action == c.action) return &c;
  return nullptr;
}

}  // namespace quillet

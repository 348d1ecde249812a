#include "app/ProfilesCommand.h"
#include "app/WordOptions.h"

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include "stores/BrowserProfiles.h"

namespace quillet {

int RunProfilesCommand(Context& ctx, const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  CLI::App app{"Lists the browser profiles found in your home folder with the path of each one's bookmark store, "
               "for `quillet convert`. A Chromium profile whose browser runs is marked: it cannot be written now.",
               "quillet profiles"};
  bool json = false;
  app.add_flag("--json", json, "one JSON array of objects with browser, profile, name, store, format and running");
  if (const auto status = ParseWordOptions(app, args, out, err)) return *status;

  const std::vector<BrowserProfile> profiles = FindBrowserProfiles(ctx.Fs(), ctx.HomeDir, ctx.ConfigHome);
  auto running = [](const BrowserProfile& p) {
    return p.Format == StoreFormat::Chromium && ChromiumProfileInUse(p.Store).has_value();
  };
  if (json) {
    nlohmann::json list = nlohmann::json::array();
    for (const BrowserProfile& p : profiles)
      list.push_back({{"browser", p.Browser},
                      {"profile", p.Profile},
                      {"name", p.Name},
                      {"store", p.Store},
                      {"format", StoreFormatName(p.Format)},
                      {"running", running(p)}});
    out << list.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << "\n";
    return 0;
  }
  if (profiles.empty()) {
    out << "No browser profiles found in " << (ctx.HomeDir.empty() ? "(no home folder)" : ctx.HomeDir) << ".\n";
    return 0;
  }
  size_t browserWidth = 0, profileWidth = 0;
  std::vector<std::string> labels;
  for (const BrowserProfile& p : profiles) {
    labels.push_back(p.Name.empty() || p.Name == p.Profile ? p.Profile : p.Profile + " (" + p.Name + ")");
    browserWidth = std::max(browserWidth, p.Browser.size());
    profileWidth = std::max(profileWidth, labels.back().size());
  }
  for (size_t i = 0; i < profiles.size(); ++i) {
    const BrowserProfile& p = profiles[i];
    out << p.Browser << std::string(browserWidth - p.Browser.size() + 2, ' ') << labels[i]
        << std::string(profileWidth - labels[i].size() + 2, ' ') << p.Store << (running(p) ? "  (running)" : "")
        << "\n";
  }
  return 0;
}

}  // namespace quillet

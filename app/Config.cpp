#include "app/Config.h"

namespace quillet {

// placeholders until built
std::string SettingsFileName(const Context& ctx) { return ctx.DataDir + "Quillet.Ini"; }
void LoadSettings(Context&) {}
void SaveSettings(Context&) {}

}  // namespace quillet

#pragma once
// The settings file.
#include <string>

#include "convert/Context.h"

namespace quillet {

// The settings file's full name.
std::string SettingsFileName(const Context& ctx);
// Reads every stored field of ctx.Config; never fails.
void LoadSettings(Context& ctx);
// Writes every stored field; throws EWriteError when a key cannot be written.
void SaveSettings(Context& ctx);

}  // namespace quillet

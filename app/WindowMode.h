#pragma once
// The window road of the entry: the splash, the main window and the message
// loop. Only this road creates the Qt application.
#include "convert/Context.h"

namespace quillet {

// Runs the window until it closes; returns the exit status.
int RunWindow(Context& ctx, int argc, char** argv);

}  // namespace quillet

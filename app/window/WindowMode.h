#pragma once
// The window road of the entry: the splash, the main window and the message
// loop. Only this road creates the Qt application.
#include <string>

#include "bookmarks/Context.h"

namespace quillet {

// The view the window opens in.
enum class WindowStart { Rendered, Organize };

// Runs the window until it closes; returns the exit status. A non-empty
// openFile is loaded into the window as the open command would load it.
int RunWindow(Context& ctx, int argc, char** argv, const std::string& openFile = "",
              WindowStart start = WindowStart::Rendered);

}  // namespace quillet

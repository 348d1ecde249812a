#pragma once
// The one table of what a command line can ask for: the command words, the
// classic mode words and the clean-up switches. The batch, the choice
// between window and batch, the window's menu items and the documentation
// test all read it, so a row added here reaches each of them.
#include <cstddef>
#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "app/CommandLine.h"
#include "bookmarks/Context.h"

namespace quillet {

enum class CommandKind {
  // A command word: exactly the first argument, before anything else.
  Word,
  // A classic mode word: the first argument in any letter case.
  Mode,
  // A clean-up switch: its exact text anywhere on the line.
  Switch,
};

// Runs `quillet WORD ARGS...`; args exclude the program and the word.
using WordFunction = int (*)(Context& ctx, const std::vector<std::string>& args, std::ostream& out,
                             std::ostream& err);
// Runs a classic mode on the whole command line.
using ModeFunction = int (*)(Context& ctx, const CommandLine& cl);
// Cleans the loaded document up; returns how many things it changed.
using CleanUpFunction = size_t (*)(Context& ctx);

struct Command {
  CommandKind kind;
  const char* name;  // the word, or the switch's exact text
  WordFunction word = nullptr;
  ModeFunction mode = nullptr;
  CleanUpFunction cleanUp = nullptr;
  // A switch that may clean the browser's bookmark file up as "quillet ns".
  bool browserFile = false;
  // The window's menu item for it, where it has one.
  const char* action = nullptr;
  const char* caption = nullptr;
  // The window's undo step ("Sort") and status note ("Sorted 3 links").
  const char* step = nullptr;
  const char* done = nullptr;
  const char* one = nullptr;
  const char* many = nullptr;
};

// Every row: the words first, then the mode words, then the switches in the
// order they win when a line holds several.
std::span<const Command> Commands();

// The row the command line selects in table, or null: a command word as the
// first argument wins over everything, then a mode word, then the first
// switch of the table found on the line.
const Command* CommandOf(const CommandLine& cl, std::span<const Command> table = Commands());

// The row whose name or window action is given; null for none.
const Command* CommandNamed(std::string_view name);
const Command* CommandForAction(std::string_view action);

}  // namespace quillet

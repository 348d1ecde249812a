#pragma once
// The shell port: handing files, folders and addresses to the programs the
// desktop associates with them. Every call returns at once; the started
// program runs on its own and the caller never learns how it ends.
#include <string>
#include <vector>

namespace quillet {

class Shell {
 public:
  virtual ~Shell() = default;
  // Opens a file, folder or address ("https:", "mailto:") with its default
  // program. False when it could not be handed over (a missing file, no
  // opener).
  virtual bool Open(const std::string& target) = 0;
  // Shows a folder in the file manager.
  virtual bool Explore(const std::string& folder) = 0;
  // Starts a program file with a parameter text.
  virtual bool StartProgram(const std::string& program, const std::string& params) = 0;
  // Shows a page of the program's help.
  virtual bool ShowHelp(const std::string& page) = 0;
};

// The Linux desktop: everything goes through xdg-open, started with an
// argument list (never a shell command line) and detached from the program.
// A program file is opened like any other file (its default application,
// for instance Wine for a Windows program); the opener takes no parameters,
// so they are not passed on.
class XdgShell : public Shell {
 public:
  // opener: the program that opens things; looked up in PATH unless it holds a "/".
  explicit XdgShell(std::string opener = "xdg-open") : opener_(std::move(opener)) {}
  bool Open(const std::string& target) override;
  bool Explore(const std::string& folder) override;
  bool StartProgram(const std::string& program, const std::string& params) override;
  bool ShowHelp(const std::string& page) override;

 private:
  std::string opener_;
};

// Starts program with the arguments, detached (it is not a child of this
// process and leaves no zombie), standard input from /dev/null. True once the
// program has been started; false when it cannot be found or run.
bool StartDetached(const std::string& program, const std::vector<std::string>& args);

// True when text starts with an address scheme ("https:", "mailto:"): two or
// more letters, digits, "+", "-" or ".", beginning with a letter, then ":".
// A drive letter ("C:") is not a scheme.
bool HasUrlScheme(const std::string& text);

}  // namespace quillet

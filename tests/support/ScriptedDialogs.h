#pragma once
// The Dialogs test double: file and folder names come from a script, every
// dialog shown is recorded.
#include <deque>
#include <string>
#include <vector>

#include "platform/Dialogs.h"

namespace quillet::test {

// File dialogs answered from a script; every call is recorded.
class ScriptedDialogs : public Dialogs {
 public:
  bool OpenFileName(const FileDialogSetup& setup, std::string& fileName) override {
    return Next("open", setup, fileName);
  }
  bool SaveFileName(const FileDialogSetup& setup, std::string& fileName) override {
    return Next("save", setup, fileName);
  }
  bool SelectFolder(const std::string& start, std::string& folder) override {
    return Next("folder", FileDialogSetup{"", "", start}, folder);
  }

  // Each dialog shown takes the next name; an empty name, or none left, is Cancel.
  std::deque<std::string> Names;
  std::vector<std::string> Shown;  // "open", "save", "folder" in turn
  std::vector<FileDialogSetup> Setups;

 private:
  bool Next(const char* kind, const FileDialogSetup& setup, std::string& out) {
    Shown.push_back(kind);
    Setups.push_back(setup);
    if (Names.empty()) return false;
    out = Names.front();
    Names.pop_front();
    return !out.empty();
  }
};

}  // namespace quillet::test

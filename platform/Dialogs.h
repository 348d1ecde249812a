#pragma once
// The file and folder dialogs: what the window asks of the platform's
// choosers. Tests script the answers.
#include <string>

namespace quillet {

// A file dialog's setup, kept by the window as its dialog component.
struct FileDialogSetup {
  // "Description|pattern;pattern" pairs, '|'-separated.
  std::string Filter;
  // Added to a name typed without one ("htm").
  std::string DefaultExt;
  // The folder the dialog starts in.
  std::string InitialDir;
};

class Dialogs {
 public:
  virtual ~Dialogs() = default;
  // The open dialog; it accepts the name of a file that does not exist.
  // False on Cancel.
  virtual bool OpenFileName(const FileDialogSetup& setup, std::string& fileName) = 0;
  // The save dialog; it does not ask before overwriting. False on Cancel.
  virtual bool SaveFileName(const FileDialogSetup& setup, std::string& fileName) = 0;
  // The folder chooser, starting at folder; the user may type the name of a
  // folder that does not exist (it is not created). False on Cancel.
  virtual bool SelectFolder(const std::string& start, std::string& folder) = 0;
};

}  // namespace quillet

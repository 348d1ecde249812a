#pragma once
// The registry port, read only: what the program needs of the Windows
// registry. Keys are written as Windows writes them ("Software\Netscape"),
// matched without regard to case; nothing is ever created or written.
#include <string>
#include <vector>

#include "platform/Errors.h"

namespace quillet {

enum class RegRoot { CurrentUser, LocalMachine, Users };

// "Invalid data type for '%s'": a value exists but does not hold text.
class ERegistryException : public QuilletError {
 public:
  explicit ERegistryException(const std::string& valueName)
      : QuilletError("ERegistryException", FormatText("Invalid data type for '%s'", valueName)) {}
};

class Registry {
 public:
  virtual ~Registry() = default;
  // The text of a string or expandable-string value, as stored (nothing is
  // expanded); empty text when the key or the value is missing. An empty
  // name reads the key's default value. Throws ERegistryException when the
  // value holds anything but text.
  virtual std::string ReadString(RegRoot root, const std::string& key, const std::string& name) = 0;
  // The names of the key's direct subkeys, in the registry's own order
  // (alphabetical, case ignored); empty when the key is missing.
  virtual std::vector<std::string> SubKeyNames(RegRoot root, const std::string& key) = 0;
  // The local path a Windows path read from the registry stands for
  // ("C:\users\ann\Favorites" -> the folder behind drive C:). A path that
  // cannot be mapped is returned as it is.
  virtual std::string LocalPath(const std::string& windowsPath) = 0;
};

}  // namespace quillet

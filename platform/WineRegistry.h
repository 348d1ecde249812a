#pragma once
// The registry of a Wine prefix: user.reg stands for HKEY_CURRENT_USER,
// system.reg for HKEY_LOCAL_MACHINE; HKEY_USERS reads as empty. Without a
// prefix every query reads as missing.
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/Registry.h"

namespace quillet {

// Value types as the registry numbers them.
inline constexpr uint32_t kRegSz = 1;
inline constexpr uint32_t kRegExpandSz = 2;
inline constexpr uint32_t kRegBinary = 3;
inline constexpr uint32_t kRegDword = 4;
inline constexpr uint32_t kRegMultiSz = 7;

struct RegValue {
  uint32_t Type = kRegSz;
  // The text of a string value (UTF-8, cut at its first NUL); empty for
  // other types, whose data the program never reads.
  std::string Text;
  bool IsText() const { return Type == kRegSz || Type == kRegExpandSz; }
};

// The keys and values of one registry file. Key paths are names joined by
// backslashes; keys and value names match without regard to ASCII case.
class RegistryHive {
 public:
  // Creates the key (and, implicitly, every key above it).
  void AddKey(std::string_view key);
  // Sets a value, creating the key; a later value of the same name replaces it.
  void SetValue(std::string_view key, std::string_view name, RegValue value);
  const RegValue* FindValue(std::string_view key, std::string_view name) const;
  // Direct subkeys, case ignored in order and in duplicates; the spelling is
  // the first one met.
  std::vector<std::string> SubKeyNames(std::string_view key) const;
  size_t KeyCount() const { return keys_.size(); }

 private:
  struct Key {
    std::string Path;                      // as spelled in the file
    std::map<std::string, RegValue> Values;  // by lower-cased name
  };
  Key* Ensure(std::string_view key);
  std::map<std::string, Key> keys_;  // by lower-cased path
};

// Reads the text of a Wine registry file ("WINE REGISTRY Version 2"). Lines
// it cannot make sense of are skipped; text that is not a Wine registry file
// gives an empty hive. Never fails, whatever the input.
RegistryHive ParseWineRegistry(std::string_view text);

// A key path in its one normal form: no leading or trailing backslash; empty
// when the path has an empty name inside ("a\\b").
std::optional<std::string> NormalKeyPath(std::string_view key);

// The user's Wine prefix: $WINEPREFIX, else ~/.wine; empty when neither is set.
std::string WinePrefixFromEnvironment();

class WineRegistry : public Registry {
 public:
  // prefix: the prefix folder; empty text for none. The files are read at
  // the first query and kept.
  WineRegistry(FileSystem& fs, std::string prefix) : fs_(fs), prefix_(std::move(prefix)) {}

  std::string ReadString(RegRoot root, const std::string& key, const std::string& name) override;
  std::vector<std::string> SubKeyNames(RegRoot root, const std::string& key) override;
  // Through the prefix's dosdevices drive links; each name below the drive
  // is matched without regard to case, as Wine does.
  std::string LocalPath(const std::string& windowsPath) override;

 private:
  const RegistryHive* Hive(RegRoot root);
  FileSystem& fs_;
  std::string prefix_;
  std::optional<RegistryHive> user_, machine_;
};

}  // namespace quillet

#pragma once
// The Registry test double: values are set by the test; path mapping is
// scripted (a path without a mapping is returned as it is) and recorded.
#include <map>
#include <string>
#include <vector>

#include "platform/WineRegistry.h"

namespace quillet::test {

class FakeRegistry : public Registry {
 public:
  void SetString(RegRoot root, const std::string& key, const std::string& name,
                 const std::string& text) {
    hives_[root].SetValue(key, name, RegValue{kRegSz, text});
  }
  void SetNonText(RegRoot root, const std::string& key, const std::string& name,
                  uint32_t type = kRegDword) {
    hives_[root].SetValue(key, name, RegValue{type, ""});
  }
  void AddKey(RegRoot root, const std::string& key) { hives_[root].AddKey(key); }

  std::string ReadString(RegRoot root, const std::string& key, const std::string& name) override {
    const RegValue* v = hives_[root].FindValue(key, name);
    if (!v) return std::string();
    if (!v->IsText()) throw ERegistryException(name);
    return v->Text;
  }
  std::vector<std::string> SubKeyNames(RegRoot root, const std::string& key) override {
    return hives_[root].SubKeyNames(key);
  }
  std::string LocalPath(const std::string& windowsPath) override {
    Mapped.push_back(windowsPath);
    const auto it = Paths.find(windowsPath);
    return it == Paths.end() ? windowsPath : it->second;
  }

  std::map<std::string, std::string> Paths;  // Windows path -> local path
  std::vector<std::string> Mapped;           // every path LocalPath was asked for

 private:
  std::map<RegRoot, RegistryHive> hives_;
};

}  // namespace quillet::test

#include "platform/FaceName.h"

#include <algorithm>
#include <mutex>
#include <unordered_map>

namespace quillet {

namespace {

// The names in use. A name goes when the pool alone holds it, swept as the
// pool grows, so a page naming many faces leaves nothing behind once its
// fonts are gone.
struct FacePool {
  std::mutex Lock;
  std::unordered_map<std::u16string, std::shared_ptr<const std::u16string>> Names;
  size_t SweepAt = 64;

  std::shared_ptr<const std::u16string> Intern(std::u16string_view name) {
    std::lock_guard<std::mutex> hold(Lock);
    std::u16string key(name);
    if (auto it = Names.find(key); it != Names.end()) return it->second;
    if (Names.size() >= SweepAt) {
      std::erase_if(Names, [](const auto& entry) { return entry.second.use_count() == 1; });
      SweepAt = std::max<size_t>(64, 2 * Names.size());
    }
    auto shared = std::make_shared<const std::u16string>(key);
    Names.emplace(std::move(key), shared);
    return shared;
  }
};

FacePool& Pool() {
  static FacePool* pool = new FacePool;  // never destroyed: fonts in statics may outlive it
  return *pool;
}

}  // namespace

FaceName::FaceName() {
  static const FaceName kDefault(std::u16string_view(u"Times New Roman"));
  name_ = kDefault.name_;
}

FaceName::FaceName(std::u16string_view name) : name_(Pool().Intern(name)) {}

}  // namespace quillet

// INI reads and writes on arbitrary text: a write must read back and must
// keep every line it does not own. The input is split at NUL bytes into the
// text, the section, key and value to write, and another section and key
// whose value must not change.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "platform/PrivateProfile.h"
#include "tests/support/ProfileProperty.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view in(reinterpret_cast<const char*>(data), size);
  std::vector<std::string_view> f;
  size_t start = 0;
  while (f.size() < 5) {
    const size_t nul = in.find('\0', start);
    if (nul == std::string_view::npos) break;
    f.push_back(in.substr(start, nul - start));
    start = nul + 1;
  }
  f.push_back(in.substr(std::min(start, in.size())));
  while (f.size() < 6) f.emplace_back();

  // The reader alone must cope with anything.
  (void)quillet::FindProfileValue(f[0], f[1], f[2]);

  const std::string fault = quillet::test::CheckProfileWrite(f[0], f[1], f[2], f[3], f[4], f[5]);
  if (!fault.empty()) {
    std::fprintf(stderr, "profile write fault: %s\n", fault.c_str());
    std::abort();
  }
  return 0;
}

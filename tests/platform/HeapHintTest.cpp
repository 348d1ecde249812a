#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/HeapHint.h"

namespace quillet {
namespace {

// The hint changes how the heap grows, never what it holds: small and large
// blocks made under it, and after it, keep their bytes, whatever the size
// asked for (none, small, large, more than the machine may have).
TEST(HeapGrowthHint, LeavesEveryAllocationWhole) {
  for (const size_t bytes : {size_t(0), size_t(1) << 20, size_t(64) << 20, size_t(1) << 40}) {
    std::vector<std::string> small;
    std::unique_ptr<char[]> large;
    {
      const HeapGrowthHint hint(bytes);
      EXPECT_LE(hint.Advised(), bytes);
      EXPECT_EQ(hint.Advised() % (2 << 20), 0u);
      for (int i = 0; i < 20000; ++i) small.push_back(std::string(40, static_cast<char>('a' + i % 26)));
      large.reset(new char[8 << 20]);
      large[(8 << 20) - 1] = 'z';
    }
    for (int i = 0; i < 20000; i += 997) EXPECT_EQ(small[size_t(i)], std::string(40, static_cast<char>('a' + i % 26)));
    EXPECT_EQ(large[(8 << 20) - 1], 'z');
    std::vector<std::string> after(1000, std::string(100, 'x'));
    EXPECT_EQ(after.back(), std::string(100, 'x'));
  }
}

}  // namespace
}  // namespace quillet

#include "viewer/layout/SparseVector.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace quillet {
namespace {

// Random edits applied to both must leave the same elements, in the same
// order, through every way the layout reads them; an emptied list holds
// nothing.
TEST(SparseVectorTest, BehavesLikeAVectorUnderRandomEdits) {
  std::mt19937 rng(7);
  SparseVector<int> sparse;
  std::vector<int> plain;
  for (int step = 0; step < 2000; ++step) {
    switch (rng() % 6) {
      case 0: case 1: {
        const int v = static_cast<int>(rng() % 100);
        sparse.push_back(v);
        plain.push_back(v);
        break;
      }
      case 2: sparse.emplace_back(step); plain.emplace_back(step); break;
      case 3: if (rng() % 8 == 0) { sparse.clear(); plain.clear(); } break;
      case 4: {
        std::vector<int> items(rng() % 3, step);
        sparse = items;
        plain = items;
        break;
      }
      case 5: {
        const SparseVector<int> copy = sparse;
        sparse = copy;
        ASSERT_TRUE(copy == sparse);
        break;
      }
    }
    ASSERT_EQ(sparse.size(), plain.size());
    ASSERT_EQ(sparse.empty(), plain.empty());
    ASSERT_EQ(std::vector<int>(sparse.begin(), sparse.end()), plain);
    if (!plain.empty()) {
      ASSERT_EQ(sparse.back(), plain.back());
    }
    for (size_t i = 0; i < plain.size(); ++i) ASSERT_EQ(sparse[i], plain[i]);
  }
}

}  // namespace
}  // namespace quillet

#include "viewer/layout/FirstInPlace.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quillet {
namespace {

// Filled, cleared and filled again, the list holds what a vector would,
// in order, whether its one element is in place or it has moved to the heap.
TEST(FirstInPlace, HoldsWhatAVectorWould) {
  FirstInPlace<std::string> list;
  for (size_t fill : {0u, 1u, 2u, 5u, 1u, 0u, 3u}) {
    list.clear();
    std::vector<std::string> model;
    EXPECT_TRUE(list.empty());
    for (size_t i = 0; i < fill; ++i) {
      const std::string item = "line " + std::to_string(i) + std::string(20, 'x');
      list.push_back(item);
      model.push_back(item);
      EXPECT_EQ(list.back(), model.back());
    }
    ASSERT_EQ(list.size(), model.size());
    EXPECT_EQ(std::vector<std::string>(list.begin(), list.end()), model);
    for (size_t i = 0; i < fill; ++i) EXPECT_EQ(list[i], model[i]);
    if (fill) {
      EXPECT_EQ(list.front(), model.front());
    }
  }
}

// A moved list takes the elements wherever they were held and leaves the
// source empty; a list moved over frees what it held (ASan sees a leak).
TEST(FirstInPlace, MovesWhereverItsElementsAre) {
  for (size_t fill : {0u, 1u, 3u}) {
    FirstInPlace<std::string> source;
    std::vector<std::string> model;
    for (size_t i = 0; i < fill; ++i) {
      model.push_back(std::string(30, static_cast<char>('a' + i)));
      source.push_back(model.back());
    }
    FirstInPlace<std::string> moved(std::move(source));
    EXPECT_EQ(std::vector<std::string>(moved.begin(), moved.end()), model);
    FirstInPlace<std::string> over;
    over.push_back("held before");
    over.push_back("and moved over");
    over = std::move(moved);
    EXPECT_EQ(std::vector<std::string>(over.begin(), over.end()), model);
    EXPECT_TRUE(source.empty());
    EXPECT_TRUE(moved.empty());
  }
}

}  // namespace
}  // namespace quillet

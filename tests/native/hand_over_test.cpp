#include "sorter/hand_over.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

TEST(HandedOverPath, StopsAtTheZeroOrAtTheSize) {
  EXPECT_EQ(HandedOverPath("C:\\a.mp3\0junk", 14), "C:\\a.mp3");
  EXPECT_EQ(HandedOverPath("\0", 1), "");
  // No zero byte within the size: a heap block of exactly that size, so a read past it is caught.
  auto exact = std::make_unique<char[]>(5);
  std::memcpy(exact.get(), "C:\\ab", 5);
  EXPECT_EQ(HandedOverPath(exact.get(), 5), "C:\\ab");
  EXPECT_EQ(HandedOverPath(exact.get(), 3), "C:\\");
  EXPECT_EQ(HandedOverPath(exact.get(), 0), std::nullopt);
  EXPECT_EQ(HandedOverPath(nullptr, 5), std::nullopt);
}

#include <gtest/gtest.h>

#include "gdi/geometry.h"
#include "gdi/random.h"

namespace vte {
namespace {

TEST(Random, SequenceFromTheWipeSeed) {
  // seed1 = 1642000 * 134775813 + 1 = 221301884946001 = 51525 * 2^32 + 3695019601
  // Random(100) = (3695019601 * 100) >> 32 = 369501960100 >> 32 = 86 (86 * 2^32 = 369367187456)
  RandSeed = 1642000;
  EXPECT_EQ(Random(100), 86);
  EXPECT_EQ(RandSeed, 3695019601u);
  // seed2 = 3695019601 * 134775813 + 1 mod 2^32 = 3237831574; * 100 >> 32 = 75
  EXPECT_EQ(Random(100), 75);
  EXPECT_EQ(RandSeed, 3237831574u);
  // seed3 = 956058095; * 75 >> 32 = 16 (16 * 2^32 = 68719476736 <= 71704357125 < 17 * 2^32)
  EXPECT_EQ(Random(75), 16);
  // seed4 = 4202999212; * 7 >> 32 = 6
  EXPECT_EQ(Random(7), 6);
}

TEST(Random, StaysInRangeAndAdvancesOnEmptyRange) {
  RandSeed = 12345;
  for (int I = 0; I < 10000; ++I) {
    const int V = Random(13);
    ASSERT_GE(V, 0);
    ASSERT_LT(V, 13);
  }
  const std::uint32_t Before = RandSeed;
  EXPECT_EQ(Random(0), 0);
  EXPECT_NE(RandSeed, Before);
  // The same seed gives the same draws.
  RandSeed = 777;
  const int A = Random(1000), B = Random(1000);
  RandSeed = 777;
  EXPECT_EQ(Random(1000), A);
  EXPECT_EQ(Random(1000), B);
}

TEST(Geometry, IntersectAndUnion) {
  TRect R;
  EXPECT_TRUE(IntersectRect(R, Rect(0, 0, 10, 10), Rect(5, 5, 20, 20)));
  EXPECT_EQ(R, Rect(5, 5, 10, 10));
  // Touching rectangles share no pixel: right and bottom are exclusive.
  R = Rect(1, 2, 3, 4);
  EXPECT_FALSE(IntersectRect(R, Rect(0, 0, 10, 10), Rect(10, 0, 20, 10)));
  EXPECT_EQ(R, TRect{});
  EXPECT_TRUE(UnionRect(R, Rect(0, 0, 2, 2), Rect(5, 6, 7, 8)));
  EXPECT_EQ(R, Rect(0, 0, 7, 8));
  EXPECT_TRUE(UnionRect(R, Rect(3, 3, 3, 9), Rect(5, 6, 7, 8)));  // empty operand ignored
  EXPECT_EQ(R, Rect(5, 6, 7, 8));
  EXPECT_FALSE(UnionRect(R, TRect{}, Rect(4, 4, 2, 2)));
  EXPECT_TRUE(Rect(4, 4, 4, 9).IsEmpty());
  EXPECT_TRUE(PtInRect(Rect(0, 0, 2, 2), Point(1, 1)));
  EXPECT_FALSE(PtInRect(Rect(0, 0, 2, 2), Point(2, 1)));
}

}  // namespace
}  // namespace vte

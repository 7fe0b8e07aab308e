#include "gdi/move_bytes.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

namespace vte {
namespace {

// Every kind of move against std::memmove on a copy of the same memory: lengths around the
// small-move and string-move limits, destinations just past the source modulo a page (the case
// moved by our own loop) and elsewhere, apart and overlapping either way.
TEST(MoveBytes, GivesWhatMemmoveGivesForEveryLengthGapAndOverlap) {
  std::mt19937 Rng(3);
  std::vector<std::uint8_t> Start(5 * 4096 + 6000);
  for (auto& B : Start) B = static_cast<std::uint8_t>(Rng());
  const std::size_t Lengths[] = {0, 1, 2, 3, 4, 7, 8, 9, 15, 16, 17, 63, 64, 65, 1023, 1024, 1025, 2047, 2048, 5003};
  const std::ptrdiff_t Distances[] = {4, 12, 60, 63, 64, 100, 4096 + 4, 4096 + 63, 2 * 4096 + 20, 4096 - 4, 1, 0};
  for (std::size_t N : Lengths)
    for (std::ptrdiff_t Distance : Distances)
      for (int Sign : {1, -1}) {
        // Source at the middle; the destination Distance bytes after it or before it.
        const std::ptrdiff_t From = 3 * 4096 + 7, To = From + Sign * Distance;
        std::vector<std::uint8_t> Got = Start, Want = Start;
        std::memmove(Want.data() + To, Want.data() + From, N);
        MoveBytes(Got.data() + To, Got.data() + From, N);
        ASSERT_EQ(Got, Want) << "length " << N << " destination " << Sign * Distance;
      }
}

// The inline forms for narrow rows: every length they take, overlapping either way for the move,
// with the bytes around untouched.
TEST(MoveBytes, SmallMovesAndFillsTouchExactlyTheirBytes) {
  std::mt19937 Rng(5);
  std::vector<std::uint8_t> Start(64);
  for (auto& B : Start) B = static_cast<std::uint8_t>(Rng());
  for (std::size_t N = 0; N <= 16; ++N) {
    for (std::ptrdiff_t Shift : {-5, -1, 0, 3, 17}) {
      std::vector<std::uint8_t> Got = Start, Want = Start;
      std::memmove(Want.data() + 24 + Shift, Want.data() + 24, N);
      MoveSmallBytes(Got.data() + 24 + Shift, Got.data() + 24, N);
      ASSERT_EQ(Got, Want) << "move of " << N << " by " << Shift;
    }
    std::vector<std::uint8_t> Got = Start, Want = Start;
    std::memset(Want.data() + 21, 0xA5, N);
    FillSmallBytes(Got.data() + 21, 0xA5, N);
    ASSERT_EQ(Got, Want) << "fill of " << N;
  }
}

}  // namespace
}  // namespace vte

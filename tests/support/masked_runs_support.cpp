#include "support/masked_runs_support.h"

#include <string>
#include <utility>

#include "support/bitmap_support.h"
#include "support/distinct_looks_support.h"
#include "support/effect_rules_support.h"
#include "support/fake_clock.h"
#include "support/frame_recording_support.h"
#include "support/screen_depth.h"

namespace vte::test {

// A plain run of a small area: which pixels each frame shows new.
TRun PlainRun(TMaskedTransition& E, const TBitmap& OldLook, const TBitmap& NewLook,
              std::vector<TFrameInspector> Inspectors) {
  TRecordOptions Options;
  Options.KeepScreens = true;
  Options.Inspectors = std::move(Inspectors);
  const TFrameRecording R = RecordRun(E, OldLook, NewLook, Options);
  const TBitmap New = OnDevice(NewLook);
  TRun Run;
  for (const TRecordedFrame* F : R.Shown()) {
    TNewSet S;
    for (int Y = 0; Y < New.Height(); ++Y)
      for (int X = 0; X < New.Width(); ++X) S.push_back(Raw(F->Screen, X, Y) == Raw(New, X, Y));
    Run.Frames.push_back(S);
  }
  Run.Total = R.ShownCount() + 1;
  return Run;
}

// Every style and substyle, forwards and reversed, plain and smoothed: the effect rules; on the
// plain path a growing reveal and the twin substyle's frames when reversed; on the smoothed path
// no pixel still wholly old in the last frame shown.
void CheckEveryStyle(const TMake& Make, int W, int H) {
  TScreenDepth Depth(32);
  const TDistinctLooks Looks(W, H);
  const TBitmap Old = OnDevice(Looks.Old());
  const int Styles = Make()->StyleCount();
  for (int Style = 1; Style <= Styles; ++Style)
    for (int S = 1; S <= Make()->GetSubStyleCount(Style); ++S)
      for (bool Reversed : {false, true})
        for (int Smoothing : {0, 4}) {
          SCOPED_TRACE("style " + std::to_string(Style) + "." + std::to_string(S) + (Reversed ? " reversed" : "") +
                       (Smoothing ? " smoothed" : ""));
          const auto E = Make();
          E->SetStyle(Style);
          E->SetSubStyle(S);
          E->SetReversed(Reversed);
          E->SetSmoothingLevel(Smoothing);
          TRuleOptions Rules;
          Rules.Mixes = E->SmoothingActive();
          Rules.MayEndSilently = W * H == 1;
          EXPECT_TRUE(KeepsEffectRules(*E, Looks, Rules));
          if (E->SmoothingActive()) {
            TRecordOptions Options;
            Options.KeepScreens = true;
            const TFrameRecording R = RecordRun(*E, Looks.Old(), Looks.New(), Options);
            ASSERT_FALSE(R.Shown().empty());
            const TBitmap& Last = R.Shown().back()->Screen;
            for (int Y = 0; Y < H; ++Y)
              for (int X = 0; X < W; ++X)
                ASSERT_NE(Raw(Last, X, Y), Raw(Old, X, Y)) << "a speck of old at " << X << "," << Y;
            continue;
          }
          const TRun Run = PlainRun(*E, Looks.Old(), Looks.New());
          for (std::size_t F = 1; F < Run.Frames.size(); ++F)
            for (std::size_t P = 0; P < Run.Frames[F].size(); ++P)
              ASSERT_TRUE(Run.Frames[F][P] || !Run.Frames[F - 1][P]) << "frame " << F + 1 << " hides pixel " << P;
          if (Reversed) {
            const auto Twin = Make();
            Twin->SetStyle(Style);
            Twin->SetSubStyle(E->GetReversedSubStyle(Style, S));
            EXPECT_EQ(PlainRun(*Twin, Looks.Old(), Looks.New()).Frames, Run.Frames) << "not the twin substyle";
          }
        }
}

void ExpectSpansMatchMasks(const TMake& BySpans, const TMake& ByMasks, int W, int H) {
  TScreenDepth Depth(32);
  const TDistinctLooks Looks(W, H);
  const TBitmap Old = OnDevice(Looks.Old());
  const int Styles = BySpans()->StyleCount();
  for (int Style = 1; Style <= Styles; ++Style)
    for (int S = 1; S <= BySpans()->GetSubStyleCount(Style); ++S)
      for (bool Reversed : {false, true})
        for (int Smoothing : {0, 1, 4})  // level 1: few levels, paced steps skip past them
          for (double PerRead : {0.0, 0.15, 0.6}) {  // every frame; paced in small and in large steps
            const bool Paced = PerRead > 0;
            SCOPED_TRACE("style " + std::to_string(Style) + "." + std::to_string(S) + (Reversed ? " reversed" : "") +
                         " smoothing " + std::to_string(Smoothing) + (Paced ? " paced " + std::to_string(PerRead) : ""));
            TFrameRecording Runs[2];
            for (int Route = 0; Route < 2; ++Route) {
              TFakeClock Clock(PerRead);
              const auto E = Route ? ByMasks() : BySpans();
              E->SetStyle(Style);
              E->SetSubStyle(S);
              E->SetReversed(Reversed);
              E->SetSmoothingLevel(Smoothing);
              E->SetMilliseconds(Paced ? 20 : 0);
              TRecordOptions Options;
              Options.KeepScreens = true;
              Runs[Route] = RecordRun(*E, Looks.Old(), Looks.New(), Options);
            }
            const auto A = Runs[0].Shown(), B = Runs[1].Shown();
            ASSERT_GT(A.size(), 1u);
            ASSERT_EQ(A.size(), B.size());
            // Each frame reports every pixel it changed.
            const TBitmap* Before = &Old;
            for (const TRecordedFrame* F : A) {
              for (int Y = 0; Y < H; ++Y)
                for (int X = 0; X < W; ++X) {
                  if (Raw(F->Screen, X, Y) == Raw(*Before, X, Y)) continue;
                  bool Reported = false;
                  for (const TRect& R : F->Changed) Reported |= PtInRect(R, Point(X, Y));
                  ASSERT_TRUE(Reported) << "frame " << F->Frame << " changed " << X << "," << Y << " unreported";
                }
              Before = &F->Screen;
            }
            for (std::size_t F = 0; F < A.size(); ++F) ASSERT_EQ(DescribeDifference(A[F]->Screen, B[F]->Screen), "") << "frame " << F + 1;
          }
}

// Forward frame g shows new exactly where the backward run's frame Total - g shows old.
void ExpectPlaysBackwards(TMaskedTransition& Forward, TMaskedTransition& Backward, const TBitmap& Old,
                          const TBitmap& New) {
  const TRun A = PlainRun(Forward, Old, New), B = PlainRun(Backward, Old, New);
  ASSERT_EQ(A.Frames.size(), B.Frames.size());
  const std::size_t N = A.Frames.size();
  for (std::size_t G = 0; G < N; ++G) {
    TNewSet OldOfBackward = B.Frames[N - 1 - G];
    OldOfBackward.flip();
    ASSERT_EQ(A.Frames[G], OldOfBackward) << "frame " << G + 1;
  }
}

// The frame units of a run (shape frames, plus the fade's on the smoothed path).
int FramesOf(TMaskedTransition& E, int W, int H, int Smoothing) {
  TScreenDepth Depth(32);
  E.SetSmoothingLevel(Smoothing);
  return RecordRun(E, NoiseBitmap(W, H, 1), NoiseBitmap(W, H, 2)).ShownCount() + 1;
}

}  // namespace vte::test

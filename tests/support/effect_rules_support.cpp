#include "support/effect_rules_support.h"

#include <cstring>
#include <sstream>

#include "engine/transition_effect.h"
#include "support/bitmap_support.h"

namespace vte::test {

namespace {

constexpr std::size_t FaultsKept = 4;

std::string Where(const TOffscreenFrame& F) {
  std::ostringstream S;
  S << "pass " << F.Pass << (F.Final ? " final image " : " frame ") << F.Frame;
  return S.str();
}

// Calls Changed(X, Y, Value) for every pixel whose colour bits differ between the two screens.
template <class F>
void ForEachChangedPixel(const TBitmap& Now, const TBitmap& Before, F&& Changed) {
  const TPixelFormat Format = Now.PixelFormat();
  const std::uint32_t Colour = Format == pf32bit ? 0xFFFFFFu : 0xFFFFFFFFu;
  for (int Y = 0; Y < Now.Height(); ++Y) {
    const std::uint8_t *A = Now.ScanLine(Y), *B = Before.ScanLine(Y);
    if (std::memcmp(A, B, static_cast<std::size_t>(Now.ScanlineBytes())) == 0) continue;
    for (int X = 0; X < Now.Width(); ++X) {
      const std::uint32_t V = ReadPixel(A, X, Format);
      if ((V & Colour) != (ReadPixel(B, X, Format) & Colour)) Changed(X, Y, V);
    }
  }
}

}  // namespace

void TFaults::Add(const std::string& Fault) {
  if (FFirst.size() < FaultsKept) FFirst.push_back(Fault);
  ++FCount;
}

testing::AssertionResult TFaults::Verdict() const {
  if (FCount == 0) return testing::AssertionSuccess();
  testing::AssertionResult R = testing::AssertionFailure();
  R << FCount << (FCount == 1 ? " fault" : " faults");
  for (const std::string& F : FFirst) R << "; " << F;
  if (FCount > static_cast<int>(FFirst.size())) R << "; ...";
  return R;
}

TFrameInspector ChangesInsideReportedRects(TFaults& Faults) {
  return [&Faults](const TOffscreenFrame& F, const TBitmap& Before) {
    int Outside = 0;
    TPoint First;
    ForEachChangedPixel(F.Screen, Before, [&](int X, int Y, std::uint32_t) {
      for (const TRect& R : F.Changed)
        if (PtInRect(R, {X, Y})) return;
      if (Outside++ == 0) First = {X, Y};
    });
    if (Outside == 0) return;
    std::ostringstream S;
    S << Where(F) << ": " << Outside << " changed pixels outside the " << F.Changed.size()
      << " reported rectangles, the first at " << First.X << "," << First.Y;
    Faults.Add(S.str());
  };
}

TFrameInspector OnlyLookPixels(const TDistinctLooks& Looks, bool TwoPasses, TFaults& Faults) {
  return [&Looks, TwoPasses, &Faults](const TOffscreenFrame& F, const TBitmap& Before) {
    const TLook From = TwoPasses && F.Pass == 2 ? lkMiddle : lkOld;
    const TLook To = TwoPasses && F.Pass == 1 ? lkMiddle : lkNew;
    int Strangers = 0;
    TPoint First;
    std::uint32_t FirstValue = 0;
    ForEachChangedPixel(F.Screen, Before, [&](int X, int Y, std::uint32_t V) {
      const TLook L = Looks.LookOf(V);
      if (L == From || L == To) return;
      if (Strangers++ == 0) First = {X, Y}, FirstValue = V;
    });
    if (Strangers == 0) return;
    std::ostringstream S;
    S << Where(F) << ": " << Strangers << " pixels of neither look, the first at " << First.X << "," << First.Y
      << " (0x" << std::hex << FirstValue << ")";
    Faults.Add(S.str());
  };
}

TFrameInspector FinalsShow(std::vector<TBitmap> PassEnds, TFaults& Faults) {
  return [Ends = std::move(PassEnds), &Faults](const TOffscreenFrame& F, const TBitmap&) {
    if (!F.Final) return;
    if (F.Pass < 1 || F.Pass > static_cast<int>(Ends.size())) {
      Faults.Add(Where(F) + ": no such pass");
      return;
    }
    const std::string D = DescribeDifference(F.Screen, Ends[static_cast<std::size_t>(F.Pass - 1)]);
    if (!D.empty()) Faults.Add(Where(F) + " is not the look the pass goes to: " + D);
  };
}

void CheckFrameNumbers(const TFrameRecording& Run, const std::vector<int>& Passes, TFaults& Faults) {
  std::size_t I = 0;
  for (int Pass : Passes) {
    std::ostringstream S;
    S << "pass " << Pass << ": ";
    int Expected = 1;
    bool Ended = false;
    for (; I < Run.Frames.size() && Run.Frames[I].Pass == Pass && !Ended; ++I, ++Expected) {
      const TRecordedFrame& F = Run.Frames[I];
      if (F.Frame != Expected) {
        std::ostringstream Gap;
        Gap << S.str() << "call " << Expected << " is numbered " << F.Frame;
        Faults.Add(Gap.str());
      }
      Ended = F.Final;
    }
    if (!Ended) Faults.Add(S.str() + (Expected == 1 ? "no call at all, neither a frame nor its final image" : "no final image as its last call"));
  }
  if (I < Run.Frames.size()) {
    std::ostringstream S;
    S << "call " << I + 1 << " (pass " << Run.Frames[I].Pass << (Run.Frames[I].Final ? " final" : " frame ")
      << Run.Frames[I].Frame << ") after the last pass ended";
    Faults.Add(S.str());
  }
}

testing::AssertionResult KeepsEffectRules(TTransitionEffect& Effect, const TDistinctLooks& Looks,
                                          const TRuleOptions& Options) {
  const bool TwoPasses = Effect.PassesToUse() == 2;
  const std::vector<int> Passes =
      TwoPasses ? (Effect.TwoPassesCapable() ? std::vector<int>{1, 2} : std::vector<int>{2}) : std::vector<int>{1};
  const TBitmap Old = OnDevice(Looks.Old()), New = OnDevice(Looks.New());
  std::vector<TBitmap> Ends{New};
  if (TwoPasses) Ends.insert(Ends.begin(), OnDevice(Looks.Middle()));

  TFaults Frames, Changes, EndFaults, LookFaults;
  TRecordOptions Record;
  Record.Pass2Look = &Looks.Middle();
  Record.Inspectors.push_back(ChangesInsideReportedRects(Changes));
  Record.Inspectors.push_back(FinalsShow(Ends, EndFaults));
  if (!Options.Mixes) Record.Inspectors.push_back(OnlyLookPixels(Looks, TwoPasses, LookFaults));
  TFrameRecording Run;
  try {
    Run = RecordRun(Effect, Looks.Old(), Looks.New(), Record);
  } catch (const std::exception& E) {
    return testing::AssertionFailure() << "the run threw: " << E.what();
  }

  if (Run.EndedSilently) {
    if (!Options.MayEndSilently) Frames.Add("the run ended silently (EAbort) although the area has frames to show");
    if (!Run.Frames.empty()) Frames.Add("the run ended by EAbort after frames were shown");
    const std::string D = DescribeDifference(Run.Screen, Old);
    if (!D.empty()) EndFaults.Add("a silent end left the screen changed: " + D);
  } else {
    CheckFrameNumbers(Run, Passes, Frames);
    const std::string D = DescribeDifference(Run.Screen, New);
    if (!D.empty()) EndFaults.Add("the run does not end on the new look: " + D);
  }

  bool Broken = false;
  const std::pair<const char*, const TFaults*> Rules[] = {
      {"frames", &Frames}, {"changes", &Changes}, {"ends", &EndFaults}, {"looks", &LookFaults}};
  std::ostringstream Message;
  for (const auto& [Name, Faults] : Rules) {
    const testing::AssertionResult V = Faults->Verdict();
    if (V) continue;
    Message << (Broken ? "\n" : "") << "rule " << Name << " broken: " << V.message();
    Broken = true;
  }
  if (!Broken) return testing::AssertionSuccess();
  return testing::AssertionFailure() << Message.str();
}

}  // namespace vte::test

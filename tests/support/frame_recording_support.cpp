#include "support/frame_recording_support.h"

#include <cstring>

#include "engine/errors.h"
#include "gdi/canvas.h"
#include "support/bitmap_support.h"
#include "support/frame_unit_log.h"

namespace vte::test {

namespace {

void CopyRows(const TBitmap& From, TBitmap& To) {
  for (int Y = 0; Y < From.Height(); ++Y) std::memcpy(To.ScanLine(Y), From.ScanLine(Y), From.ScanlineBytes());
}

}  // namespace

std::vector<const TRecordedFrame*> TFrameRecording::Shown(int Pass) const {
  std::vector<const TRecordedFrame*> V;
  for (const TRecordedFrame& F : Frames)
    if (!F.Final && (Pass == 0 || F.Pass == Pass)) V.push_back(&F);
  return V;
}

int TFrameRecording::Finals(int Pass) const {
  int N = 0;
  for (const TRecordedFrame& F : Frames) N += F.Final && (Pass == 0 || F.Pass == Pass);
  return N;
}

std::vector<int> TFrameRecording::Units(int Pass) const {
  std::vector<int> V;
  for (const TRecordedFrame* F : Shown(Pass)) V.push_back(F->Unit);
  return V;
}

bool TFrameRecording::EndsOn(const TBitmap& Look) const { return DescribeDifference(Screen, Look).empty(); }

TFrameRecording RecordRun(TTransitionEffect& Effect, const TBitmap& OldLook, const TBitmap& NewLook,
                          const TRecordOptions& Options) {
  TFrameRecording R;
  const auto* Log = dynamic_cast<const TFrameUnits*>(&Effect);
  // The screen before the frame being inspected: the old look as the runner puts it there.
  TBitmap Before;
  if (!Options.Inspectors.empty()) Before = OnDevice(OldLook);
  try {
    RunOffscreen(
        Effect, OldLook, NewLook, R.Screen,
        [&](const TOffscreenFrame& F) {
          TRecordedFrame Rec{F.Pass, F.Frame, F.Final, F.Changed, 0, TBitmap()};
          if (!F.Final && Log && !Log->Units.empty()) Rec.Unit = Log->Units.back().Frame;
          if (Options.KeepScreens) Rec.Screen = F.Screen;
          R.Frames.push_back(std::move(Rec));
          for (const TFrameInspector& Inspect : Options.Inspectors) Inspect(F, Before);
          if (!Options.Inspectors.empty()) CopyRows(F.Screen, Before);
        },
        Options.Pass2Look);
  } catch (const EAbort&) {
    R.EndedSilently = true;
  }
  return R;
}

TRect UnionOf(const std::vector<TRect>& Rects) {
  TRect U;
  for (const TRect& Part : Rects) UnionRect(U, U, Part);
  return U;
}

TBitmap OnDevice(const TBitmap& Look) {
  TBitmap B(Look.Width(), Look.Height(), pfDevice);
  B.Canvas().BitBlt(0, 0, Look.Width(), Look.Height(), const_cast<TBitmap&>(Look).Canvas(), 0, 0, SRCCOPY);
  return B;
}

}  // namespace vte::test

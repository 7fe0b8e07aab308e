#pragma once
// The record of one prepared run: the looks, where frames go, what is covered, which pass runs,
// and where the old look came from. The areas are logical; the looks and the target are device
// pixels (render/device_scale.h). Prepare builds it from a widget; a runner without a window
// builds it from bitmaps. The effects ask it instead of working the facts out again.
#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>

#include "gdi/bitmap.h"
#include "gdi/canvas.h"
#include "gdi/geometry.h"

namespace vte {

// Where frames go: the render window's surface, or a bitmap of the offscreen runner. Flush shows
// a changed part at once (a synchronous repaint of the window; a frame callback offscreen).
struct TTERenderTarget {
  TCanvas* Canvas = nullptr;
  std::function<void(const TRect&)> Flush;
  // Called once a frame (Final false) or a pass's final image (Final true) is on the target.
  std::function<void(bool Final)> FrameDone;
};

// How the old look was made: copied from the screen, or painted from the covered control (the
// area was obscured, the caller or the effect asked for it, or the screen cannot be copied).
enum class TTEOldLookOrigin { None, Screen, Painting };

struct TTERunRecord {
  std::unique_ptr<TBitmap> OldBitmap;
  std::unique_ptr<TBitmap> Pass2Bitmap;
  std::unique_ptr<TBitmap> NewBitmap;
  TTERenderTarget Target;

  QPointer<QWidget> Control;  // null for a run without a window
  TRect ControlRect;          // the area in the control's coordinates (the looks' area offscreen)
  TRect ScreenRect;           // the area on the screen
  bool ClientCoordinates = true;
  // Device pixels per logical pixel where the area is shown (1 for a run without a window): the
  // looks and the target hold ControlRect's size times this.
  double Scale = 1;
  TTEOldLookOrigin OldLookOrigin = TTEOldLookOrigin::None;
  int Pass = 0;  // 1 or 2 while a pass runs, else 0

  bool OldLookPainted() const { return OldLookOrigin == TTEOldLookOrigin::Painting; }
  // The picture the effect's frames are drawn over on the target.
  TBitmap* TargetBitmap() const { return Target.Canvas ? Target.Canvas->Bitmap() : nullptr; }
};

}  // namespace vte

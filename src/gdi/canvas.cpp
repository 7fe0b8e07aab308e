#include "gdi/canvas.h"

#include "gdi/bitmap.h"

namespace vte {

namespace {
QRect ToQRect(const TRect& R) { return QRect(R.Left, R.Top, R.Width(), R.Height()); }
}  // namespace

TCanvas::TCanvas(TBitmap& Bitmap) : FBitmap(&Bitmap) {}

TRect TCanvas::DeviceBounds() const { return Rect(0, 0, FBitmap->Width(), FBitmap->Height()); }

int TCanvas::SaveDC() {
  FSaved.push_back(FState);
  return static_cast<int>(FSaved.size());
}

bool TCanvas::RestoreDC(int Saved) {
  const int Level = Saved > 0 ? Saved : static_cast<int>(FSaved.size()) + 1 + Saved;
  if (Level < 1 || Level > static_cast<int>(FSaved.size())) return false;
  FState = FSaved[Level - 1];
  FSaved.resize(Level - 1);
  return true;
}

void TCanvas::SelectClipRect(const TRect* R) {
  if (!R) {
    FState.HasClip = false;
    FState.Clip = QRegion();
    return;
  }
  TRect Device = *R;
  OffsetRect(Device, -FState.WindowOrigin.X, -FState.WindowOrigin.Y);
  SelectClipRegion(QRegion(ToQRect(Device)));
}

void TCanvas::SelectClipRegion(const QRegion& DeviceRegion) {
  FState.HasClip = true;
  FState.Clip = DeviceRegion.intersected(ToQRect(DeviceBounds()));
}

QRegion TCanvas::ClipRegion() const {
  return FState.HasClip ? FState.Clip : QRegion(ToQRect(DeviceBounds()));
}

void TCanvas::IntersectClipRect(const TRect& R) {
  TRect Device = R;
  OffsetRect(Device, -FState.WindowOrigin.X, -FState.WindowOrigin.Y);
  SelectClipRegion(ClipRegion().intersected(ToQRect(Device)));
}

void TCanvas::ExcludeClipRect(const TRect& R) {
  TRect Device = R;
  OffsetRect(Device, -FState.WindowOrigin.X, -FState.WindowOrigin.Y);
  SelectClipRegion(ClipRegion().subtracted(ToQRect(Device)));
}

TRect TCanvas::ClipRect() const {
  const QRect B = ClipRegion().boundingRect();
  TRect R = B.isEmpty() ? TRect{} : Rect(B.left(), B.top(), B.right() + 1, B.bottom() + 1);
  if (!R.IsEmpty()) OffsetRect(R, FState.WindowOrigin.X, FState.WindowOrigin.Y);
  return R;
}

}  // namespace vte

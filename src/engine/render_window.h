#pragma once
// The window that covers a transition's area. It owns a surface bitmap in the device format, the
// size of the window in device pixels: frames are drawn into the surface through its canvas and
// shown 1:1 on the screen's pixels with a synchronous repaint. It is filled with the old look before it is shown, so covering the area
// changes nothing on the screen, and it never erases itself.
#include <QWidget>

#include "gdi/bitmap.h"

namespace vte {

class TTERenderWindow : public QWidget {
  Q_OBJECT

public:
  // Parent null: a frameless top-level pop-up that does not take the focus.
  explicit TTERenderWindow(QWidget* Parent);

  TBitmap& Surface() { return FSurface; }
  TCanvas& Canvas() { return FSurface.Canvas(); }
  // Resizes the surface (contents not kept) to Width x Height device pixels, Ratio of them to a
  // logical pixel of the window.
  void SetSurfaceSize(int Width, int Height, double Ratio = 1);
  // Shows a changed part of the surface (device pixels) at once.
  void Flush(const QRect& Rect);

protected:
  void paintEvent(QPaintEvent* Event) override;

private:
  TBitmap FSurface;
  double FRatio = 1;
};

}  // namespace vte

#include "effects/shake.h"

#include <QThread>

#include "engine/chrono.h"
#include "gdi/canvas.h"
#include "gdi/random.h"
#include "gdi/raster_op.h"

namespace vte {

void TShakeTransition::DoExecute(TTETransitionData& Data) {
  // Each frame is drawn on the render canvas itself; the screen update shows all of it at once.
  const auto Show = [this] { UpdateScreen(true); };

  TTEChrono Chrono;
  Randomize();
  Chrono.Start();
  while (Chrono.Milliseconds() < Milliseconds()) {
    const int X = Random(7);
    const int Y = Random(7);
    // Pixels the offset copy does not reach keep what the previous frame left there.
    Data.Canvas().BitBlt(X - 3, Y - 3, Data.Width, Data.Height, Data.SrcBmp->Canvas(), 0, 0, SRCCOPY);
    Show();
    QThread::msleep(35);
  }
  Data.Canvas().BitBlt(0, 0, Data.Width, Data.Height, Data.SrcBmp->Canvas(), 0, 0, SRCCOPY);
  Show();
}

}  // namespace vte

// The grey masks and the chime. A mask pixel's level says when it changes (high levels first), so
// each mask is a smooth ramp: a soft mask gives the bitmap-mask transition its soft edge.
#include <QtEndian>
#include <algorithm>
#include <cmath>

#include "demo_data.h"

namespace vte::demo::data {

namespace {

constexpr int MaskSize = 256;

QImage GreyImage() {
  QImage Image(MaskSize, MaskSize, QImage::Format_Indexed8);
  QList<QRgb> Greys;
  for (int I = 0; I < 256; ++I) Greys << qRgb(I, I, I);
  Image.setColorTable(Greys);
  return Image;
}

// Order in [0, 1] (0 changes first) to a level.
uchar Level(double Order) { return uchar(std::clamp(int(std::lround(255 * (1 - Order))), 0, 255)); }

}  // namespace

QImage TwirlMask() {
  // Three arms wound about the centre: a pixel's turn along its arm and its distance from the
  // centre decide together.
  QImage Image = GreyImage();
  const double Centre = (MaskSize - 1) / 2.0, Reach = Centre * std::sqrt(2.0);
  for (int Y = 0; Y < MaskSize; ++Y)
    for (int X = 0; X < MaskSize; ++X) {
      const double R = std::hypot(X - Centre, Y - Centre) / Reach;
      const double Turn = std::atan2(Y - Centre, X - Centre) / (2 * M_PI) + 1.2 * R;
      const double Arm = Turn * 3 - std::floor(Turn * 3);
      Image.scanLine(Y)[X] = Level(0.55 * Arm + 0.45 * R);
    }
  return Image;
}

QImage WiperMask() {
  // A blade turning about the middle of the bottom edge, from the left edge to the right.
  QImage Image = GreyImage();
  const double PivotX = (MaskSize - 1) / 2.0, PivotY = MaskSize;
  for (int Y = 0; Y < MaskSize; ++Y)
    for (int X = 0; X < MaskSize; ++X) {
      const double Angle = std::atan2(PivotY - Y, PivotX - X);  // 0 at the left, pi at the right
      Image.scanLine(Y)[X] = Level(Angle / M_PI);
    }
  return Image;
}

QByteArray WelcomeChime() {
  // Three bell strokes rising (C6, E6, G6), each with two inharmonic partials and a decay, mixed
  // with headroom so they never clip.
  constexpr int Rate = 22050;
  constexpr double Seconds = 1.6;
  const int Samples = int(Rate * Seconds);
  const double Notes[] = {1046.5, 1318.5, 1568.0};
  QByteArray Pcm(Samples * 2, Qt::Uninitialized);
  for (int I = 0; I < Samples; ++I) {
    const double T = double(I) / Rate;
    double V = 0;
    for (int N = 0; N < 3; ++N) {
      const double Start = N * 0.16, Local = T - Start;
      if (Local < 0) continue;
      const double Envelope = std::exp(-Local * 3.2) * std::min(1.0, Local * 400);
      V += Envelope * (std::sin(2 * M_PI * Notes[N] * Local) + 0.35 * std::sin(2 * M_PI * Notes[N] * 2.76 * Local));
    }
    qToLittleEndian<qint16>(qint16(std::lround(V * 0.22 * 32767)), Pcm.data() + 2 * I);
  }
  QByteArray Wave;
  auto U32 = [&Wave](quint32 V) {
    char B[4];
    qToLittleEndian(V, B);
    Wave.append(B, 4);
  };
  auto U16 = [&Wave](quint16 V) {
    char B[2];
    qToLittleEndian(V, B);
    Wave.append(B, 2);
  };
  Wave.append("RIFF");
  U32(36 + Pcm.size());
  Wave.append("WAVEfmt ");
  U32(16);
  U16(1);  // PCM
  U16(1);  // mono
  U32(Rate);
  U32(Rate * 2);
  U16(2);
  U16(16);
  Wave.append("data");
  U32(Pcm.size());
  Wave.append(Pcm);
  return Wave;
}

}  // namespace vte::demo::data

// The tileable textures. Every feature that could cross an edge (a Voronoi cell, a stroke, a brick)
// is computed or drawn with the tile's wrap-around, so a tiled background shows no seams.
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

#include "demo_data.h"
#include "noise.h"

namespace vte::demo::data {

namespace {

constexpr int TileSize = 256;

int Clamp(double V) { return std::clamp(int(std::lround(V)), 0, 255); }

QRgb Mix(QRgb A, QRgb B, double T) {
  return qRgb(Clamp(qRed(A) + (qRed(B) - qRed(A)) * T), Clamp(qGreen(A) + (qGreen(B) - qGreen(A)) * T),
              Clamp(qBlue(A) + (qBlue(B) - qBlue(A)) * T));
}

QRgb Scale(QRgb C, double F) { return qRgb(Clamp(qRed(C) * F), Clamp(qGreen(C) * F), Clamp(qBlue(C) * F)); }

QImage NewTile() { return QImage(TileSize, TileSize, QImage::Format_RGB32); }

}  // namespace

QImage StoneTexture() {
  // Cobblestones: the cells of jittered points on a 5 × 5 grid that wraps, each stone with its own
  // shade, joints where the two nearest points are nearly as far.
  constexpr int Cells = 5;
  constexpr double Cell = double(TileSize) / Cells;
  TDataRandom Random(11);
  double PointX[Cells][Cells], PointY[Cells][Cells], Shade[Cells][Cells];
  for (int J = 0; J < Cells; ++J)
    for (int I = 0; I < Cells; ++I) {
      PointX[J][I] = (I + 0.2 + 0.6 * Random.Unit()) * Cell;
      PointY[J][I] = (J + 0.2 + 0.6 * Random.Unit()) * Cell;
      Shade[J][I] = 0.82 + 0.3 * Random.Unit();
    }
  const auto Grain = NoiseOctaves(8, 4, 101);
  QImage Image = NewTile();
  for (int Y = 0; Y < TileSize; ++Y) {
    auto* Row = reinterpret_cast<QRgb*>(Image.scanLine(Y));
    for (int X = 0; X < TileSize; ++X) {
      double Nearest = 1e9, Second = 1e9, NearestShade = 1;
      const int CellX = int(X / Cell), CellY = int(Y / Cell);
      for (int Dj = -1; Dj <= 1; ++Dj)
        for (int Di = -1; Di <= 1; ++Di) {
          const int I = CellX + Di, J = CellY + Dj;
          const int Wi = (I + Cells) % Cells, Wj = (J + Cells) % Cells;
          // The point of a wrapped cell, moved by a whole tile to the side the pixel looks from.
          const double Px = PointX[Wj][Wi] + (I - Wi) * Cell, Py = PointY[Wj][Wi] + (J - Wj) * Cell;
          const double D = std::hypot(Px - X, Py - Y);
          if (D < Nearest) {
            Second = Nearest;
            Nearest = D;
            NearestShade = Shade[Wj][Wi];
          } else if (D < Second) {
            Second = D;
          }
        }
      const double Joint = std::clamp((Second - Nearest) / 7.0, 0.0, 1.0);
      const double Texture = TTileNoise::Fractal(Grain, double(X) / TileSize, double(Y) / TileSize);
      const QRgb Stone = Scale(Mix(qRgb(150, 146, 136), qRgb(196, 188, 172), Texture), NearestShade);
      Row[X] = Mix(qRgb(72, 68, 62), Stone, std::sqrt(Joint));
    }
  }
  return Image;
}

QImage WoodTexture() {
  // Rings across the tile (a whole number of them, so the pattern repeats), bent by noise, with a
  // fine grain along the fibres.
  constexpr int Rings = 7;
  const auto Warp = NoiseOctaves(3, 3, 202);
  const auto Fibre = NoiseOctaves(4, 2, 303);
  QImage Image = NewTile();
  for (int Y = 0; Y < TileSize; ++Y) {
    auto* Row = reinterpret_cast<QRgb*>(Image.scanLine(Y));
    for (int X = 0; X < TileSize; ++X) {
      const double U = double(X) / TileSize, V = double(Y) / TileSize;
      const double Phase = V * Rings + 1.6 * TTileNoise::Fractal(Warp, U, V);
      const double Ring = std::pow(0.5 + 0.5 * std::sin(Phase * 2 * M_PI), 3.0);
      const double Grain = TTileNoise::Fractal(Fibre, U, V * 16 - std::floor(V * 16));
      const QRgb Base = Mix(qRgb(205, 150, 92), qRgb(128, 78, 40), Ring);
      Row[X] = Scale(Base, 0.9 + 0.2 * Grain);
    }
  }
  return Image;
}

QImage StrokesTexture() {
  // Short soft brush strokes on cream paper; each is drawn at the nine places it may show from
  // across the tile's edges.
  QImage Image = NewTile();
  Image.fill(qRgb(246, 240, 226));
  const QColor Palette[] = {QColor(94, 140, 198), QColor(118, 178, 160), QColor(232, 160, 96),
                            QColor(206, 112, 120), QColor(150, 128, 196), QColor(120, 170, 214)};
  TDataRandom Random(404);
  QPainter Painter(&Image);
  Painter.setRenderHint(QPainter::Antialiasing);
  for (int I = 0; I < 180; ++I) {
    const double X = Random.Unit() * TileSize, Y = Random.Unit() * TileSize;
    const double Angle = (35 + 25 * Random.Unit()) * M_PI / 180 * (Random.Next() % 5 == 0 ? -1 : 1);
    const double Length = 18 + 40 * Random.Unit();
    QColor Colour = Palette[Random.Next() % 6];
    Colour.setAlpha(70 + int(70 * Random.Unit()));
    QPen Pen(Colour, 3 + 6 * Random.Unit(), Qt::SolidLine, Qt::RoundCap);
    Painter.setPen(Pen);
    const double Dx = std::cos(Angle) * Length / 2, Dy = std::sin(Angle) * Length / 2;
    QPainterPath Stroke;
    Stroke.moveTo(-Dx, -Dy);
    Stroke.quadTo(Dy * 0.25, -Dx * 0.25, Dx, Dy);  // a slight curve, as a brush leaves it
    for (int Oy = -1; Oy <= 1; ++Oy)
      for (int Ox = -1; Ox <= 1; ++Ox) Painter.drawPath(Stroke.translated(X + Ox * TileSize, Y + Oy * TileSize));
  }
  return Image;
}

QImage WallTexture() {
  // Bricks of 64 × 32 in rows offset by half a brick: both divide the tile, so it repeats.
  constexpr int BrickW = 64, BrickH = 32, Mortar = 3;
  const auto Speckle = NoiseOctaves(16, 3, 505);
  TDataRandom Random(606);
  double Shade[TileSize / BrickH][TileSize / BrickW];
  for (auto& Row : Shade)
    for (double& S : Row) S = 0.8 + 0.3 * Random.Unit();
  QImage Image = NewTile();
  for (int Y = 0; Y < TileSize; ++Y) {
    auto* Row = reinterpret_cast<QRgb*>(Image.scanLine(Y));
    const int Course = Y / BrickH, InY = Y % BrickH;
    for (int X = 0; X < TileSize; ++X) {
      const int Shifted = (X + (Course % 2) * BrickW / 2) % TileSize;
      const int InX = Shifted % BrickW;
      const double Noise = TTileNoise::Fractal(Speckle, double(X) / TileSize, double(Y) / TileSize);
      if (InY < Mortar || InX < Mortar) {
        Row[X] = Scale(qRgb(206, 200, 188), 0.85 + 0.25 * Noise);
        continue;
      }
      // The lower and right edges of a brick in shadow, its upper and left edges lit.
      double Light = 1.0;
      if (InY < Mortar + 2 || InX < Mortar + 2) Light = 1.12;
      if (InY > BrickH - 3 || InX > BrickW - 3) Light = 0.8;
      const QRgb Brick = Mix(qRgb(168, 74, 52), qRgb(196, 112, 76), Noise);
      Row[X] = Scale(Brick, Shade[Course][Shifted / BrickW] * Light);
    }
  }
  return Image;
}

QImage GradientPicture() {
  QImage Image(32, 600, QImage::Format_RGB32);
  for (int Y = 0; Y < Image.height(); ++Y) {
    const double T = double(Y) / (Image.height() - 1);
    const QRgb C = T < 0.55 ? Mix(qRgb(22, 44, 92), qRgb(44, 98, 168), T / 0.55)
                            : Mix(qRgb(44, 98, 168), qRgb(150, 190, 228), (T - 0.55) / 0.45);
    auto* Row = reinterpret_cast<QRgb*>(Image.scanLine(Y));
    std::fill(Row, Row + Image.width(), C);
  }
  return Image;
}

}  // namespace vte::demo::data

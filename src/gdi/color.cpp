#include "gdi/color.h"

#include <QGuiApplication>
#include <QPalette>

namespace vte {

namespace {

// The classic desktop scheme, used when there is no application object to ask.
constexpr TColor ClassicSystemColors[25] = {
    0xC8D0D4, 0x984E00, 0x6A240A, 0x808080, 0xC8D0D4, 0xFFFFFF, 0x000000, 0x000000, 0x000000,
    0xFFFFFF, 0xC8D0D4, 0xC8D0D4, 0x808080, 0x6A240A, 0xFFFFFF, 0xC8D0D4, 0x808080, 0x808080,
    0x000000, 0xC8D0D4, 0xFFFFFF, 0x404040, 0xC8D0D4, 0x000000, 0xE1FFFF};

TColor FromQColor(const QColor& C) { return RGB(C.red(), C.green(), C.blue()); }

TColor SystemColorToRGB(int Index) {
  if (Index < 0 || Index >= 25) return clBlack;
  if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return ClassicSystemColors[Index];
  const QPalette Pal = QGuiApplication::palette();
  switch (Index) {
    case 1:  // desktop
    case 12: return FromQColor(Pal.color(QPalette::Dark));
    case 2:
    case 13: return FromQColor(Pal.color(QPalette::Highlight));
    case 9:
    case 14: return FromQColor(Pal.color(QPalette::HighlightedText));
    case 5: return FromQColor(Pal.color(QPalette::Base));
    case 6:
    case 21: return FromQColor(Pal.color(QPalette::Shadow));
    case 7:
    case 8: return FromQColor(Pal.color(QPalette::Text));
    case 0:
    case 4:
    case 10:
    case 11:
    case 15: return FromQColor(Pal.color(QPalette::Button));
    case 16: return FromQColor(Pal.color(QPalette::Dark));
    case 17:
    case 3: return FromQColor(Pal.color(QPalette::Disabled, QPalette::Text));
    case 18: return FromQColor(Pal.color(QPalette::ButtonText));
    case 19: return FromQColor(Pal.color(QPalette::Disabled, QPalette::WindowText));
    case 20: return FromQColor(Pal.color(QPalette::Light));
    case 22: return FromQColor(Pal.color(QPalette::Midlight));
    case 23: return FromQColor(Pal.color(QPalette::ToolTipText));
    case 24: return FromQColor(Pal.color(QPalette::ToolTipBase));
  }
  return ClassicSystemColors[Index];
}

}  // namespace

TColor ColorToRGB(TColor Color) {
  if (Color == clNone) return clBlack;
  if (Color == clDefault) return SystemColorToRGB(5);
  if (IsSystemColor(Color)) return SystemColorToRGB(Color & 0xFF);
  return Color & 0x00FFFFFF;
}

QRgb ColorToQRgb(TColor Color) {
  const TColor C = ColorToRGB(Color);
  return qRgb(GetRValue(C), GetGValue(C), GetBValue(C));
}

TColor QRgbToColor(QRgb Rgb) { return RGB(qRed(Rgb), qGreen(Rgb), qBlue(Rgb)); }

}  // namespace vte

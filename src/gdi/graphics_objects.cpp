#include "gdi/graphics_objects.h"

#include <cmath>

namespace vte {

int TFont::Size() const {
  // Points at 96 pixels an inch, rounded like the window system's MulDiv.
  const int Pixels = Height < 0 ? -Height : Height;
  return static_cast<int>(std::lround(Pixels * 72.0 / 96.0));
}

void TFont::SetSize(int Points) { Height = -static_cast<int>(std::lround(Points * 96.0 / 72.0)); }

QFont TFont::ToQFont() const {
  QFont F(Name);
  // A negative height is the character height without internal leading; Qt's pixel size is the
  // em height, which is what that is. A positive cell height includes the leading: about 1.2 ems
  // for the usual faces.
  const int Px = Height < 0 ? -Height : (Height > 0 ? std::max(1, static_cast<int>(std::lround(Height / 1.2))) : 11);
  F.setPixelSize(std::max(1, Px));
  F.setBold(Style & fsBold);
  F.setItalic(Style & fsItalic);
  F.setUnderline(Style & fsUnderline);
  F.setStrikeOut(Style & fsStrikeOut);
  F.setStyleStrategy(QFont::NoAntialias);
  return F;
}

}  // namespace vte

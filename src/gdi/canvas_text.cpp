#include <QFontMetrics>
#include <QPainter>

#include "gdi/bitmap.h"
#include "gdi/canvas.h"

namespace vte {

namespace {

QRect ToQRect(const TRect& R) { return QRect(R.Left, R.Top, R.Width(), R.Height()); }

int QtTextFlags(unsigned Flags) {
  int Q = 0;
  if (Flags & DT_CENTER) Q |= Qt::AlignHCenter;
  else if (Flags & DT_RIGHT) Q |= Qt::AlignRight;
  else Q |= Qt::AlignLeft;
  // Vertical placement applies to single lines only, as in the window system.
  if ((Flags & DT_SINGLELINE) && (Flags & DT_VCENTER)) Q |= Qt::AlignVCenter;
  else if ((Flags & DT_SINGLELINE) && (Flags & DT_BOTTOM)) Q |= Qt::AlignBottom;
  else Q |= Qt::AlignTop;
  if (Flags & DT_SINGLELINE) Q |= Qt::TextSingleLine;
  else if (Flags & DT_WORDBREAK) Q |= Qt::TextWordWrap;
  if (Flags & DT_EXPANDTABS) Q |= Qt::TextExpandTabs;
  if (!(Flags & DT_NOPREFIX)) Q |= Qt::TextShowMnemonic;
  if (Flags & DT_NOCLIP) Q |= Qt::TextDontClip;
  return Q;
}

// The text as it will be laid out: single lines join their line breaks, and with an end ellipsis
// every line that does not fit the width is cut with "...".
QString PrepareText(const QString& Text, const QFontMetrics& Fm, const TRect& R, unsigned Flags) {
  QString T = Text;
  if (Flags & DT_SINGLELINE) T.replace(QLatin1Char('\n'), QLatin1Char(' ')).remove(QLatin1Char('\r'));
  if ((Flags & DT_END_ELLIPSIS) && !(Flags & DT_WORDBREAK)) {
    QStringList Lines = T.split(QLatin1Char('\n'));
    for (QString& L : Lines) L = Fm.elidedText(L, Qt::ElideRight, std::max(0, R.Width()));
    T = Lines.join(QLatin1Char('\n'));
  }
  return T;
}

}  // namespace

int TCanvas::TextWidth(const QString& Text) const {
  return QFontMetrics(FState.Font.ToQFont()).horizontalAdvance(Text);
}

int TCanvas::TextHeight(const QString& Text) const {
  Q_UNUSED(Text);
  return QFontMetrics(FState.Font.ToQFont()).height();
}

void TCanvas::TextOut(int X, int Y, const QString& Text) {
  const QFontMetrics Fm(FState.Font.ToQFont());
  const TRect Cell = Bounds(X, Y, Fm.horizontalAdvance(Text), Fm.height());
  DrawText32(Text, Cell, DT_LEFT | DT_NOPREFIX | DT_SINGLELINE | DT_NOCLIP,
             FState.Brush.Style == bsSolid, X, Y);
  FState.PenPos = {X + Cell.Width(), Y};
}

void TCanvas::TextRect(const TRect& R, int X, int Y, const QString& Text) {
  // The rectangle is both the clip and, with a solid brush, the area filled behind the text.
  DrawText32(Text, R, DT_LEFT | DT_NOPREFIX | DT_SINGLELINE, FState.Brush.Style == bsSolid, X, Y);
}

int TCanvas::DrawText(const QString& Text, TRect& R, unsigned Flags) {
  const QFont Font = FState.Font.ToQFont();
  const QFontMetrics Fm(Font);
  const QString T = PrepareText(Text, Fm, R, Flags);
  const int Q = QtTextFlags(Flags);
  if (Flags & DT_CALCRECT) {
    // Measured as it would be laid out: word-wrapped text keeps the rectangle's width.
    const int Width = (Flags & DT_WORDBREAK) && !(Flags & DT_SINGLELINE) ? std::max(1, R.Width()) : 1 << 20;
    const QRect B = Fm.boundingRect(QRect(0, 0, Width, 1 << 20), Q & ~(Qt::AlignHCenter | Qt::AlignRight | Qt::AlignVCenter | Qt::AlignBottom), T);
    R.Right = R.Left + B.width();
    R.Bottom = R.Top + B.height();
    return B.height();
  }
  const QRect B = Fm.boundingRect(ToQRect(R), Q, T);
  // A brush behind DrawText is not painted: the window system draws it transparently here.
  DrawText32(T, R, Flags, false, R.Left, R.Top);
  return B.height();
}

// All text goes through here. X, Y place single-line text (TextOut/TextRect); otherwise the flags
// place it in Rect. Bitmaps that QPainter cannot paint (8 bits and below, and see below for 5-6-5)
// are painted through a 32-bit copy of the affected area, which is then copied back honouring the clip region.
void TCanvas::DrawText32(const QString& Text, const TRect& Rect, unsigned Flags, bool Opaque, int X,
                         int Y) {
  const QFont Font = FState.Font.ToQFont();
  const QFontMetrics Fm(Font);
  // The device area the text may touch.
  TRect Area = Rect;
  if (Flags & DT_NOCLIP) {
    const QRect B = Fm.boundingRect(Text);
    UnionRect(Area, Area, Bounds(X, Y, std::max(B.width(), Fm.horizontalAdvance(Text)) + Fm.maxWidth(), Fm.height()));
  }
  OffsetRect(Area, -FState.WindowOrigin.X, -FState.WindowOrigin.Y);
  QRegion Clip = ClipRegion().intersected(ToQRect(Area));
  if (!(Flags & DT_NOCLIP)) {
    TRect DevRect = Rect;
    OffsetRect(DevRect, -FState.WindowOrigin.X, -FState.WindowOrigin.Y);
    Clip = Clip.intersected(ToQRect(DevRect));
  }
  if (Clip.isEmpty() || (Text.isEmpty() && !Opaque)) return;
  const QRect Box = Clip.boundingRect();

  TBitmap& Bmp = *FBitmap;
  // Qt 6.4 draws one-bit glyphs into RGB16 images with a wrong row step (the letters come out
  // squashed, the rest spills to the left), so 5-6-5 bitmaps also take the 32-bit way.
  const bool Direct = IsDirectFormat(Bmp.PixelFormat()) && Bmp.PixelFormat() != pf16bit;
  TBitmap Temp;
  QImage Target;
  QPoint Shift(0, 0);  // device position of the painted image's (0,0)
  if (Direct) {
    Target = Bmp.View();
  } else {
    Temp = TBitmap(Box.width(), Box.height(), pf32bit);
    Temp.Canvas().BitBlt(0, 0, Box.width(), Box.height(), *this,
                         Box.left() + FState.WindowOrigin.X, Box.top() + FState.WindowOrigin.Y, SRCCOPY);
    Target = Temp.View();
    Shift = Box.topLeft();
  }
  {
    QPainter P(&Target);
    P.setClipRegion(Clip.translated(-Shift));
    P.translate(-FState.WindowOrigin.X - Shift.x(), -FState.WindowOrigin.Y - Shift.y());
    P.setFont(Font);
    if (Opaque) P.fillRect(ToQRect(Rect), QColor::fromRgb(ColorToQRgb(FState.Brush.Color)));
    P.setPen(QColor::fromRgb(ColorToQRgb(FState.Font.Color)));
    if (Flags & DT_RTLREADING) P.setLayoutDirection(Qt::RightToLeft);
    if (Flags & DT_SINGLELINE && (Flags & (DT_VCENTER | DT_BOTTOM | DT_CENTER | DT_RIGHT)) == 0 &&
        (X != Rect.Left || Y != Rect.Top))
      P.drawText(QPoint(X, Y + Fm.ascent()), Text);
    else
      P.drawText(ToQRect(Rect), QtTextFlags(Flags) | Qt::TextDontClip, Text);
  }
  if (!Direct) {
    // Back through the clip region at the device position of the temporary.
    const TPoint SavedOrigin = FState.WindowOrigin;
    const bool SavedHasClip = FState.HasClip;
    const QRegion SavedClip = FState.Clip;
    FState.WindowOrigin = {0, 0};
    SelectClipRegion(Clip);
    BitBlt(Box.left(), Box.top(), Box.width(), Box.height(), Temp.Canvas(), 0, 0, SRCCOPY);
    FState.WindowOrigin = SavedOrigin;
    FState.HasClip = SavedHasClip;
    FState.Clip = SavedClip;
  }
}

}  // namespace vte

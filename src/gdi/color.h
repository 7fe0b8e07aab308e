#pragma once
// Colours as the library stores them: TColor is 0x00BBGGRR. Two special values and two families
// of symbolic colours share the top byte:
//   clNone (0x1FFFFFFF) and clDefault (0x20000000): "no colour" and "the control's own colour";
//   0x800000nn: system colours, resolved through the application palette when there is one;
//   0x02BBGGRR: palette-relative colours, exact RGB on deep formats, nearest entry on 8-bit.
// ColorToRGB turns any of them into a plain 0x00BBGGRR value.
#include <QRgb>
#include <cstdint>

namespace vte {

using TColor = std::int32_t;

inline constexpr TColor clBlack = 0x000000, clMaroon = 0x000080, clGreen = 0x008000,
                        clOlive = 0x008080, clNavy = 0x800000, clPurple = 0x800080,
                        clTeal = 0x808000, clGray = 0x808080, clSilver = 0xC0C0C0,
                        clRed = 0x0000FF, clLime = 0x00FF00, clYellow = 0x00FFFF,
                        clBlue = 0xFF0000, clFuchsia = 0xFF00FF, clAqua = 0xFFFF00,
                        clLtGray = 0xC0C0C0, clDkGray = 0x808080, clWhite = 0xFFFFFF,
                        clNone = 0x1FFFFFFF, clDefault = 0x20000000;

inline constexpr TColor SystemColor(int Index) {
  return static_cast<TColor>(0x80000000u | static_cast<unsigned>(Index));
}
inline constexpr TColor clScrollBar = SystemColor(0), clBackground = SystemColor(1),
                        clActiveCaption = SystemColor(2), clInactiveCaption = SystemColor(3),
                        clMenu = SystemColor(4), clWindow = SystemColor(5),
                        clWindowFrame = SystemColor(6), clMenuText = SystemColor(7),
                        clWindowText = SystemColor(8), clCaptionText = SystemColor(9),
                        clActiveBorder = SystemColor(10), clInactiveBorder = SystemColor(11),
                        clAppWorkSpace = SystemColor(12), clHighlight = SystemColor(13),
                        clHighlightText = SystemColor(14), clBtnFace = SystemColor(15),
                        clBtnShadow = SystemColor(16), clGrayText = SystemColor(17),
                        clBtnText = SystemColor(18), clInactiveCaptionText = SystemColor(19),
                        clBtnHighlight = SystemColor(20), cl3DDkShadow = SystemColor(21),
                        cl3DLight = SystemColor(22), clInfoText = SystemColor(23),
                        clInfoBk = SystemColor(24);

inline constexpr TColor RGB(int R, int G, int B) {
  return static_cast<TColor>((R & 0xFF) | ((G & 0xFF) << 8) | ((B & 0xFF) << 16));
}
inline constexpr int GetRValue(TColor C) { return C & 0xFF; }
inline constexpr int GetGValue(TColor C) { return (C >> 8) & 0xFF; }
inline constexpr int GetBValue(TColor C) { return (C >> 16) & 0xFF; }
// A palette-relative colour: exact on deep bitmaps, the nearest palette entry on 8-bit ones.
inline constexpr TColor PaletteRGB(int R, int G, int B) { return 0x02000000 | RGB(R, G, B); }

inline constexpr bool IsSystemColor(TColor C) { return (static_cast<std::uint32_t>(C) & 0xFF000000u) == 0x80000000u; }

// The plain RGB value (0x00BBGGRR) of any colour. System colours come from the application's
// palette (classic defaults when no application object exists); clNone and clDefault, which name
// no colour, give black and the window colour.
TColor ColorToRGB(TColor Color);

// Conversions to and from Qt's 0xAARRGGBB (alpha always 0xFF).
QRgb ColorToQRgb(TColor Color);
TColor QRgbToColor(QRgb Rgb);

}  // namespace vte

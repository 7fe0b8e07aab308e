#pragma once
// The frames the class library's controls draw around themselves, on a QPainter, and the colour
// of a control kept where Qt paints with it (its palette's window role).
#include <QRect>

#include "container/form_types.h"
#include "gdi/color.h"

class QPainter;
class QWidget;

namespace vte {

// A 3-D frame Width pixels wide along the inside of Rect: highlight on the top and left and shadow
// on the bottom and right for a raised cut, the other way round for a lowered one, nothing drawn
// for bvSpace. Rect moves inwards by Width either way.
void DrawBevel(QPainter& Painter, QRect& Rect, TBevelCut Cut, int Width);
// A one-pixel outline along the inside of Rect.
void DrawFrameRect(QPainter& Painter, const QRect& Rect, TColor Color);
// Color becomes the control's background colour (what ControlColor reads back).
void SetControlColor(QWidget* Control, TColor Color);

}  // namespace vte

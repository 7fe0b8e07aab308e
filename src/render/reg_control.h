#pragma once
// One registered widget class: how its two areas are painted into a bitmap (Flags, see
// render_modes.h) and the painters of the custom modes.
#include <cstdint>

class QWidget;

namespace vte {

class TCanvas;

// A painter of the custom modes: paints Control into Target at the target's logical origin.
// Plain function pointers, so that a class registered with one painter for both areas can be
// recognised (that painter then paints the whole window at once).
using TControlPaintProc = void (*)(QWidget* Control, TCanvas& Target);

class TTERegControl {
public:
  TTERegControl() = default;
  TTERegControl(std::uint32_t AFlags, TControlPaintProc AClientProc, TControlPaintProc ANonClientProc)
      : Flags(AFlags), NonClientProc(ANonClientProc), ClientProc(AClientProc) {}

  void Assign(const TTERegControl& Source) { *this = Source; }

  std::uint32_t Flags = 0;
  TControlPaintProc NonClientProc = nullptr;
  TControlPaintProc ClientProc = nullptr;
};

}  // namespace vte

#pragma once
// How a widget class is painted into a bitmap: the mode values given when a class is registered,
// and the bits of the Flags word they are encoded into.
#include <cstdint>

namespace vte {

// Non-client area (the frame of a top-level window; child widgets have none).
inline constexpr std::uint32_t ncrmDefault = 0,               // chosen by the default rule
                               ncrmPrintAndNCPaint = 1,       // print, then the frame paint
                               ncrmPrint = 2,                 // print the non-client area
                               ncrmOwnBorder = 3,             // the library draws the frame
                               ncrmCustom = 4,                // the registered NonClientProc
                               ncrmPrintAndHookedNCPaint = 5, // print, then a copy from the screen
                               ncrmNone = 0x80000000u;        // not painted

// Client area.
inline constexpr std::uint32_t crmDefault = 0,        // chosen by the default rule
                               crmPaintMessages = 1,  // erase, then paint
                               crmPrint = 2,          // print with the background
                               crmOleDraw = 3,        // the widget's own picture (framebuffer grab)
                               crmCustom = 4,         // the registered ClientProc
                               crmHookedPaint = 5,    // a copy from the screen
                               crmNone = 0x80000000u; // not painted

// Options or'ed into either mode value.
inline constexpr std::uint32_t rmoPaintCopy = 0x10000000u,         // paint-copy painting unless focused
                               rmoRefreshIfFocused = 0x20000000u,  // repaint after the transition when focused
                               rmoViaBitmap = 0x40000000u;         // paint through an intermediate bitmap

// The Flags word.
inline constexpr std::uint32_t
    rfNCPrint = 1u << 0, rfNCPrintAndNCPaint = 1u << 1, rfNCOwnBorder = 1u << 2, rfNCCustom = 1u << 3,
    rfNCPrintAndHookedNCPaint = 1u << 4,
    rfClientPrint = 1u << 5, rfClientPaintMessages = 1u << 6, rfClientOleDraw = 1u << 7,
    rfClientCustom = 1u << 8, rfClientHookedPaint = 1u << 9,
    rfNCPaintCopy = 1u << 22, rfClientPaintCopy = 1u << 23,
    rfNCViaBitmap = 1u << 24, rfClientViaBitmap = 1u << 25,
    rfPaintNC = 1u << 26, rfPaintClient = 1u << 27,
    rfRefreshNCIfFocused = 1u << 28, rfRefreshClientIfFocused = 1u << 29,
    rfRefreshNC = 1u << 30, rfRefreshClient = 1u << 31;

inline constexpr std::uint32_t rfNCModeMask = 0x1Fu, rfClientModeMask = 0x3E0u, rfModeMask = 0x3FFu,
                               rfPaintCopyMask = rfNCPaintCopy | rfClientPaintCopy;

// The flags of a window that has no widget of its own: both areas, non-client printed, client by
// erase and paint.
inline constexpr std::uint32_t rfWindowWithoutControl = 0x0C000041u;

// Message numbers the default rule asks about.
inline constexpr int WM_NCPAINT = 0x0085, WM_PRINT = 0x0317;

}  // namespace vte

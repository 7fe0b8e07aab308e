#pragma once
// The marks a capture leaves on the widgets it painted, saying which of them must repaint
// themselves once the transition is over because their captured picture may differ from what
// they show (focus-dependent painting, pictures copied from a framebuffer or the screen).
//
// The marks live in a side table keyed by widget instead of in a property of the widget; the
// values are those of the repaint decision: -17 no repaint, -33 non-client, -49 client, -65 both.
// A widget destroyed before the refresh leaves a stale slot that is never read again.
#include <QHash>
#include <QPointer>
#include <cstdint>
#include <optional>

class QWidget;

namespace vte {

inline constexpr int rmkNoRepaint = -17, rmkRepaintNonClient = -33, rmkRepaintClient = -49,
                     rmkRepaintBoth = -65;

inline constexpr bool IsRefreshMarker(int Value) { return (Value & ~0xF0) == -241; }
inline constexpr int RefreshMarker(bool RepaintNonClient, bool RepaintClient) {
  return -17 - (RepaintNonClient ? 16 : 0) - (RepaintClient ? 32 : 0);
}

// The repaint decision for a widget painted with Flags (the focus-dependent bits count only for a
// focused widget).
void RepaintDecision(std::uint32_t Flags, bool Focused, bool& RepaintNonClient, bool& RepaintClient);

class TRefreshMarkers {
public:
  void Mark(QWidget* Widget, int Marker);
  // The marker of a living widget, removed from the table.
  std::optional<int> Take(QWidget* Widget);
  std::optional<int> Peek(const QWidget* Widget) const;
  int Count() const { return static_cast<int>(FItems.size()); }

private:
  struct TItem {
    QPointer<QWidget> Widget;  // null once the widget is gone: the slot is stale
    int Marker = rmkNoRepaint;
  };
  void PurgeStale();

  QHash<const QWidget*, TItem> FItems;
  int FPurgeAt = 256;
};

TRefreshMarkers& RefreshMarkers();

// Records the repaint decision for Control (part of the look-up a capture makes).
void MarkControl(QWidget* Control, std::uint32_t Flags);

// After a transition: repaints, in Window and all its child widgets, what the marks (or, for an
// unmarked widget, a fresh look-up) ask for, and clears the marks. Hidden widgets are left alone.
void RefreshMarkedWindows(QWidget* Window);

}  // namespace vte

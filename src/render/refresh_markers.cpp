#include "render/refresh_markers.h"

#include <QObject>
#include <QWidget>

#include "render/control_registry.h"

namespace vte {

void RepaintDecision(std::uint32_t Flags, bool Focused, bool& RepaintNonClient, bool& RepaintClient) {
  RepaintNonClient = (Flags & rfRefreshNC) || ((Flags & rfRefreshNCIfFocused) && Focused);
  RepaintClient = (Flags & rfRefreshClient) || ((Flags & rfRefreshClientIfFocused) && Focused);
}

void TRefreshMarkers::Mark(QWidget* Widget, int Marker) {
  if (!Widget) return;
  if (FItems.size() >= FPurgeAt) PurgeStale();
  TItem& Item = FItems[Widget];
  // A slot left by a destroyed widget at the same address belongs to the new one now.
  if (Item.Widget != Widget) Item.Widget = Widget;
  Item.Marker = Marker;
}

std::optional<int> TRefreshMarkers::Take(QWidget* Widget) {
  const auto It = FItems.find(Widget);
  if (It == FItems.end()) return std::nullopt;
  const bool Alive = It->Widget == Widget;
  const int Marker = It->Marker;
  FItems.erase(It);
  if (!Alive) return std::nullopt;
  return Marker;
}

std::optional<int> TRefreshMarkers::Peek(const QWidget* Widget) const {
  const auto It = FItems.find(Widget);
  if (It == FItems.end() || It->Widget != Widget) return std::nullopt;
  return It->Marker;
}

void TRefreshMarkers::PurgeStale() {
  for (auto It = FItems.begin(); It != FItems.end();)
    It = It->Widget ? std::next(It) : FItems.erase(It);
  // Grows with the number of living marked widgets, so purging stays rare.
  FPurgeAt = std::max(256, static_cast<int>(FItems.size()) * 2);
}

TRefreshMarkers& RefreshMarkers() {
  static TRefreshMarkers Markers;
  return Markers;
}

void MarkControl(QWidget* Control, std::uint32_t Flags) {
  bool NonClient = false, Client = false;
  RepaintDecision(Flags, Control->hasFocus(), NonClient, Client);
  RefreshMarkers().Mark(Control, RefreshMarker(NonClient, Client));
}

void RefreshMarkedWindows(QWidget* Window) {
  if (!Window || !Window->isVisible()) return;
  bool NonClient = false, Client = false;
  if (const std::optional<int> Marker = RefreshMarkers().Take(Window); Marker && IsRefreshMarker(*Marker)) {
    NonClient = *Marker == rmkRepaintNonClient || *Marker == rmkRepaintBoth;
    Client = *Marker == rmkRepaintClient || *Marker == rmkRepaintBoth;
  } else {
    // Not painted by a capture since the last refresh: decided afresh, without leaving a mark.
    TTERegControl Entry;
    RegControls().Find(Window->metaObject(), Entry);
    ApplyDefaultRenderMode(Window, Entry);
    RepaintDecision(Entry.Flags, Window->hasFocus(), NonClient, Client);
  }
  // The frame of a top-level window belongs to the window system, which repaints it itself; the
  // request that reaches the widget is its update(). An update() repaints the widget's area with
  // every child widget inside it, which is what both the "widget alone" and the "widget and its
  // children" repaint come to on Qt.
  if (NonClient || Client) Window->update();

  for (QObject* Child : Window->children())
    if (QWidget* W = qobject_cast<QWidget*>(Child); W && !W->isWindow()) RefreshMarkedWindows(W);
}

}  // namespace vte

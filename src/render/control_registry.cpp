#include "render/control_registry.h"

#include <QMetaObject>
#include <QObject>
#include <QWidget>
#include <cstring>

#include "render/device.h"
#include "render/refresh_markers.h"

namespace vte {

namespace {

bool SameName(const QString& A, QLatin1String B) { return A.compare(B, Qt::CaseInsensitive) == 0; }

void Register(TTERegControls& Registry, const char* ClassName, std::uint32_t NonClientMode,
              std::uint32_t ClientMode, bool RefreshClient = false, bool RefreshNonClient = false) {
  const TTERegControl E =
      EncodeControlEntry(NonClientMode, ClientMode, nullptr, nullptr, RefreshClient, RefreshNonClient);
  Registry.Register(QLatin1String(ClassName), E.Flags, E.ClientProc, E.NonClientProc);
}

// Unit initialisation. The screen caches first, so that captures agree with the screen the
// program started on. The classes of the built-in table stand for the kinds of painting Qt has:
// widgets that paint in their paint event (everything down from QWidget), widgets whose pixels
// come from a framebuffer, and native windows whose painting only reaches the screen.
TTERegControls* CreateRegistry() {
  InitializeDeviceCaches();
  static TTERegControls Registry;
  Register(Registry, "QWidget", ncrmPrint, crmPrint);
  Register(Registry, "QAbstractScrollArea", ncrmPrint, crmPrint);
  Register(Registry, "QOpenGLWidget", ncrmNone, crmOleDraw, true, true);
  Register(Registry, "QQuickWidget", ncrmNone, crmOleDraw, true, true);
  Register(Registry, "QWindowContainer", ncrmNone, crmHookedPaint, true, false);
  return &Registry;
}

}  // namespace

QLatin1String ControlClassName(const QMetaObject* ClassRef) {
  const char* Name = ClassRef->className();
  const char* Colon = std::strrchr(Name, ':');
  return QLatin1String(Colon ? Colon + 1 : Name);
}

const QMetaObject* FindClassNamed(const std::vector<const QMetaObject*>& Classes, const QString& Name) {
  const QString Wanted = Name.section(QLatin1String("::"), -1);
  for (const QMetaObject* Class : Classes)
    if (ControlClassName(Class).compare(Wanted, Qt::CaseInsensitive) == 0) return Class;
  return nullptr;
}

bool ClassIsOrInherits(const QMetaObject* ClassRef, QLatin1String Name) {
  for (const QMetaObject* M = ClassRef; M && M != &QObject::staticMetaObject; M = M->superClass())
    if (ControlClassName(M).compare(Name, Qt::CaseInsensitive) == 0) return true;
  return false;
}

void TTERegControls::Register(const QString& ClassName, std::uint32_t Flags, TControlPaintProc ClientProc,
                              TControlPaintProc NonClientProc) {
  int Index = IndexOf(ClassName);
  if (Index < 0) {
    FItems.insert(FItems.begin(), TItem{ClassName, {}});
    Index = 0;
  }
  FItems[Index].Entry = TTERegControl(Flags, ClientProc, NonClientProc);
}

int TTERegControls::IndexOf(const QString& ClassName) const {
  for (std::size_t I = 0; I < FItems.size(); ++I)
    if (FItems[I].Name.compare(ClassName, Qt::CaseInsensitive) == 0) return static_cast<int>(I);
  return -1;
}

int TTERegControls::FindIndex(const QMetaObject* ClassRef) const {
  if (!ClassRef) return -1;
  for (std::size_t I = 0; I < FItems.size(); ++I)
    for (const QMetaObject* M = ClassRef; M && M != &QObject::staticMetaObject; M = M->superClass())
      if (SameName(FItems[I].Name, ControlClassName(M))) return static_cast<int>(I);
  return -1;
}

bool TTERegControls::Find(const QMetaObject* ClassRef, TTERegControl& Entry) const {
  const int Index = FindIndex(ClassRef);
  if (Index < 0) return false;
  Entry.Assign(FItems[Index].Entry);
  return true;
}

TTERegControls& RegControls() {
  static TTERegControls* const Registry = CreateRegistry();
  return *Registry;
}

TTERegControl EncodeControlEntry(std::uint32_t NonClientMode, std::uint32_t ClientMode,
                                 TControlPaintProc ClientProc, TControlPaintProc NonClientProc,
                                 bool RefreshClient, bool RefreshNonClient) {
  std::uint32_t Flags = 0;
  if (NonClientMode & rmoViaBitmap) Flags |= rfNCViaBitmap;
  if (NonClientMode & rmoRefreshIfFocused) Flags |= rfRefreshNCIfFocused;
  if (NonClientMode & rmoPaintCopy) Flags |= rfRefreshNCIfFocused | rfNCPaintCopy;
  if (ClientMode & rmoViaBitmap) Flags |= rfClientViaBitmap;
  if (ClientMode & rmoRefreshIfFocused) Flags |= rfRefreshClientIfFocused;
  if (ClientMode & rmoPaintCopy) Flags |= rfRefreshClientIfFocused | rfClientPaintCopy;
  constexpr std::uint32_t Options = rmoPaintCopy | rmoRefreshIfFocused | rmoViaBitmap;

  switch (NonClientMode & ~Options) {
    case ncrmPrintAndNCPaint: Flags |= rfPaintNC | rfNCPrintAndNCPaint; break;
    case ncrmPrint: Flags |= rfPaintNC | rfNCPrint; break;
    case ncrmOwnBorder: Flags |= rfPaintNC | rfNCOwnBorder; break;
    case ncrmCustom: Flags |= rfPaintNC | rfNCCustom; break;
    case ncrmPrintAndHookedNCPaint: Flags |= rfPaintNC | rfNCPrintAndHookedNCPaint; break;
    case ncrmNone: break;
    default: Flags |= rfPaintNC; break;
  }
  switch (ClientMode & ~Options) {
    case crmPaintMessages: Flags |= rfPaintClient | rfClientPaintMessages; break;
    case crmPrint: Flags |= rfPaintClient | rfClientPrint; break;
    case crmOleDraw: Flags |= rfPaintClient | rfClientOleDraw; break;
    case crmCustom: Flags |= rfPaintClient | rfClientCustom; break;
    case crmHookedPaint: Flags |= rfPaintClient | rfClientHookedPaint; break;
    case crmNone: break;
    default: Flags |= rfPaintClient; break;
  }
  if (RefreshNonClient) Flags |= rfRefreshNC;
  if (RefreshClient) Flags |= rfRefreshClient;
  // A painter is kept only for the mode that calls it.
  return TTERegControl(Flags, (ClientMode & ~Options) == crmCustom ? ClientProc : nullptr,
                       (NonClientMode & ~Options) == ncrmCustom ? NonClientProc : nullptr);
}

void RegisterControlClass(const QString& ClassName, std::uint32_t NonClientMode, std::uint32_t ClientMode,
                          bool RefreshClient, bool RefreshNonClient) {
  RegisterControlClass(ClassName, NonClientMode, ClientMode, nullptr, nullptr, RefreshClient, RefreshNonClient);
}

void RegisterControlClass(const QString& ClassName, std::uint32_t NonClientMode, std::uint32_t ClientMode,
                          TControlPaintProc ClientProc, TControlPaintProc NonClientProc, bool RefreshClient,
                          bool RefreshNonClient) {
  const TTERegControl Entry =
      EncodeControlEntry(NonClientMode, ClientMode, ClientProc, NonClientProc, RefreshClient, RefreshNonClient);
  RegControls().Register(ClassName, Entry.Flags, Entry.ClientProc, Entry.NonClientProc);
}

const QMetaObject* FindMessageHandlerClass(const QWidget* Control, int MessageId) {
  if (!Control || MessageId != WM_PRINT) return nullptr;
  return &QWidget::staticMetaObject;
}

void ApplyDefaultRenderMode(const QWidget* Control, TTERegControl& Entry) {
  std::uint32_t& F = Entry.Flags;
  const bool NCChosen = !(F & rfPaintNC) || (F & (rfNCModeMask | rfNCPaintCopy));
  const bool ClientChosen = !(F & rfPaintClient) || (F & (rfClientModeMask | rfClientPaintCopy));
  if (NCChosen && ClientChosen) return;
  const QMetaObject* PrintClass = FindMessageHandlerClass(Control, WM_PRINT);
  if (!ClientChosen) F |= PrintClass ? rfClientPrint : rfClientPaintMessages;
  if (!NCChosen) {
    const QMetaObject* NCClass = FindMessageHandlerClass(Control, WM_NCPAINT);
    if (!NCClass)
      F |= rfNCPrint;
    else if (ControlClassName(NCClass) == QLatin1String("QWidget"))
      F |= rfNCOwnBorder;  // only the base class paints the frame: the library draws it
    else if (PrintClass && PrintClass->inherits(NCClass))
      F |= rfNCPrint;
    else
      F |= rfNCPrint | rfRefreshNC;  // printed now, painted for real after the transition
  }
}

void ResolveControlEntry(QWidget* Window, QWidget* Control, TTERegControl& Entry) {
  if (!Control) {
    if (Window) Entry.Flags = rfWindowWithoutControl;
    return;
  }
  RegControls().Find(Control->metaObject(), Entry);
  ApplyDefaultRenderMode(Control, Entry);
  MarkControl(Control, Entry.Flags);
}

}  // namespace vte

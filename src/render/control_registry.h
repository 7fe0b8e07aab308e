#pragma once
// The registry that maps widget classes to their render modes, the default rule that fills in a
// mode left to the default, and the look-up made for every widget a capture paints.
//
// Class names are the meta-object's class names without namespace, compared without regard to
// case. A widget finds the entry of its own class or, failing that, of the nearest ancestor class
// registered; later registrations are searched first, so a specific entry made after a general
// one wins, and registering a name again changes its entry where it stands.
#include <QLatin1String>
#include <QString>
#include <cstdint>
#include <vector>

#include "render/reg_control.h"
#include "render/render_modes.h"

class QMetaObject;
class QWidget;

namespace vte {

class TTERegControls {
public:
  // A new name goes in at index 0; a name already present (any case) keeps its index and gets
  // the new values.
  void Register(const QString& ClassName, std::uint32_t Flags, TControlPaintProc ClientProc,
                TControlPaintProc NonClientProc);
  // Copies into Entry the first entry named like ClassRef or one of its ancestors (QObject left
  // out). Entry is untouched, and the result false, when nothing matches or ClassRef is null.
  bool Find(const QMetaObject* ClassRef, TTERegControl& Entry) const;
  // The index of the entry Find copies, or -1.
  int FindIndex(const QMetaObject* ClassRef) const;

  int Count() const { return static_cast<int>(FItems.size()); }
  const QString& Name(int Index) const { return FItems[Index].Name; }
  const TTERegControl& Entry(int Index) const { return FItems[Index].Entry; }
  int IndexOf(const QString& ClassName) const;  // -1 when not registered

private:
  struct TItem {
    QString Name;
    TTERegControl Entry;
  };
  std::vector<TItem> FItems;
};

// The program's registry, made on first use with the built-in classes.
TTERegControls& RegControls();

// The entry RegisterControlClass stores for these values.
TTERegControl EncodeControlEntry(std::uint32_t NonClientMode, std::uint32_t ClientMode,
                                 TControlPaintProc ClientProc, TControlPaintProc NonClientProc,
                                 bool RefreshClient, bool RefreshNonClient);
void RegisterControlClass(const QString& ClassName, std::uint32_t NonClientMode, std::uint32_t ClientMode,
                          bool RefreshClient = false, bool RefreshNonClient = false);
void RegisterControlClass(const QString& ClassName, std::uint32_t NonClientMode, std::uint32_t ClientMode,
                          TControlPaintProc ClientProc, TControlPaintProc NonClientProc,
                          bool RefreshClient = false, bool RefreshNonClient = false);

// The most derived class of Control that paints for the message, or null. Every widget class
// paints into any context it is given, so print (WM_PRINT) is answered by QWidget; there is no
// separate frame-painting message (WM_NCPAINT) and no other message.
const QMetaObject* FindMessageHandlerClass(const QWidget* Control, int MessageId);

// Fills in the modes Entry leaves to the default (applied to a copy, never to the registry).
void ApplyDefaultRenderMode(const QWidget* Control, TTERegControl& Entry);

// The entry a capture uses for Window: the registered one with the default rule applied, and the
// control marked for the repaint after the transition. Without a control the fixed flags of a
// foreign window.
void ResolveControlEntry(QWidget* Window, QWidget* Control, TTERegControl& Entry);

// The class name without namespace ("vte::TTERenderWindow" gives "TTERenderWindow").
QLatin1String ControlClassName(const QMetaObject* ClassRef);
// The class among Classes named Name (any case; a namespace before "::" is ignored), or null: how
// the registries of classes created by name (transitions, editor pages) resolve a name.
const QMetaObject* FindClassNamed(const std::vector<const QMetaObject*>& Classes, const QString& Name);
// Whether ClassRef or one of its ancestors (QObject left out) is named Name, any case.
bool ClassIsOrInherits(const QMetaObject* ClassRef, QLatin1String Name);

}  // namespace vte

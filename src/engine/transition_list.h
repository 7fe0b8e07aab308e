#pragma once
// A component that owns a set of transitions, and the registry of transition classes that lets
// stored lists and editors create any of them by class name.
#include <QObject>
#include <QString>
#include <QStringList>
#include <vector>

class QMetaObject;

namespace vte {

class TTransitionEffect;

class TTransitionList : public QObject {
  Q_OBJECT
  Q_PROPERTY(QString Version READ Version WRITE SetVersion)

public:
  Q_INVOKABLE explicit TTransitionList(QObject* Owner = nullptr);
  // Frees the transitions it still holds, the last one first.
  ~TTransitionList() override;

  int Count() const { return static_cast<int>(FItems.size()); }
  TTransitionEffect* Transitions(int Index) const;  // std::out_of_range for a bad index
  int IndexOf(const TTransitionEffect* Transition) const;

  QString Version() const { return QStringLiteral("Version 3.3"); }
  void SetVersion(const QString&) {}

  // Stored form: JSON, one object per transition with its class, its name and every published
  // property that differs from the class's default. Load replaces the contents only when the
  // whole file reads correctly; errors (std::runtime_error) name the file, the transition and key.
  void LoadFromFile(const QString& FileName);
  void SaveToFile(const QString& FileName) const;
  QByteArray SaveToJson() const;
  void LoadFromJson(const QByteArray& Json, const QString& Origin);

private:
  friend class TTransitionEffect;
  void Add(TTransitionEffect* Transition);     // appends and sets its list
  void Remove(TTransitionEffect* Transition);  // takes out if present and clears its list
  void Move(TTransitionEffect* Transition, int NewIndex);

  std::vector<TTransitionEffect*> FItems;
};

// The registry: each class once, in registration order.
void RegisterTransition(const QMetaObject* TransitionClass);
const std::vector<const QMetaObject*>& TransitionClasses();
// The registered class of that name (case-insensitive, namespace optional), or null.
const QMetaObject* FindTransitionClass(const QString& ClassName);
// A new transition of a registered class, or null when the name is unknown.
TTransitionEffect* CreateTransition(const QString& ClassName, QObject* Owner = nullptr);

// While an editor replaces a transition by one of another class: holders of the old one take
// ReplacementTransition when told of its removal.
extern TTransitionEffect* TransitionBeingReplaced;
extern TTransitionEffect* ReplacementTransition;

// Registers a class when the program starts: place in the effect's .cpp.
#define VTE_REGISTER_TRANSITION(Class)                                   \
  namespace {                                                            \
  const bool Class##Registered = (::vte::RegisterTransition(&Class::staticMetaObject), true); \
  }

}  // namespace vte

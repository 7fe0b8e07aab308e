#pragma once
// A component that holds an ordered set of transitions, and its stored form. Transitions join and
// leave through their own TransitionList property; the list frees those it still holds when it
// goes. Creating transitions by class name is the registry's (engine/transition_registry.h).
#include <QObject>
#include <QString>
#include <vector>

#include "engine/version.h"

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

  QString Version() const { return VersionText(); }
  void SetVersion(const QString&) {}

  // Stored form: JSON, {"Transitions": [...]} with one object per transition the list owns (held
  // and parented to it; a held transition owned by something else is stored by its owner): its
  // class, its name and its settings as engine/property_store.h writes them. Only registered
  // classes can be stored. Load replaces the contents only when the whole file reads correctly;
  // the loaded transitions are owned by the list. Errors (std::runtime_error) name the file, the
  // transition and the key.
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

}  // namespace vte

#pragma once
// What a form container knows of one hosted form, kept after the form is destroyed so that the
// history can re-create it: its class, its designed placement, the show and hide handlers the
// container fires in its stead, and the state the form saved when it went (its extra data).
#include <QMetaType>
#include <QObject>
#include <QPointer>
#include <QString>
#include <memory>

#include "container/form.h"
#include "container/form_types.h"

namespace vte {

// The base class of the objects a hosted form saves its state into; a form names the subclass it
// wants, with a Q_INVOKABLE (QObject*) constructor.
class TFCExtraData : public QObject {
  Q_OBJECT

public:
  Q_INVOKABLE explicit TFCExtraData(QObject* Parent = nullptr) : QObject(Parent) {}
};

class TFCFormData {
public:
  const QMetaObject* FormClass = nullptr;
  QPointer<TForm> Form;
  TFormNotifyEvent OnHide, OnShow;  // the form's own, fired by the container
  bool Shown = false;               // OnShow fired and OnHide not yet
  TFCFormAlign Align = fcfaDefault;
  TPosition Position = poDesigned;  // as designed; the form itself is set to poDesigned
  TBorderIcons BorderIcons;         // as designed
  QString Caption;
  std::unique_ptr<TFCExtraData> ExtraData;

  // Form is hosted by this record: its show and hide handlers move here, and focus entering and
  // leaving it stands for its activation (a hosted form is never activated itself).
  void AttachForm(TForm* NewForm);
};

}  // namespace vte

Q_DECLARE_METATYPE(const QMetaObject*)

#pragma once
// A form meant to live inside a form container: no border (its designed client size kept), a
// placement it asks the container for, a surface painted by background options, and the events
// through which it keeps its state while the container's history holds it destroyed. It answers
// the container's three extra-data calls by firing those events.
#include <QString>
#include <functional>

#include "container/background_options.h"
#include "container/form.h"
#include "container/form_data.h"

namespace vte {

class TFormContainer;

class TFCEmbeddedForm : public TForm {
  Q_OBJECT
  Q_PROPERTY(vte::form_types::TFCFormAlign Alignment READ Alignment WRITE SetAlignment)
  Q_PROPERTY(vte::TFCBackgroundOptions* BackgroundOptions READ BackgroundOptions WRITE SetBackgroundOptions)
  Q_PROPERTY(QString Version READ Version WRITE SetVersion)

public:
  using TGetExtraDataClassEvent = std::function<void(QObject* Sender, const QMetaObject*& ExtraDataClass)>;
  using TExtraDataEvent = std::function<void(QObject* Sender, TFCExtraData* ExtraData)>;

  Q_INVOKABLE explicit TFCEmbeddedForm(QObject* Owner = nullptr);
  // The options go first: nothing paints through them while the form is taken apart.
  ~TFCEmbeddedForm() override;

  TFCFormAlign Alignment() const { return FAlignment; }
  void SetAlignment(TFCFormAlign V) { FAlignment = V; }
  TFCBackgroundOptions* BackgroundOptions() const { return FOptions; }
  void SetBackgroundOptions(TFCBackgroundOptions* V);  // copies the settings
  QString Version() const;
  void SetVersion(const QString&) {}  // read-only in effect
  // The container the form is hosted in, or null.
  TFormContainer* FormContainer() const;

  TGetExtraDataClassEvent OnGetExtraDataClass;
  TExtraDataEvent OnGetExtraData;  // read the state back from the object
  TExtraDataEvent OnSetExtraData;  // write the state into the object

  Q_INVOKABLE const QMetaObject* FCGetExtraDataClass();
  Q_INVOKABLE void FCGetExtraData(vte::TFCExtraData* ExtraData);
  Q_INVOKABLE void FCSetExtraData(vte::TFCExtraData* ExtraData);

protected:
  // A name of its own among the forms of the widget it was created in ("Name_1", "Name_2", ...
  // when taken), and no border with the designed client size.
  void Loaded() override;

private:
  TFCBackgroundOptions* FOptions;
  TFCFormAlign FAlignment = fcfaCenter;
};

}  // namespace vte

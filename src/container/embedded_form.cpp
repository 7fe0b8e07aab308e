#include "container/embedded_form.h"

#include <QWidget>

#include "container/form_container.h"
#include "engine/version.h"

namespace vte {

namespace {

// Whether another object among Owner's descendants already has Name.
bool NameTaken(const QObject* Owner, const QObject* Self, const QString& Name) {
  const QList<QObject*> Named = Owner->findChildren<QObject*>(Name);
  return std::any_of(Named.begin(), Named.end(), [Self](const QObject* O) { return O != Self; });
}

}  // namespace

TFCEmbeddedForm::TFCEmbeddedForm(QObject* Owner) : TForm(Owner), FOptions(new TFCBackgroundOptions(this)) {
  FOptions->AttachTo(this);
}

TFCEmbeddedForm::~TFCEmbeddedForm() { delete FOptions; }

void TFCEmbeddedForm::SetBackgroundOptions(TFCBackgroundOptions* V) {
  if (V) FOptions->Assign(*V);
}

QString TFCEmbeddedForm::Version() const { return VersionText(); }

TFormContainer* TFCEmbeddedForm::FormContainer() const {
  for (QWidget* Up = parentWidget(); Up; Up = Up->parentWidget())
    if (auto* Container = qobject_cast<TFormContainer*>(Up)) return Container;
  return nullptr;
}

void TFCEmbeddedForm::Loaded() {
  if (QWidget* Owner = parentWidget()) {
    QString Base = objectName();
    if (Base.isEmpty()) {
      // A form without a designed name takes its class's name, as a designer would give it.
      Base = QString::fromLatin1(metaObject()->className());
      Base = Base.mid(Base.lastIndexOf(QLatin1Char(':')) + 1);
      if (Base.startsWith(QLatin1Char('T'))) Base.remove(0, 1);
    }
    QString Name = Base;
    for (int I = 1; NameTaken(Owner, this, Name); ++I) Name = QStringLiteral("%1_%2").arg(Base).arg(I);
    setObjectName(Name);
  }
  const int W = ClientWidth(), H = ClientHeight();
  SetBorderStyle(bsNone);
  SetClientWidth(W);
  SetClientHeight(H);
}

const QMetaObject* TFCEmbeddedForm::FCGetExtraDataClass() {
  const QMetaObject* Class = nullptr;
  if (OnGetExtraDataClass) OnGetExtraDataClass(this, Class);
  return Class;
}

void TFCEmbeddedForm::FCGetExtraData(TFCExtraData* ExtraData) {
  if (OnGetExtraData) OnGetExtraData(this, ExtraData);
}

void TFCEmbeddedForm::FCSetExtraData(TFCExtraData* ExtraData) {
  if (OnSetExtraData) OnSetExtraData(this, ExtraData);
}

}  // namespace vte

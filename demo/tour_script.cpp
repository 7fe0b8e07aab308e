#include "tour_script.h"

#include <QAbstractButton>
#include <QPushButton>
#include <stdexcept>

#include "container/form.h"
#include "page_registry.h"
#include "pages/form_new.h"
#include "tour_runner.h"

namespace vte::demo {

namespace {

using TStep = TTourRunner::TStep;

// The menu's entries that open a page, from top to bottom; LabelV3 opens the wizard (its own
// steps), LabelBuyNow and LabelWeb open a browser and are left out.
const char* const MenuEntries[] = {"LabelIntro",
                                   "LabelComponents",
                                   "LabelFormContainer",
                                   "LabelLRU",
                                   "LabelPower",
                                   "LabelTransitionEffects",
                                   "LabelTransitionSamples",
                                   "LabelTransitionEditor",
                                   "LabelCustomTransitions",
                                   "LabelSimpleWipe",
                                   "LabelShake",
                                   "LabelBkOptions",
                                   "LabelBkgrndSamples",
                                   "LabelV3",
                                   "LabelPrices",
                                   "LabelContact"};

const char* const BackgroundStyles[] = {"Gradient",     "Stone texture", "Strokes texture",
                                        "Wall texture", "Wood texture",  "Complex background with form shading"};

bool Inside(const QWidget* Widget, const char* ClassName) {
  if (!ClassName) return true;
  for (const QWidget* Up = Widget; Up; Up = Up->parentWidget())
    if (Up->inherits(ClassName)) return true;
  return false;
}

// The visible widget named Name inside Root (and inside a widget of class Within), or null.
QWidget* Visible(QWidget* Root, const QString& Name, const char* Within = nullptr) {
  if (!Root) return nullptr;
  for (QWidget* Widget : Root->findChildren<QWidget*>(Name))
    if (Widget->isVisible() && Inside(Widget, Within)) return Widget;
  return nullptr;
}

QWidget* Find(QWidget* Root, const QString& Name, const char* Within = nullptr) {
  if (QWidget* Widget = Visible(Root, Name, Within)) return Widget;
  throw std::runtime_error(QStringLiteral("no visible '%1'%2")
                               .arg(Name, Within ? QStringLiteral(" on a %1").arg(QLatin1String(Within)) : QString())
                               .toStdString());
}

// The visible button captioned Caption (accelerator marks aside) inside a widget of class Within.
QAbstractButton* FindButton(QWidget* Root, const QString& Caption, const char* Within) {
  for (QAbstractButton* Button : Root->findChildren<QAbstractButton*>())
    if (Button->isVisible() && Inside(Button, Within) && Button->text().remove(QLatin1Char('&')) == Caption)
      return Button;
  throw std::runtime_error(
      QStringLiteral("no visible button \"%1\" on a %2").arg(Caption, QLatin1String(Within)).toStdString());
}

// Presses the visible button Name inside Within while it is enabled: one press a step.
TStep PressUntilDisabled(QPointer<TForm>& Main, const QString& Label, const char* Name, const char* Within) {
  return {Label, [&Main, Name, Within] {
            QWidget* Button = Find(Main, QLatin1String(Name), Within);
            if (!Button->isEnabled()) return false;
            ClickWidget(Button);
            return Button->isEnabled();
          }};
}

TFormNew* ShownWizard(QWidget* Main) {
  if (Main)
    for (TFormNew* Wizard : Main->findChildren<TFormNew*>())
      if (Wizard->isVisible()) return Wizard;
  throw std::runtime_error("no visible wizard (TFormNew)");
}

}  // namespace

void AddProgramTour(TTourRunner& Tour, QPointer<TForm>& Main) {
  Tour.Add({QStringLiteral("start"), [&Tour, &Main] {
              const QMetaObject* Class = PageClass(QStringLiteral("TMainForm"));
              if (!Class) throw std::runtime_error("the main form class TMainForm is not in this program");
              // The about box comes first and holds the main form's creation: once its version is
              // shown it is clicked away.
              Tour.WhenShown("vte::demo::TFormAbout", [](QWidget* About) {
                QWidget* Version = About->findChild<QWidget*>(QStringLiteral("LabelVersion"));
                if (Version && !Version->isVisible()) return false;
                QWidget* Image = About->findChild<QWidget*>(QStringLiteral("Image"));
                ClickWidget(Image && Image->isVisible() ? Image : About);
                return true;
              });
              Main = CreateForm(Class, nullptr);
              Tour.SetWindow(Main);
              Main->show();
              return false;
            }});

  // The menu is there once the main form's transitions have ended.
  const auto MenuShown = [&Main] { return Visible(Main, QStringLiteral("EffectsPanelNavigator")) != nullptr; };
  const QString Menu = QStringLiteral("the navigator's menu");
  for (const char* Entry : MenuEntries) {
    const QString Name = QLatin1String(Entry);
    Tour.Add({(Name == QLatin1String("LabelV3") ? QStringLiteral("wizard-open") : QStringLiteral("menu-") + Name),
              [&Main, Name] {
                ClickWidget(Find(Main, Name));
                return false;
              },
              MenuShown, Menu});

    if (Name == QLatin1String("LabelTransitionSamples")) {
      Tour.Add(PressUntilDisabled(Main, QStringLiteral("samples"), "BitBtnNext", "vte::demo::TFormTransitionSamples"));
    } else if (Name == QLatin1String("LabelTransitionEditor")) {
      Tour.Add({QStringLiteral("editor"), [&Tour, &Main] {
                  // The dialog is modal: it is photographed and cancelled from the event loop it runs.
                  Tour.WhenShown("vte::TTransitionModalEditor", [&Tour](QWidget* Dialog) {
                    Tour.Shoot(QStringLiteral("dialog"), Dialog);
                    if (QWidget* Cancel = Visible(Dialog, QStringLiteral("BitBtnCancel")))
                      ClickWidget(Cancel);
                    else
                      Dialog->close();
                    return true;
                  });
                  ClickWidget(Find(Main, QStringLiteral("BitBtnEditor")));
                  return false;
                }});
    } else if (Name == QLatin1String("LabelBkgrndSamples")) {
      for (const char* Style : BackgroundStyles) {
        const QString Caption = QLatin1String(Style);
        Tour.Add({QStringLiteral("background-") + Caption, [&Main, Caption] {
                    ClickWidget(FindButton(Main, Caption, "vte::demo::TFormBkgrndEditor"));
                    return false;
                  }});
      }
    } else if (Name == QLatin1String("LabelV3")) {
      Tour.Add(WizardStep(Tour, [&Main] { return ShownWizard(Main); }));
      Tour.Add({QStringLiteral("wizard-finish"), [&Main] {
                  ClickWidget(ShownWizard(Main)->BitBtnFinish);
                  return false;
                }});
    }
  }
}

TTourRunner::TStep WizardStep(TTourRunner& Tour, std::function<TFormNew*()> Wizard) {
  return {QStringLiteral("wizard"), [&Tour, Wizard] {
            TFormNew* New = Wizard();
            if (!New->BitBtnNext->isEnabled()) return false;
            const int Index = New->PageIndex() + 1;
            const QString Page = QString::fromLatin1(New->PageClasses()[static_cast<std::size_t>(Index)]->className())
                                     .section(QStringLiteral("::"), -1);
            Tour.Relabel(QStringLiteral("wizard-%1-%2").arg(Index + 1, 2, 10, QLatin1Char('0')).arg(Page));
            ClickWidget(New->BitBtnNext);
            return New->BitBtnNext->isEnabled();
          }};
}

}  // namespace vte::demo

#include "pages/form_shake.h"

#include "effects/shake.h"
#include "page_registry.h"

namespace vte::demo {

namespace {
std::unique_ptr<TTransitionEffect> MakeShake() {
  auto Transition = std::make_unique<TShakeTransition>();
  Transition->SetMilliseconds(5000);
  return Transition;
}
}  // namespace

TFormShake::TFormShake(QObject* Owner)
    : TCustomTransitionPage(Owner, MakeShake(), QStringLiteral(":/demo/shake.json"),
                            {QStringLiteral(":/demo/source/shake.h"), QStringLiteral(":/demo/source/shake.cpp")}, false) {
  setObjectName(QStringLiteral("FormShake"));
  SetCaption(QStringLiteral("Shake"));
}

VTE_DEMO_PAGE(TFormShake)

}  // namespace vte::demo

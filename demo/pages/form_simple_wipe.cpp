#include "pages/form_simple_wipe.h"

#include "effects/simple_wipe.h"
#include "page_registry.h"

namespace vte::demo {

namespace {
std::unique_ptr<TTransitionEffect> MakeSimpleWipe() {
  auto Transition = std::make_unique<TSimpleWipeTransition>();
  Transition->SetMilliseconds(500);
  return Transition;
}
}  // namespace

TFormSimpleWipe::TFormSimpleWipe(QObject* Owner)
    : TCustomTransitionPage(Owner, MakeSimpleWipe(), QStringLiteral(":/demo/simple_wipe.json"),
                            {QStringLiteral(":/demo/source/simple_wipe.h"), QStringLiteral(":/demo/source/simple_wipe.cpp")}, true) {
  setObjectName(QStringLiteral("FormSimpleWipe"));
  SetCaption(QStringLiteral("Simple wipe"));
}

VTE_DEMO_PAGE(TFormSimpleWipe)

}  // namespace vte::demo

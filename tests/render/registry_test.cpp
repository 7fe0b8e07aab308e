// The registry of widget classes: look-up through the class chain, the built-in table, the Flags
// encoding bit for bit, the default rule, and the repaint marks a capture leaves.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QTimer>
#include <initializer_list>

#include "gdi/canvas.h"
#include "render/control_registry.h"
#include "render/control_render.h"
#include "render/refresh_markers.h"

// Widget classes of the tests' own, so that registering them leaves the other classes alone.
class TRegistryTestProbe : public QWidget {
  Q_OBJECT
public:
  using QWidget::QWidget;
  int Paints = 0;

protected:
  void paintEvent(QPaintEvent*) override { ++Paints; }
};

class TRegistryTestDerivedProbe : public TRegistryTestProbe {
  Q_OBJECT
public:
  using TRegistryTestProbe::TRegistryTestProbe;
};

class TRegistryTestAlwaysRefreshed : public TRegistryTestProbe {
  Q_OBJECT
public:
  using TRegistryTestProbe::TRegistryTestProbe;
};

namespace vte {
namespace {

std::uint32_t Bits(std::initializer_list<int> Numbers) {
  std::uint32_t F = 0;
  for (int N : Numbers) F |= 1u << N;
  return F;
}

QString FoundName(const QWidget& W) {
  const int Index = RegControls().FindIndex(W.metaObject());
  return Index < 0 ? QString() : RegControls().Name(Index);
}

void PaintNothing(QWidget*, TCanvas&) {}
void PaintOther(QWidget*, TCanvas&) {}

TEST(RegistryLookup, WidgetsFindTheEntryOfTheirNearestRegisteredClass) {
  QListWidget List;
  QPushButton Button;
  QLabel Label;
  EXPECT_EQ(FoundName(List), QStringLiteral("QAbstractScrollArea"));
  EXPECT_EQ(FoundName(Button), QStringLiteral("QWidget"));
  EXPECT_EQ(FoundName(Label), QStringLiteral("QWidget"));
  // QObject itself is not part of the chain searched.
  RegControls().Register(QStringLiteral("QObject"), 0x1234, nullptr, nullptr);
  QTimer Timer;
  EXPECT_EQ(RegControls().FindIndex(Timer.metaObject()), -1);
  TTERegControl Entry(0x55, nullptr, nullptr);
  EXPECT_FALSE(RegControls().Find(nullptr, Entry));
  EXPECT_FALSE(RegControls().Find(Timer.metaObject(), Entry));
  EXPECT_EQ(Entry.Flags, 0x55u);
  // A class registered later is searched first: a derived class finds its base's entry made now.
  RegisterControlClass(QStringLiteral("tregistrytestprobe"), ncrmOwnBorder, crmPaintMessages);
  TRegistryTestDerivedProbe Derived;
  ASSERT_TRUE(RegControls().Find(Derived.metaObject(), Entry));
  EXPECT_EQ(Entry.Flags, Bits({26, 27, 2, 6}));
}

TEST(RegistryLookup, BuiltInTableInItsOrder) {
  const TTERegControls& R = RegControls();
  const int Widget = R.IndexOf(QStringLiteral("QWidget")), Scroll = R.IndexOf(QStringLiteral("QAbstractScrollArea")),
            GL = R.IndexOf(QStringLiteral("QOpenGLWidget")), Quick = R.IndexOf(QStringLiteral("QQuickWidget")),
            Container = R.IndexOf(QStringLiteral("QWindowContainer"));
  ASSERT_GE(Container, 0);
  EXPECT_EQ(Quick, Container + 1);
  EXPECT_EQ(GL, Quick + 1);
  EXPECT_EQ(Scroll, GL + 1);
  EXPECT_EQ(Widget, Scroll + 1);
  EXPECT_EQ(R.Entry(Scroll).Flags, Bits({26, 27, 0, 5}));
  EXPECT_EQ(R.Entry(GL).Flags, Bits({27, 7, 30, 31}));
  EXPECT_EQ(R.Entry(Quick).Flags, Bits({27, 7, 30, 31}));
  EXPECT_EQ(R.Entry(Container).Flags, Bits({27, 9, 31}));
}

TEST(RegistryLookup, RegisteringAgainChangesTheEntryInPlace) {
  TTERegControls& R = RegControls();
  const int Index = R.IndexOf(QStringLiteral("QWidget")), Count = R.Count();
  const TTERegControl Saved = R.Entry(Index);
  RegisterControlClass(QStringLiteral("qWIDGET"), ncrmOwnBorder, crmPaintMessages);
  EXPECT_EQ(R.IndexOf(QStringLiteral("QWidget")), Index);
  EXPECT_EQ(R.Count(), Count);
  EXPECT_EQ(R.Entry(Index).Flags, Bits({26, 27, 2, 6}));
  R.Register(QStringLiteral("QWidget"), Saved.Flags, Saved.ClientProc, Saved.NonClientProc);
  EXPECT_EQ(R.Entry(Index).Flags, Saved.Flags);

  static int Made = 0;  // a name never registered before, also when the test is repeated
  const QString NewName = QStringLiteral("TRegistryTestNewClass%1").arg(++Made);
  RegisterControlClass(NewName, ncrmPrint, crmPrint);
  EXPECT_EQ(R.IndexOf(NewName.toLower()), 0);
  EXPECT_EQ(R.IndexOf(QStringLiteral("QWidget")), Index + 1);
  EXPECT_EQ(R.Count(), Count + 1);
}

struct TEncodingCase {
  std::uint32_t NonClient, Client;
  bool RefreshClient, RefreshNonClient;
  std::uint32_t Expected;
};

TEST(FlagsEncoding, EveryModeOptionAndRefreshSetsItsBits) {
  const std::uint32_t None = 0x80000000u;
  const TEncodingCase Cases[] = {
      // non-client modes, the client area not painted
      {0, None, false, false, Bits({26})},
      {1, None, false, false, Bits({26, 1})},
      {2, None, false, false, Bits({26, 0})},
      {3, None, false, false, Bits({26, 2})},
      {4, None, false, false, Bits({26, 3})},
      {5, None, false, false, Bits({26, 4})},
      {7, None, false, false, Bits({26})},
      {None, None, false, false, 0},
      // client modes
      {None, 0, false, false, Bits({27})},
      {None, 1, false, false, Bits({27, 6})},
      {None, 2, false, false, Bits({27, 5})},
      {None, 3, false, false, Bits({27, 7})},
      {None, 4, false, false, Bits({27, 8})},
      {None, 5, false, false, Bits({27, 9})},
      {None, 6, false, false, Bits({27})},
      // options
      {None | 0x40000000u, None, false, false, Bits({24})},
      {2 | 0x20000000u, None, false, false, Bits({26, 0, 28})},
      {0x10000000u, None, false, false, Bits({26, 22, 28})},
      {None, 1 | 0x40000000u, false, false, Bits({27, 6, 25})},
      {None, 2 | 0x20000000u, false, false, Bits({27, 5, 29})},
      {None, 0x10000000u, false, false, Bits({27, 23, 29})},
      {0x10000000u | 0x20000000u | 0x40000000u, 0x70000000u, false, false, Bits({26, 27, 22, 23, 24, 25, 28, 29})},
      // unconditional repaints
      {None, None, true, false, Bits({31})},
      {None, None, false, true, Bits({30})},
      {2, 1, true, true, Bits({26, 27, 0, 6, 30, 31})},
  };
  for (const TEncodingCase& C : Cases) {
    SCOPED_TRACE(testing::Message() << std::hex << C.NonClient << " " << C.Client);
    EXPECT_EQ(EncodeControlEntry(C.NonClient, C.Client, nullptr, nullptr, C.RefreshClient, C.RefreshNonClient).Flags,
              C.Expected);
  }
  // What RegisterControlClass stores is that encoding.
  RegisterControlClass(QStringLiteral("TRegistryTestEncoded"), 5 | rmoViaBitmap, 1 | rmoPaintCopy, true, false);
  EXPECT_EQ(RegControls().Entry(RegControls().IndexOf(QStringLiteral("TRegistryTestEncoded"))).Flags,
            Bits({26, 4, 24, 27, 6, 23, 29, 31}));
}

TEST(FlagsEncoding, PaintersAreKeptOnlyForTheCustomModes) {
  TTERegControl E = EncodeControlEntry(ncrmCustom, crmPrint, PaintNothing, PaintOther, false, false);
  EXPECT_EQ(E.NonClientProc, &PaintOther);
  EXPECT_EQ(E.ClientProc, nullptr);
  E = EncodeControlEntry(ncrmPrint, crmCustom | rmoViaBitmap, PaintNothing, PaintOther, false, false);
  EXPECT_EQ(E.NonClientProc, nullptr);
  EXPECT_EQ(E.ClientProc, &PaintNothing);
  RegisterControlClass(QStringLiteral("TRegistryTestBoth"), ncrmCustom, crmCustom, PaintNothing, PaintNothing);
  const TTERegControl& Stored = RegControls().Entry(RegControls().IndexOf(QStringLiteral("TRegistryTestBoth")));
  EXPECT_EQ(Stored.NonClientProc, &PaintNothing);
  EXPECT_EQ(Stored.ClientProc, &PaintNothing);
}

TEST(DefaultRule, PrintForBothAreasWhereTheModeIsLeftOpen) {
  QPushButton Button;
  EXPECT_EQ(FindMessageHandlerClass(&Button, WM_PRINT), &QWidget::staticMetaObject);
  EXPECT_EQ(FindMessageHandlerClass(&Button, WM_NCPAINT), nullptr);
  EXPECT_EQ(FindMessageHandlerClass(&Button, 0), nullptr);
  EXPECT_EQ(FindMessageHandlerClass(&Button, 0xC000), nullptr);
  EXPECT_EQ(FindMessageHandlerClass(nullptr, WM_PRINT), nullptr);

  struct TCase {
    std::uint32_t Flags, Expected;
  };
  const TCase Cases[] = {
      {Bits({26, 27}), Bits({26, 27, 0, 5})},        // both open
      {Bits({26, 27, 2}), Bits({26, 27, 2, 5})},     // non-client chosen
      {Bits({26}), Bits({26, 0})},                   // client not painted
      {Bits({27, 6}), Bits({27, 6})},                // nothing open
      {Bits({26, 27, 22, 23}), Bits({26, 27, 22, 23})},  // paint copy counts as chosen
      {0, 0},                                        // no entry found: nothing painted
  };
  for (const TCase& C : Cases) {
    TTERegControl E(C.Flags, nullptr, nullptr);
    ApplyDefaultRenderMode(&Button, E);
    EXPECT_EQ(E.Flags, C.Expected) << std::hex << C.Flags;
  }
  TTERegControl E;
  QWidget Window;
  ResolveControlEntry(&Window, nullptr, E);
  EXPECT_EQ(E.Flags, 0x0C000041u);
  ResolveControlEntry(&Window, &Window, E);
  EXPECT_EQ(E.Flags, Bits({26, 27, 0, 5}));
}

TEST(RefreshMarks, ValuesAndStaleSlots) {
  for (int V : {rmkNoRepaint, rmkRepaintNonClient, rmkRepaintClient, rmkRepaintBoth}) EXPECT_TRUE(IsRefreshMarker(V));
  for (int V : {0, -2, 5, -18, -16}) EXPECT_FALSE(IsRefreshMarker(V));
  EXPECT_EQ(RefreshMarker(false, false), -17);
  EXPECT_EQ(RefreshMarker(true, false), -33);
  EXPECT_EQ(RefreshMarker(false, true), -49);
  EXPECT_EQ(RefreshMarker(true, true), -65);
  auto* W = new QWidget;
  RefreshMarkers().Mark(W, rmkRepaintBoth);
  EXPECT_EQ(RefreshMarkers().Peek(W), rmkRepaintBoth);
  const QWidget* Gone = W;
  delete W;
  EXPECT_EQ(RefreshMarkers().Peek(Gone), std::nullopt);
}

// A widget painted while focused, of a class that asks for it, repaints after the transition; an
// unfocused one does not; a class asking for an unconditional repaint repaints without a capture.
TEST(RefreshMarks, FocusedWidgetRepaintsAfterTheTransitionAndMarksAreCleared) {
  RegisterControlClass(QStringLiteral("TRegistryTestProbe"), ncrmPrint, crmPrint | rmoRefreshIfFocused);
  RegisterControlClass(QStringLiteral("TRegistryTestAlwaysRefreshed"), ncrmPrint, crmPrint, true, false);
  QWidget Window;
  Window.resize(200, 100);
  auto* Focused = new TRegistryTestProbe(&Window);
  Focused->setGeometry(0, 0, 50, 50);
  Focused->setFocusPolicy(Qt::StrongFocus);
  auto* Other = new TRegistryTestProbe(&Window);
  Other->setGeometry(60, 0, 50, 50);
  Window.show();
  Window.activateWindow();
  QApplication::setActiveWindow(&Window);
  Focused->setFocus();
  QApplication::processEvents();
  ASSERT_TRUE(Focused->hasFocus());

  const std::unique_ptr<TBitmap> B = RenderControlToBitmap(&Window, Rect(0, 0, 200, 100), true, pf32bit, true);
  EXPECT_EQ(RefreshMarkers().Peek(Focused), rmkRepaintClient);
  EXPECT_EQ(RefreshMarkers().Peek(Other), rmkNoRepaint);
  // Made after the capture, never marked: decided afresh by the refresh.
  auto* Always = new TRegistryTestAlwaysRefreshed(&Window);
  Always->setGeometry(120, 0, 50, 50);
  Always->show();
  QApplication::processEvents();
  QApplication::processEvents();
  Focused->Paints = Other->Paints = Always->Paints = 0;

  RefreshMarkedWindows(&Window);
  QApplication::processEvents();
  EXPECT_GT(Focused->Paints, 0);
  EXPECT_EQ(Other->Paints, 0);
  EXPECT_GT(Always->Paints, 0);
  EXPECT_EQ(RefreshMarkers().Peek(Focused), std::nullopt);
  EXPECT_EQ(RefreshMarkers().Peek(Other), std::nullopt);
  EXPECT_EQ(RefreshMarkers().Peek(Always), std::nullopt);

  // Unfocused now: the same capture and refresh repaint nothing.
  Focused->clearFocus();
  RenderControlToBitmap(&Window, Rect(0, 0, 200, 100), true, pf32bit, true);
  QApplication::processEvents();
  Focused->Paints = 0;
  RefreshMarkedWindows(&Window);
  QApplication::processEvents();
  EXPECT_EQ(Focused->Paints, 0);
}

}  // namespace
}  // namespace vte

#include "registry_test.moc"

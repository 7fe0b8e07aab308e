// The background options model: defaults and setter rules, the options tree along the widgets,
// effective values, what is in use, and which widgets a change repaints.
#include <gtest/gtest.h>

#include <QApplication>
#include <QWidget>

#include "container/background_options.h"
#include "gdi/canvas.h"
#include "pixel/blend_work.h"

namespace vte {
namespace {

// A panel that owns options and counts its paints.
class TOptionsPanel : public QWidget {
  Q_OBJECT
  Q_PROPERTY(vte::TFCBackgroundOptions* BackgroundOptions READ BackgroundOptions)

public:
  explicit TOptionsPanel(QWidget* Parent = nullptr) : QWidget(Parent), FOptions(new TFCBackgroundOptions(this)) {
    FOptions->AttachTo(this);
    // Paints all of itself, so a repaint of it alone does not repaint its parent below.
    setAttribute(Qt::WA_OpaquePaintEvent);
  }
  TFCBackgroundOptions* BackgroundOptions() const { return FOptions; }
  int Paints = 0;

protected:
  void paintEvent(QPaintEvent*) override { ++Paints; }

private:
  TFCBackgroundOptions* FOptions;
};

// A component on a form that answers for the form, as the form-transitions component does.
class TAnsweringComponent : public QObject {
  Q_OBJECT

public:
  explicit TAnsweringComponent(QWidget* Form) : QObject(Form), Options(new TFCBackgroundOptions(this)) {}
  Q_INVOKABLE vte::TFCBackgroundOptions* FCGetBackgroundOptions() const { return Options; }
  TFCBackgroundOptions* Options;
};

TPicture SmallPicture() {
  TPicture P;
  TBitmap B(4, 3, pf32bit);
  P.SetBitmap(&B);
  return P;
}

TEST(BackgroundOptions, DefaultsAndSetterRules) {
  TFCBackgroundOptions O;
  EXPECT_TRUE(O.Opaque());
  EXPECT_TRUE(O.BkgrndFormVisible() && O.PictureVisible() && O.GlassVisible());
  EXPECT_FALSE(O.ParentOpaque() || O.ParentPicture() || O.ParentGlass() || O.ParentBkgrndForm());
  EXPECT_EQ(O.PictureMode(), fcpmTile);
  EXPECT_EQ(O.PictureTranspColor(), clNone);
  EXPECT_EQ(O.GlassColor(), clBlack);
  EXPECT_EQ(O.GlassTranslucency(), 255);
  EXPECT_FALSE(O.IsActive()) << "no owner, never active";

  O.SetParentOpaque(true);
  O.SetOpaque(true);
  EXPECT_FALSE(O.ParentOpaque()) << "setting Opaque, even unchanged, drops the inheritance";
  O.SetParentGlass(true);
  O.SetGlassTranslucency(300);
  EXPECT_FALSE(O.ParentGlass());
  EXPECT_EQ(O.GlassTranslucency(), 255);
  O.SetPicture(SmallPicture());
  O.SetParentPicture(true);
  EXPECT_TRUE(O.Picture().Empty()) << "an inherited picture replaces the own one";
  O.SetPicture(SmallPicture());
  EXPECT_FALSE(O.ParentPicture());
}

TEST(BackgroundOptions, TheTreeFollowsTheWidgetsAndTheirReparenting) {
  TOptionsPanel Root, Other;
  auto* Plain = new QWidget(&Root);
  auto* Child = new TOptionsPanel(Plain);
  auto* Grand = new TOptionsPanel(Child);
  // Built top-down, each attached before its descendants existed: the root gathers them again.
  Root.BackgroundOptions()->AttachTo(&Root);
  TFCBackgroundOptions *R = Root.BackgroundOptions(), *C = Child->BackgroundOptions(), *G = Grand->BackgroundOptions();
  EXPECT_EQ(C->ParentOptions(), R) << "a plain widget in between is looked through";
  EXPECT_EQ(G->ParentOptions(), C);
  EXPECT_EQ(R->Children(), std::vector<TFCBackgroundOptions*>{C});

  Child->setParent(&Other);
  C->AttachTo(Child);
  EXPECT_EQ(C->ParentOptions(), Other.BackgroundOptions());
  EXPECT_TRUE(R->Children().empty());
  EXPECT_EQ(Other.BackgroundOptions()->Children(), std::vector<TFCBackgroundOptions*>{C});
  EXPECT_EQ(G->ParentOptions(), C);

  // Options that go leave the tree.
  delete Grand;
  EXPECT_TRUE(C->Children().empty());
}

TEST(BackgroundOptions, EffectiveValuesAndWhatIsInUse) {
  TOptionsPanel Root;
  auto* Plain = new QWidget(&Root);
  auto* Deep = new TOptionsPanel(Plain);
  auto* Direct = new TOptionsPanel(&Root);
  TFCBackgroundOptions *R = Root.BackgroundOptions(), *D = Deep->BackgroundOptions(), *N = Direct->BackgroundOptions();
  ASSERT_EQ(D->ParentOptions(), R);
  EXPECT_FALSE(D->IsActive());

  R->SetOpaque(false);
  D->SetParentOpaque(true);
  N->SetParentOpaque(true);
  EXPECT_TRUE(D->EffectiveOpaque()) << "transparency is taken only from the direct parent";
  EXPECT_FALSE(N->EffectiveOpaque());
  EXPECT_TRUE(N->IsActive());
  EXPECT_FALSE(N->OpaqueInUse());

  R->SetPicture(SmallPicture());
  R->SetPictureMode(fcpmCenter);
  D->SetParentPicture(true);
  EXPECT_EQ(&D->PictureSource(), R);
  EXPECT_EQ(D->PictureSource().PictureMode(), fcpmCenter);
  EXPECT_TRUE(D->IsActive());
  EXPECT_TRUE(D->PictureInUse());
  D->SetPictureVisible(false);
  EXPECT_FALSE(D->IsActive());

  R->SetGlassTranslucency(128);
  D->SetParentGlass(true);
  EXPECT_TRUE(D->IsActive());
  EXPECT_TRUE(D->GlassInUse());
  R->SetGlassTranslucency(255);
  EXPECT_FALSE(D->IsActive());
}

TEST(BackgroundOptions, AChangeRepaintsTheOwnerAndTheInheritingDescendantsOnly) {
  TOptionsPanel Root;
  Root.resize(200, 100);
  auto* Inheriting = new TOptionsPanel(&Root);
  auto* Own = new TOptionsPanel(&Root);
  Inheriting->setGeometry(0, 0, 50, 50);
  Own->setGeometry(100, 0, 50, 50);
  Inheriting->BackgroundOptions()->SetParentGlass(true);
  Root.show();
  QApplication::processEvents();
  Root.Paints = Inheriting->Paints = Own->Paints = 0;
  Own->BackgroundOptions()->SetGlassColor(clRed);
  QApplication::processEvents();
  EXPECT_GT(Own->Paints, 0);
  EXPECT_EQ(Inheriting->Paints, 0);
  EXPECT_EQ(Root.Paints, 0);
  // The root's glass reaches the panel that inherits it, not the one with glass of its own.
  Own->Paints = 0;
  Root.BackgroundOptions()->SetGlassTranslucency(100);
  QApplication::processEvents();
  EXPECT_GT(Inheriting->Paints, 0);
  EXPECT_EQ(Own->Paints, 0);
  Inheriting->Paints = 0;
  Inheriting->BackgroundOptions()->SetGlassVisible(false);
  QApplication::processEvents();
  EXPECT_GT(Inheriting->Paints, 0);
  EXPECT_EQ(Own->Paints, 0);
}

TEST(BackgroundOptions, AssignKeepsTheOrderOfTheParentFlags) {
  TFCBackgroundOptions Source, Dest;
  Source.SetPicture(SmallPicture());
  Source.SetPictureMode(fcpmStretch);
  Source.SetGlassColor(clBlue);
  Source.SetGlassTranslucency(40);
  Source.SetOpaque(false);
  Source.SetParentOpaque(true);
  Dest.Assign(Source);
  EXPECT_TRUE(Dest.ParentOpaque());
  EXPECT_TRUE(Dest.Opaque()) << "an inherited Opaque is not copied";
  EXPECT_EQ(Dest.PictureMode(), fcpmStretch);
  EXPECT_EQ(Dest.Picture().Width(), 4);
  EXPECT_EQ(Dest.GlassColor(), clBlue);
  EXPECT_EQ(Dest.GlassTranslucency(), 40);

  Source.SetParentPicture(true);
  Source.SetParentGlass(true);
  Dest.Assign(Source);
  EXPECT_TRUE(Dest.ParentPicture());
  EXPECT_TRUE(Dest.Picture().Empty());
  EXPECT_TRUE(Dest.ParentGlass());
}

TEST(BackgroundOptions, FoundThroughThePropertyOrAnAnsweringComponent) {
  TOptionsPanel Panel;
  EXPECT_EQ(FindBackgroundOptions(&Panel), Panel.BackgroundOptions());
  QWidget Form;
  EXPECT_EQ(FindBackgroundOptions(&Form), nullptr);
  auto* Component = new TAnsweringComponent(&Form);
  EXPECT_EQ(FindBackgroundOptions(&Form), Component->Options);
  // The form's options become the parent of a panel on it.
  auto* OnForm = new TOptionsPanel(&Form);
  EXPECT_EQ(OnForm->BackgroundOptions()->ParentOptions(), Component->Options);
}

TEST(BackgroundOptions, ABackgroundFormIsShownOffTheScreenAndFreedWithTheInheritance) {
  TOptionsPanel Panel;
  Panel.resize(120, 80);
  TFCBackgroundOptions* O = Panel.BackgroundOptions();
  O->SetBkgrndForm(&TForm::staticMetaObject);
  QPointer<TForm> Form = O->BkgrndForm();
  ASSERT_TRUE(Form);
  EXPECT_TRUE(Form->isVisible());
  EXPECT_EQ(Form->BorderStyle(), bsNone);
  EXPECT_EQ(Form->size(), QSize(120, 80));
  EXPECT_TRUE(Form->testAttribute(Qt::WA_DontShowOnScreen));
  EXPECT_TRUE(O->IsActive());
  EXPECT_TRUE(O->BkgrndFormInUse());
  O->SetParentBkgrndForm(true);
  EXPECT_TRUE(Form.isNull());
  EXPECT_FALSE(O->IsActive());
}

TPicture NumberedPicture(int W, int H) {
  // Every pixel a colour of its own, so that a misplaced tile shows.
  TBitmap B(W, H, pf32bit);
  for (int Y = 0; Y < H; ++Y)
    for (int X = 0; X < W; ++X) B.Canvas().SetPixel(X, Y, static_cast<TColor>(0x010000 * X + 0x0100 * Y + 7));
  TPicture P;
  P.SetBitmap(&B);
  return P;
}

TEST(BackgroundOptions, PictureRectanglesByMode) {
  TOptionsPanel Panel;
  Panel.resize(100, 80);
  TFCBackgroundOptions* O = Panel.BackgroundOptions();
  O->SetPicture(NumberedPicture(140, 100));
  O->SetPictureMode(fcpmCenter);
  EXPECT_EQ(O->GetPictureRect(&Panel), Rect(-20, -10, 120, 90)) << "larger than the control: negative corner";
  Panel.resize(100, 100);
  O->SetPicture(NumberedPicture(200, 100));
  O->SetPictureMode(fcpmCenterStretch);
  EXPECT_EQ(O->GetPictureRect(&Panel), Rect(0, 25, 100, 75));
  O->SetPictureMode(fcpmStretch);
  EXPECT_EQ(O->GetPictureRect(&Panel), Rect(0, 0, 100, 100));
  O->SetPicture(TPicture());
  EXPECT_TRUE(O->GetPictureRect(&Panel).IsEmpty());
}

TEST(BackgroundOptions, AnInheritedTiledPictureContinuesSeamlesslyInAChild) {
  TOptionsPanel Root;
  Root.resize(120, 90);
  auto* Child = new TOptionsPanel(&Root);
  Child->setGeometry(37, 21, 50, 40);
  Root.BackgroundOptions()->SetPicture(NumberedPicture(16, 11));
  Child->BackgroundOptions()->SetParentPicture(true);
  TBitmap Whole(120, 90, pf32bit), Part(50, 40, pf32bit);
  Root.BackgroundOptions()->DrawPicture(Whole.Canvas(), Rect(0, 0, 120, 90), &Root);
  Child->BackgroundOptions()->DrawPicture(Part.Canvas(), Rect(0, 0, 50, 40), Child);
  int Mismatches = 0;
  for (int Y = 0; Y < 40; ++Y)
    for (int X = 0; X < 50; ++X) Mismatches += Part.Canvas().Pixel(X, Y) != Whole.Canvas().Pixel(X + 37, Y + 21);
  EXPECT_EQ(Mismatches, 0);
  EXPECT_EQ(Whole.Canvas().Pixel(16 + 3, 11 + 2), Whole.Canvas().Pixel(3, 2)) << "the picture repeats";
}

TEST(BackgroundOptions, TilesReachLeftOfAndAboveTheirOrigin) {
  TBitmap Tile(4, 3, pf32bit), Out(10, 10, pf32bit);
  Tile.Canvas().Brush().Color = clRed;
  Tile.Canvas().FillRect(Rect(0, 0, 4, 3));
  Out.Canvas().Brush().Color = clWhite;
  Out.Canvas().FillRect(Rect(0, 0, 10, 10));
  DrawTiles(Out.Canvas(), Tile, 4, 3, Rect(5, 5, 10, 10), Rect(0, 0, 10, 10));
  EXPECT_EQ(Out.Canvas().Pixel(0, 0), clRed);
  EXPECT_EQ(Out.Canvas().Pixel(9, 9), clRed);
}

TEST(BackgroundOptions, EightBitGlassLinesUpAcrossNeighbouringPanels) {
  QWidget Form;
  Form.resize(60, 30);
  auto* Holder = new TOptionsPanel(&Form);
  Holder->setGeometry(3, 5, 40, 20);
  auto* Left = new TOptionsPanel(Holder);
  auto* Right = new TOptionsPanel(Holder);
  Left->setGeometry(0, 0, 13, 10);
  Right->setGeometry(13, 0, 14, 10);
  Holder->BackgroundOptions()->SetGlassColor(clRed);
  Holder->BackgroundOptions()->SetGlassTranslucency(100);
  Left->BackgroundOptions()->SetParentGlass(true);
  Right->BackgroundOptions()->SetParentGlass(true);
  auto White = [](int W, int H) {
    TBitmap B(W, H, pf8bit);
    B.Canvas().Brush().Color = clWhite;
    B.Canvas().FillRect(Rect(0, 0, W, H));
    return B;
  };
  TBitmap Whole = White(27, 10), A = White(13, 10), B = White(14, 10);
  Holder->BackgroundOptions()->DrawGlass(Whole, Rect(0, 0, 27, 10), Holder);
  Left->BackgroundOptions()->DrawGlass(A, Rect(0, 0, 13, 10), Left);
  Right->BackgroundOptions()->DrawGlass(B, Rect(0, 0, 14, 10), Right);
  int Mismatches = 0, Red = 0;
  for (int Y = 0; Y < 10; ++Y)
    for (int X = 0; X < 27; ++X) {
      const TColor Seen = X < 13 ? A.Canvas().Pixel(X, Y) : B.Canvas().Pixel(X - 13, Y);
      Mismatches += Seen != Whole.Canvas().Pixel(X, Y);
      Red += Seen == clRed;
    }
  EXPECT_EQ(Mismatches, 0);
  // Translucency 100 of 255: 25 of 64 cells keep the picture, the other 39 take the glass.
  EXPECT_GT(Red, 0);
  EXPECT_LT(Red, 270);
  EXPECT_EQ(A.Canvas().BrushOrigin(), TPoint{}) << "the canvas is left as it was";
}

TEST(BackgroundOptions, DeepGlassIsTheTintOfTheEffectiveColour) {
  TOptionsPanel Root;
  auto* Child = new TOptionsPanel(&Root);
  Root.BackgroundOptions()->SetGlassColor(clBlue);
  Root.BackgroundOptions()->SetGlassTranslucency(64);
  Child->BackgroundOptions()->SetParentGlass(true);
  TBitmap Got(9, 7, pf32bit), Want(9, 7, pf32bit);
  for (TBitmap* B : {&Got, &Want}) {
    B->Canvas().Brush().Color = static_cast<TColor>(0x336699);
    B->Canvas().FillRect(Rect(0, 0, 9, 7));
  }
  Child->BackgroundOptions()->DrawGlass(Got, Rect(2, 1, 8, 6), Child);
  TintBitmap(Want, nullptr, pf32bit, 64, Rect(2, 1, 8, 6), clBlue);
  for (int Y = 0; Y < 7; ++Y)
    for (int X = 0; X < 9; ++X) ASSERT_EQ(Got.Canvas().Pixel(X, Y), Want.Canvas().Pixel(X, Y)) << X << "," << Y;
  EXPECT_NE(Got.Canvas().Pixel(4, 3), static_cast<TColor>(0x336699));
}

}  // namespace
}  // namespace vte

#include "background_options_test.moc"

#pragma once
// How a container, panel or form paints its surface beyond a plain colour: transparent (what lies
// below shows through), with a picture in one of four placements, with the look of a hidden
// background form, and under a translucent coloured glass. Each of these may be taken from the
// nearest ancestor widget that has options, so one picture or one glass spans nested panels
// seamlessly; the options of a widget tree form a tree of their own (ParentOptions / Children),
// rebuilt by AttachTo whenever an owner is created or moves to another parent.
//
// This file holds the model: the settings with their defaults and setter rules, the effective
// values along the tree, what is in use, and how changes reach the widgets that must repaint.
#include <QObject>
#include <QPointer>
#include <QWidget>
#include <vector>

class QPainter;

#include "container/form.h"
#include "gdi/color.h"
#include "gdi/picture.h"

namespace vte {
inline namespace background_types {
Q_NAMESPACE

enum TFCPictureMode { fcpmCenter, fcpmCenterStretch, fcpmStretch, fcpmTile };
Q_ENUM_NS(TFCPictureMode)

}  // namespace background_types

class TFCBackgroundOptions : public QObject {
  Q_OBJECT
  Q_PROPERTY(bool Opaque READ Opaque WRITE SetOpaque)
  Q_PROPERTY(bool ParentOpaque READ ParentOpaque WRITE SetParentOpaque)
  Q_PROPERTY(bool BkgrndFormVisible READ BkgrndFormVisible WRITE SetBkgrndFormVisible)
  Q_PROPERTY(bool ParentBkgrndForm READ ParentBkgrndForm WRITE SetParentBkgrndForm)
  Q_PROPERTY(bool ParentPicture READ ParentPicture WRITE SetParentPicture)
  Q_PROPERTY(vte::background_types::TFCPictureMode PictureMode READ PictureMode WRITE SetPictureMode)
  Q_PROPERTY(int PictureTranspColor READ PictureTranspColor WRITE SetPictureTranspColor)
  Q_PROPERTY(bool PictureVisible READ PictureVisible WRITE SetPictureVisible)
  Q_PROPERTY(int GlassColor READ GlassColor WRITE SetGlassColor)
  Q_PROPERTY(int GlassTranslucency READ GlassTranslucency WRITE SetGlassTranslucency)
  Q_PROPERTY(bool GlassVisible READ GlassVisible WRITE SetGlassVisible)
  Q_PROPERTY(bool ParentGlass READ ParentGlass WRITE SetParentGlass)

  // The kinds of setting that are inherited along the tree.
  enum TKind { kOpaque, kPicture, kBkgrndForm, kGlass };

public:
  Q_INVOKABLE explicit TFCBackgroundOptions(QObject* Owner = nullptr);
  // Invalidates a living owner that painted through the options; leaves the tree.
  ~TFCBackgroundOptions() override;

  bool Opaque() const { return FOpaque; }
  void SetOpaque(bool V);  // clears ParentOpaque
  bool ParentOpaque() const { return FParentOpaque; }
  void SetParentOpaque(bool V);
  bool BkgrndFormVisible() const { return FBkgrndFormVisible; }
  void SetBkgrndFormVisible(bool V);
  bool ParentBkgrndForm() const { return FParentBkgrndForm; }
  void SetParentBkgrndForm(bool V);  // True frees the own background form
  // The own picture; changing it through this reference propagates like SetPicture.
  TPicture& Picture() { return FPicture; }
  const TPicture& Picture() const { return FPicture; }
  void SetPicture(const TPicture& V);  // a copy; clears ParentPicture
  bool ParentPicture() const { return FParentPicture; }
  void SetParentPicture(bool V);  // True empties the own picture
  TFCPictureMode PictureMode() const { return FPictureMode; }
  void SetPictureMode(TFCPictureMode V);
  TColor PictureTranspColor() const { return FPictureTranspColor; }
  void SetPictureTranspColor(TColor V);
  bool PictureVisible() const { return FPictureVisible; }
  void SetPictureVisible(bool V);
  TColor GlassColor() const { return FGlassColor; }
  void SetGlassColor(TColor V);  // clears ParentGlass
  int GlassTranslucency() const { return FGlassTranslucency; }
  void SetGlassTranslucency(int V);  // 0..255, clamped; clears ParentGlass
  bool GlassVisible() const { return FGlassVisible; }
  void SetGlassVisible(bool V);
  bool ParentGlass() const { return FParentGlass; }
  void SetParentGlass(bool V);

  // The background form (owned), or null. A form class makes a new one for the owner control:
  // borderless, the owner's client size, shown (it lays itself out, its controls are visible to
  // the painting) but never put on the screen. Null frees it. Either way ParentBkgrndForm is
  // cleared.
  TForm* BkgrndForm() const { return FBkgrndForm; }
  void SetBkgrndForm(const QMetaObject* FormClass);

  // The palette of the own picture (8-bit pictures), else empty. The owner carries it for the
  // screen's palette realisation (its "vtePalette" property) while the picture is in use.
  TPalette GetPalette() const;

  // --- the tree ---
  QWidget* OwnerControl() const { return FOwnerControl; }
  TFCBackgroundOptions* ParentOptions() const { return FParentOptions; }
  const std::vector<TFCBackgroundOptions*>& Children() const { return FChildren; }
  // Joins the options of the nearest ancestor of Control that has options, and gathers the
  // options of Control's descendants (those not under other options) as children. From then on
  // the options follow Control: attached again when it changes parent, and PositionChanged when
  // it moves or is resized while the options paint it.
  void AttachTo(QWidget* Control);

  // --- effective values: the options each kind is taken from ---
  bool EffectiveOpaque() const;
  const TFCBackgroundOptions& PictureSource() const { return SourceOf(kPicture); }
  const TFCBackgroundOptions& BkgrndFormSource() const { return SourceOf(kBkgrndForm); }
  const TFCBackgroundOptions& GlassSource() const { return SourceOf(kGlass); }

  // Refreshes the four in-use flags and answers whether the owner paints through the options
  // (false without an owner).
  bool IsActive();
  bool OpaqueInUse() const { return FOpaqueInUse; }
  bool PictureInUse() const { return FPictureInUse; }
  bool BkgrndFormInUse() const { return FBkgrndFormInUse; }
  bool GlassInUse() const { return FGlassInUse; }

  // Where the picture of these options lies, in Painted's client coordinates: placed by the mode
  // over the owner's whole client area (its whole scrollable area when scrolled), so that every
  // control painting an inherited picture shows its own part of one picture. Empty without one.
  TRect GetPictureRect(const QWidget* Painted) const;
  // The effective picture over Rect of Painted's canvas (client coordinates), by its mode. The
  // canvas holds device pixels at the paint scale (render/device_scale.h): the picture is drawn
  // at its logical size.
  void DrawPicture(TCanvas& Canvas, const TRect& Rect, const QWidget* Painted) const;

  // The effective glass over Rect (device units) of Bitmap, which shows Painted with Painted's
  // client point (0, 0) at Origin. On 8-bit bitmaps the glass is a dither pattern laid from the
  // top-left of Painted's form, so that neighbouring controls' glass lines up.
  void DrawGlass(TBitmap& Bitmap, const TRect& Rect, const QWidget* Painted, TPoint Origin = {}) const;

  // Whether painting Rect (content coordinates: client coordinates moved by the scroll position)
  // must start from what lies below the control: it is transparent and no background form or
  // opaque picture (of PictureOptions, the options the picture comes from) covers Rect.
  bool NeedsBackground(const TFCBackgroundOptions& PictureOptions, const TRect& Rect);
  // The owner's painting: Rect of its client area (empty: all of it) onto Painter, which paints
  // the owner's client area. Not active: the owner's colour. Otherwise what lies below, the
  // background form or the colour, then the picture, then the glass, painted into a bitmap of the
  // screen's format and copied once, or straight into a capture that is painting the owner.
  void Paint(QPainter& Painter, const TRect& Rect);

  // Copies the settings in the order that keeps each Parent… flag meaningful.
  void Assign(const TFCBackgroundOptions& Source);
  // The owner moved or scrolled: inherited pictures, background forms and glass depend on it.
  void PositionChanged();

protected:
  bool eventFilter(QObject* Watched, QEvent* Event) override;

private:
  const TFCBackgroundOptions& SourceOf(TKind Kind) const;
  void Propagate(TKind Kind);
  void Changed();
  void Invalidate();
  void Leave();
  void Join(TFCBackgroundOptions* Parent);
  void GatherChildren(QWidget* Control);
  bool FollowsParent(TKind Kind) const;
  void FreeBkgrndForm();
  void PaintContent(TCanvas& Canvas, const TRect& Rect, const TRect& ContentRect, bool OwnBitmap);
  void PaintBelow(TCanvas& Canvas, const TRect& Rect, const TRect& ContentRect);
  void PaintBkgrndForm(TCanvas& Canvas, const TRect& Rect, const TRect& ContentRect);

  QPointer<QWidget> FOwnerControl;
  std::vector<TFCBackgroundOptions*> FChildren;
  TFCBackgroundOptions* FParentOptions = nullptr;
  bool FOpaque = true;
  bool FParentOpaque = false;
  bool FParentPicture = false;
  TPicture FPicture;
  bool FPictureVisible = true;
  TFCPictureMode FPictureMode = fcpmTile;
  TColor FPictureTranspColor = clNone;
  bool FParentBkgrndForm = false;
  QPointer<TForm> FBkgrndForm;
  bool FBkgrndFormVisible = true;
  bool FParentGlass = false;
  TColor FGlassColor = clBlack;
  int FGlassTranslucency = 255;
  bool FGlassVisible = true;
  bool FOpaqueInUse = true;
  bool FBkgrndFormInUse = false;
  bool FGlassInUse = false;
  bool FPictureInUse = false;
};

// Tiles of Graphic (W x H) laid from PicRect's top-left, drawn where they meet Rect, column by
// column, each column top to bottom.
void DrawTiles(TCanvas& Canvas, const TGraphic& Graphic, int W, int H, const TRect& PicRect, const TRect& Rect);

// The options of Control: its "BackgroundOptions" property when it publishes one, else the
// answer of an invokable FCGetBackgroundOptions() on the control or on a component it owns (the
// form-transitions component answers for its form); null when none.
TFCBackgroundOptions* FindBackgroundOptions(QWidget* Control);

}  // namespace vte

#pragma once
// The base of the effects whose frames come from a shape growing in a mask: the subclass says how
// many shape frames a picture needs and paints the shape of a frame (or of a run of frames) on a
// mask's canvas with its current pen and brush; the base owns the masks, the style and substyle in
// force (drawn at random per run for Style or SubStyle 0, kept across the two passes of a run) and
// the two ways of composing a frame:
//   plain     a 1-bit mask: a black pixel lets the new image through. The new image is copied
//             only where the frame changed the mask (for shapes painted whole, the difference
//             with the accumulated mask), straight into the old image;
//   smoothed  (SmoothingLevel 1..6 on a screen of more than 8 bits) an 8-bit mask whose pixels
//             darken frame by frame from TopLevel, when the shape reaches them, down to 0 (the
//             new image), so the shape's edge is a soft gradient; LevelCount - 1 extra frames let
//             the last shape frame fade out. Each frame is mixed from the untouched old and new
//             images by the levels (pixel/mask_work.h, ComposeSmoothed).
// Subclasses publish Style, SubStyle, SmoothingLevel and Reversed as far as they use them.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

#include "engine/timed_transition.h"
#include "gdi/move_bytes.h"

namespace vte {

class TMaskedTransition : public TTimedTransitionEffect {
  Q_OBJECT
  Q_CLASSINFO("EditorClassName", "TMaskedTransitionEditor")

public:
  explicit TMaskedTransition(QObject* Owner = nullptr);
  ~TMaskedTransition() override;

  // 0 draws a style per run; otherwise 1..StyleCount. A new style sets SubStyle to 1 (0 with
  // Style 0); values out of range are ignored.
  int Style() const { return FStyle; }
  void SetStyle(int Value);
  // 0 draws a substyle per run; otherwise 1..GetSubStyleCount(Style); with Style 0 only 0.
  int SubStyle() const { return FSubStyle; }
  void SetSubStyle(int Value);
  int SmoothingLevel() const { return FSmoothingLevel; }
  void SetSmoothingLevel(int Value);  // 0..6; other values are ignored
  int StyleCount() const { return FStyleCount; }

  // The style of the run: Style, or the one drawn for the run (Random(StyleCount) + 1).
  int StyleToUse() const;
  // The substyle of the run: SubStyle or the one drawn for it, mapped by GetReversedSubStyle when
  // ReversedToUse holds. Subclasses make every geometric choice through these two.
  int SubStyleToUse() const;

  virtual int GetSubStyleCount(int Style) const { return Style == 0 ? 0 : 1; }
  // The substyle that plays the same shape backwards.
  virtual int GetReversedSubStyle(int /*Style*/, int SubStyle) const { return SubStyle; }
  // The smoothed path is in force: a level above 0 and a screen of 15 bits a pixel or more. Must
  // not change during a run.
  virtual bool SmoothingActive() const;

  // The grey levels of a smoothing level (1..6): a pixel the shape reaches holds TopLevel, then
  // LevelStep less every frame down to BottomLevel, and 0 a frame later; LevelCount - 1 frames
  // follow the last shape frame.
  struct TLevels {
    int LevelStep = 0, LevelCount = 0, TopLevel = 0, BottomLevel = 0;
    int ExtraFrames() const { return LevelCount - 1; }
  };
  static TLevels Levels(int SmoothingLevel);

  // Copies Style, SubStyle and SmoothingLevel through the setters, so what this class does not
  // offer is dropped.
  void Assign(const TTransitionEffect& Source) override;

  int GetBitmapsWidth(int Width) const override;
  TPixelFormat GetPixelFormat() const override;
  bool RenderWhenClipped() const override { return false; }
  bool NeedWorkBitmap() const override { return true; }
  // The plain path paints over the old image in place; the smoothed path mixes every frame from
  // the untouched old image.
  bool WorkOnOldImage() const override { return !SmoothingActive(); }

  void Initialize(TTETransitionData& Data, int& Frames) override;
  void ExecuteFrame(TTETransitionData& Data, int CurrentFrame, int Step, int TotalFrames,
                    int LastExecutedFrame) override;
  void Finalize(TTETransitionData& Data) override;
  bool DrawsOnRenderTarget() const override { return FOnTarget; }

  // Shape frames of the run in progress.
  int ShapeFrames() const { return FShapeFrames; }

protected:
  // The widest group of pixels the mask routines work a row in (the 1-bit mask difference): the
  // pieces a subclass reports for a frame start and end on its multiples.
  static constexpr int MaskWorkAlign = 32;
  // The same for the smoothed path's routines (ageing, mixing), and the one in force for the run.
  static constexpr int LevelWorkAlign = 8;
  int WorkAlign() const { return FSmooth ? LevelWorkAlign : MaskWorkAlign; }

  void SetStyleCount(int Count) { FStyleCount = Count; }

  // Shape frames for Data's size and the style and substyle in force.
  virtual int CalcShapeFrames(const TTETransitionData& Data) = 0;
  // Sets UpdateRect and UnchangedRect (and may add DirtyRects when Final) for the change from
  // shape frame PrevFrame to CurrentFrame (Step frames); when Draw, paints the shape of that change
  // on Mask's canvas with its current pen and brush.
  virtual void PaintMask(TBitmap& Mask, int CurrentFrame, int Step, int TotalFrames, int PrevFrame,
                         const TTETransitionData& Data, bool Draw, bool Final) = 0;
  // PaintMask paints the whole shape of CurrentFrame, not only its new part.
  virtual bool MaskIsCumulative() const { return false; }
  // The mask's UpdateRect goes back to white after each plain frame.
  virtual bool ClearMaskAfterFrame() const { return false; }
  // The painted shape marks where the old image stays (shrinking shapes).
  virtual bool MaskIsInverted() const { return false; }
  // The smoothed path repaints the shapes whole on one of two alternating masks and ages the
  // levels from the other.
  virtual bool SmoothWithTwoMasks() const { return false; }
  // The shortcut for shapes that know, row by row, which pixels a change turns new. On the plain
  // path those pixels are copied straight from the new image into the frame's bitmap, and no mask
  // is painted, combined or walked (for a thin ring or line that work costs many times the
  // pixels); taken on whole-byte pixel formats, PaintMask still called (Draw false) for the
  // frame's rectangles. On the smoothed path (growing shapes) a level is painted on the pixels a
  // shape frame adds: for shapes painted whole on two masks that is all that counts (the pixels
  // reached before take their aged level from the other mask), for the others it is all they
  // paint anyway.
  struct TNewSpans {
    std::uint8_t* Work = nullptr;
    const std::uint8_t* New = nullptr;  // null: Fill
    std::ptrdiff_t Stride = 0;
    int BytesPerPixel = 0, Width = 0, Height = 0;
    int Fill = 0;  // the byte set where there is no New
    // Pixels [Left, Right) of row Y turn new; clipped to the picture. Copying is idempotent, so
    // spans may overlap.
    [[gnu::always_inline]] void Row(int Y, int Left, int Right) const {
      if (Y < 0 || Y >= Height) return;
      Left = std::max(Left, 0);
      Right = std::min(Right, Width);
      if (Right > Left) Copy(Y, Left, Right);
    }
    // Every row of R, clipped once.
    [[gnu::always_inline]] void Rect(const TRect& R) const {
      const int Left = std::max(R.Left, 0), Right = std::min(R.Right, Width), Bottom = std::min(R.Bottom, Height);
      if (Right > Left)
        for (int Y = std::max(R.Top, 0); Y < Bottom; ++Y) Copy(Y, Left, Right);
    }
    [[gnu::always_inline]] void Copy(int Y, int Left, int Right) const {
      const std::ptrdiff_t At = Y * Stride + std::ptrdiff_t{Left} * BytesPerPixel;
      const std::size_t Bytes = std::size_t(Right - Left) * BytesPerPixel;
      if (!New) {
        if (Bytes <= 16) FillSmallBytes(Work + At, static_cast<std::uint8_t>(Fill), Bytes);
        else std::memset(Work + At, Fill, Bytes);
      } else if (Bytes <= 16) {
        MoveSmallBytes(Work + At, New + At, Bytes);
      } else {
        std::memcpy(Work + At, New + At, Bytes);
      }
    }
  };
  // Must not change during a run.
  virtual bool RevealsBySpans() const { return false; }
  // Every pixel the change from shape frame PrevFrame to CurrentFrame (Step frames) turns new,
  // as row spans: the same pixels the plain path's mask would let through in that frame.
  virtual void RevealSpans(const TNewSpans& /*Spans*/, int /*CurrentFrame*/, int /*Step*/, int /*PrevFrame*/,
                           const TTETransitionData& /*Data*/) {}
  // The bitmap a frame is composed in: the render target itself where it holds the looks' rows
  // (a frame changes only its pieces, over what the frame before left), else the work bitmap.
  TBitmap& FrameWork(const TTETransitionData& Data) const {
    return FOnTarget ? *Data.RenderCanvas->Bitmap() : *Data.WorkBitmap;
  }

private:
  // Where a frame's routines work: UpdateRect minus UnchangedRect, or each dirty rectangle when
  // there are two or more.
  template <class F> void ForEachRegion(F&& Work) const;
  void ApplyMask(TTETransitionData& Data, int CurrentFrame, int Step, int PrevFrame, int TotalFrames,
                 TBitmap& Mask, TBitmap* AccumMask, bool PaintOnly, bool Draw, bool Final);
  // Paints shape frames Frame - Count + 1 .. Frame in grey Level on the smoothed mask.
  void PaintLevel(TTETransitionData& Data, int Level, int Frame, int Count);
  void SmoothFrame(TTETransitionData& Data, int CurrentFrame, int Step, int PrevFrame);
  void RevealFrame(TTETransitionData& Data, int CurrentFrame, int Step, int PrevFrame, int TotalFrames);
  // UpdateRect and UnchangedRect clipped to Whole.
  void ClipFrameRects(const TRect& Whole);
  std::unique_ptr<TBitmap> NewMask(const TTETransitionData& Data, bool Smooth) const;

  int FStyle = 1;
  int FSubStyle = 1;
  int FSmoothingLevel = 0;
  int FStyleCount = 1;
  // Drawn for the current run when Style or SubStyle is 0 (0: not drawn yet).
  mutable int FRandomStyle = 0;
  mutable int FRandomSubStyle = 0;

  // Per run.
  std::unique_ptr<TBitmap> FMask, FAccumMask, FSmoothMask, FSmoothMask2;
  int FShapeFrames = 0;
  bool FSmooth = false;
  bool FOnTarget = false;
  bool FBySpans = false, FLevelsBySpans = false;
  TLevels FLevels;
};

}  // namespace vte

#pragma once
// The picture is cut into a grid of blocks (BlockWidth x BlockHeight pixels, or Cols x Rows of
// them; setting one of a pair clears the other) and the new image replaces them one block a
// frame. Styles:
//   1  random order (the program-wide generator: a seeded run repeats);
//   2  lines: rows from the top (1) or the bottom (3), columns from the left (5) or the right (7),
//      each of them backwards as the next even substyle;
//   3  snake by rows (1) or by columns (3), backwards as 2 and 4;
//   4  spiral inwards from the top-left clockwise (1) or from the top-right counter-clockwise
//      (3), outwards as 2 and 4.
// Dual takes the blocks from both ends of the order at once (not for style 1); a backwards
// substyle with Dual shows the forward one. Puzzle makes the blocks jigsaw pieces: pieces whose
// row + column is even carry knobs at the top and bottom and notches at the sides, the others the
// other way round, so that every knob fills its neighbour's notch. Always the plain 1-bit path.
#include <array>
#include <memory>
#include <vector>

#include "effects/masked_transition.h"

namespace vte {

class TBlockTransition : public TMaskedTransition {
  Q_OBJECT
  Q_CLASSINFO("Description", "Blocks")
  Q_CLASSINFO("EditorClassName", "TBlockTransitionEditor")
  Q_PROPERTY(int BlockWidth READ BlockWidth WRITE SetBlockWidth)
  Q_PROPERTY(int BlockHeight READ BlockHeight WRITE SetBlockHeight)
  Q_PROPERTY(int Cols READ Cols WRITE SetCols)
  Q_PROPERTY(int Rows READ Rows WRITE SetRows)
  Q_PROPERTY(bool Dual READ Dual WRITE SetDual)
  Q_PROPERTY(bool Puzzle READ Puzzle WRITE SetPuzzle)
  Q_PROPERTY(bool Reversed READ Reversed WRITE SetReversed)
  Q_PROPERTY(int Style READ Style WRITE SetStyle)
  Q_PROPERTY(int SubStyle READ SubStyle WRITE SetSubStyle)

public:
  Q_INVOKABLE explicit TBlockTransition(QObject* Owner = nullptr);
  ~TBlockTransition() override;

  // Block size in pixels (0 while Cols/Rows is in force); a value <= 0 stores 1 and clears Cols
  // (Rows).
  int BlockWidth() const { return FBlockWidth; }
  void SetBlockWidth(int Value);
  int BlockHeight() const { return FBlockHeight; }
  void SetBlockHeight(int Value);
  // Number of block columns/rows (0 while BlockWidth/BlockHeight is in force); a value <= 0
  // stores 1 and clears BlockWidth (BlockHeight).
  int Cols() const { return FCols; }
  void SetCols(int Value);
  int Rows() const { return FRows; }
  void SetRows(int Value);
  bool Dual() const { return FDual; }
  void SetDual(bool Value) { FDual = Value; }
  bool Puzzle() const { return FPuzzle; }
  void SetPuzzle(bool Value) { FPuzzle = Value; }

  int GetSubStyleCount(int Style) const override;
  int GetReversedSubStyle(int Style, int SubStyle) const override;
  bool SmoothingActive() const override { return false; }
  void Assign(const TTransitionEffect& Source) override;

  void Initialize(TTETransitionData& Data, int& Frames) override;
  // Blocks of one pixel are copied straight from the new image, the next ones' pixels fetched
  // ahead; other blocks take the base's way.
  void ExecuteFrame(TTETransitionData& Data, int CurrentFrame, int Step, int TotalFrames,
                    int LastExecutedFrame) override;
  void Finalize(TTETransitionData& Data) override;

  // The run's grid and geometry, valid from Initialize to Finalize. Rows and columns count from 1.
  int GridCols() const { return FGridCols; }
  int GridRows() const { return FGridRows; }
  int KnobSize() const { return FKnobSize; }
  // The block of index 1..GridCols x GridRows in the run's order.
  TPoint BlockAt(int Index) const;  // X = Col, Y = Row
  TRect BlockRect(int Row, int Col, bool WithKnobs) const;
  // Paints one block (a jigsaw piece with Puzzle) black on a white 1-bit mask of the area.
  void PaintBlock(TBitmap& Mask, int Row, int Col) const;

protected:
  int CalcShapeFrames(const TTETransitionData& Data) override;
  void PaintMask(TBitmap& Mask, int CurrentFrame, int Step, int TotalFrames, int PrevFrame,
                 const TTETransitionData& Data, bool Draw, bool Final) override;
  // Each frame composes only its own blocks.
  bool ClearMaskAfterFrame() const override { return true; }
  // Each block's rows are copied (a jigsaw piece's from the spans of its outline) instead of
  // composing through the mask.
  bool RevealsBySpans() const override { return true; }
  void RevealSpans(const TNewSpans& Spans, int CurrentFrame, int Step, int PrevFrame,
                   const TTETransitionData& Data) override;

private:
  // Blocks Cur - Step + 1 .. Cur of the order (twice as many with Dual): UpdateRect := their
  // union with knobs, each a dirty rectangle when Final and there are not too many; Paint(Row,
  // Col) for each.
  template <class F> void ForEachBlock(int Cur, int Step, bool Final, F&& Paint);
  TPoint LineOrder(int S, int I) const;  // styles 2 and 3, forward substyles
  // The jigsaw piece of a block: its bitmap's index in FPieces and where that bitmap goes.
  struct TPiecePlace {
    std::size_t Index;
    TPoint At;
  };
  TPiecePlace PiecePlace(int Row, int Col) const;
  // The strips that close a notch on the picture's edge, where no knob fills it: Count of them.
  struct TEdgeStrips {
    int Count = 0;
    TRect Strips[2];
  };
  TEdgeStrips EdgeStrips(int Row, int Col) const;
  void BuildOrder(int Style, int S);
  void BuildPieces();

  int FBlockWidth = 50, FBlockHeight = 50, FCols = 0, FRows = 0;
  bool FDual = false, FPuzzle = false;

  // Per run.
  int FW = 0, FH = 0, FGridCols = 1, FGridRows = 1, FKnobSize = 0, FStyle = 1, FSubStyle = 1;
  bool FPixelBlocks = false;
  std::vector<TPoint> FOrder;  // styles 1 and 4
  // Jigsaw pieces by kind (0: knobs at the top and bottom, 1: at the sides) and body size (the
  // two widths and two heights rounded blocks have).
  std::array<std::unique_ptr<TBitmap>, 8> FPieces;
  // The black pixels of each piece bitmap, as row spans in its coordinates.
  std::array<std::vector<TRect>, 8> FPieceSpans;
  int FBaseW = 0, FBaseH = 0;
};

}  // namespace vte

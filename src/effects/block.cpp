#include "effects/block.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "gdi/canvas.h"
#include "gdi/random.h"
#include "gdi/raster_op.h"
#include "render/device.h"

namespace vte {

namespace {

// Pieces narrower than this leave no room for knobs.
constexpr int MinPieceSize = 15;
// Above this many blocks a frame's dirty rectangles cost more than one copy of their union.
constexpr int MaxDirtyBlocks = 650;
// How many blocks ahead of a frame the pixels of a random order of single pixels are fetched: as
// many as a memory access takes frames to come back.
constexpr int PrefetchAhead = 16;

// Nearest, halves to even (the default rounding mode).
int RoundEven(double V) { return static_cast<int>(std::nearbyint(V)); }

int GridSize(int Count, int BlockSize, int Length, bool Puzzle) {
  int N = Count != 0 ? Count : RoundEven(static_cast<double>(Length) / std::max(BlockSize, 1));
  N = std::max(N, 1);
  if (Puzzle && Length / N < MinPieceSize) N = std::max(Length / MinPieceSize, 1);
  return std::min(N, std::max(Length, 1));
}

}  // namespace

TBlockTransition::TBlockTransition(QObject* Owner) : TMaskedTransition(Owner) { SetStyleCount(4); }

TBlockTransition::~TBlockTransition() = default;

void TBlockTransition::SetBlockWidth(int Value) {
  if (Value == FBlockWidth) return;
  FBlockWidth = Value <= 0 ? 1 : Value;
  FCols = 0;
}

void TBlockTransition::SetBlockHeight(int Value) {
  if (Value == FBlockHeight) return;
  FBlockHeight = Value <= 0 ? 1 : Value;
  FRows = 0;
}

void TBlockTransition::SetCols(int Value) {
  if (Value == FCols) return;
  FCols = Value <= 0 ? 1 : Value;
  FBlockWidth = 0;
}

void TBlockTransition::SetRows(int Value) {
  if (Value == FRows) return;
  FRows = Value <= 0 ? 1 : Value;
  FBlockHeight = 0;
}

int TBlockTransition::GetSubStyleCount(int Style) const {
  return Style == 0 ? 0 : Style == 2 ? 8 : Style == 3 || Style == 4 ? 4 : 1;
}

int TBlockTransition::GetReversedSubStyle(int Style, int S) const {
  if (Style < 2 || Style > 4 || S < 1 || S > GetSubStyleCount(Style)) return S;
  return S % 2 ? S + 1 : S - 1;
}

void TBlockTransition::Assign(const TTransitionEffect& Source) {
  TMaskedTransition::Assign(Source);
  if (const auto* Other = qobject_cast<const TBlockTransition*>(&Source)) {
    FPuzzle = Other->FPuzzle;
    FDual = Other->FDual;
    if (Other->FRows != 0) SetRows(Other->FRows);
    else SetBlockHeight(Other->FBlockHeight);
    if (Other->FCols != 0) SetCols(Other->FCols);
    else SetBlockWidth(Other->FBlockWidth);
  }
}

int TBlockTransition::CalcShapeFrames(const TTETransitionData& /*Data*/) {
  const int T = FGridCols * FGridRows;
  return FDual && StyleToUse() != 1 ? (T + 1) / 2 : T;
}

void TBlockTransition::Initialize(TTETransitionData& Data, int& Frames) {
  FW = Data.Width;
  FH = Data.Height;
  FGridCols = GridSize(FCols, FBlockWidth, FW, FPuzzle);
  FGridRows = GridSize(FRows, FBlockHeight, FH, FPuzzle);
  TMaskedTransition::Initialize(Data, Frames);
  FStyle = StyleToUse();
  FSubStyle = SubStyleToUse();
  FPixelBlocks = FGridCols == FW && FGridRows == FH;
  BuildOrder(FStyle, FSubStyle);
  FKnobSize = 0;
  if (FPuzzle && !FPixelBlocks) BuildPieces();
  DirtyRects->ClipToBounds = true;
}

void TBlockTransition::Finalize(TTETransitionData& Data) {
  for (auto& P : FPieces) P.reset();
  FOrder.clear();
  FOrder.shrink_to_fit();
  TMaskedTransition::Finalize(Data);
}

void TBlockTransition::BuildOrder(int Style, int S) {
  FOrder.clear();
  const int T = FGridCols * FGridRows;
  if (Style == 1) {
    FOrder.reserve(static_cast<std::size_t>(T));
    for (int R = 1; R <= FGridRows; ++R)
      for (int C = 1; C <= FGridCols; ++C) FOrder.push_back({C, R});
    // The program-wide generator, not reseeded: a seeded run shows the same order again.
    for (int P = 0; P < T; ++P) std::swap(FOrder[static_cast<std::size_t>(P)], FOrder[static_cast<std::size_t>(Random(T))]);
    return;
  }
  if (Style != 4) return;
  // The spiral inwards: walk along the box, turn where the next block would leave it and shrink
  // the box by the row or column just finished.
  const bool Clockwise = S <= 2;
  int Left = 1, Right = FGridCols, Top = 1, Bottom = FGridRows;
  TPoint P{Clockwise ? 1 : FGridCols, 1};
  // Directions in turning order: clockwise right, down, left, up; counter-clockwise left, down,
  // right, up.
  const TPoint Moves[4] = {{Clockwise ? 1 : -1, 0}, {0, 1}, {Clockwise ? -1 : 1, 0}, {0, -1}};
  int D = 0;
  FOrder.reserve(static_cast<std::size_t>(T));
  for (int N = 0; N < T; ++N) {
    FOrder.push_back(P);
    if (N + 1 == T) break;
    for (int Turns = 0; Turns < 4; ++Turns) {
      const TPoint Next{P.X + Moves[D].X, P.Y + Moves[D].Y};
      if (Next.X >= Left && Next.X <= Right && Next.Y >= Top && Next.Y <= Bottom) {
        P = Next;
        break;
      }
      // The line along D is finished.
      if (Moves[D].Y == 0 && P.Y == Top) ++Top;
      else if (Moves[D].Y == 0) --Bottom;
      else if (Moves[D].X == 0 && P.X == Right) --Right;
      else ++Left;
      D = (D + 1) % 4;
    }
  }
}

TPoint TBlockTransition::LineOrder(int S, int I) const {
  const int GC = FGridCols, GR = FGridRows, K = I - 1;
  switch (S) {
    case 1: return {K % GC + 1, K / GC + 1};
    case 3: return {K % GC + 1, GR - K / GC};
    case 5: return {K / GR + 1, K % GR + 1};
    case 7: return {GC - K / GR, K % GR + 1};
    case 11: {  // snake by rows
      const int R = K / GC + 1, C = K % GC;
      return {R % 2 ? C + 1 : GC - C, R};
    }
    default: {  // 13: snake by columns
      const int C = K / GR + 1, R = K % GR;
      return {C, C % 2 ? R + 1 : GR - R};
    }
  }
}

TPoint TBlockTransition::BlockAt(int I) const {
  const int T = FGridCols * FGridRows;
  if (FStyle == 1) return FOrder[static_cast<std::size_t>(I - 1)];
  // Dual alternates between the start and the end of the order.
  if (FDual) I = I % 2 ? I / 2 + 1 : T - I / 2 + 1;
  // Even substyles play the odd ones backwards; with Dual both ends come anyway.
  const bool Backwards = FSubStyle % 2 == 0;
  const int Forward = Backwards ? FSubStyle - 1 : FSubStyle;
  if (Backwards && !FDual) I = T - I + 1;
  if (FStyle == 4) return FOrder[static_cast<std::size_t>(I - 1)];
  return LineOrder(FStyle == 3 ? Forward + 10 : Forward, I);
}

TRect TBlockTransition::BlockRect(int Row, int Col, bool WithKnobs) const {
  // A block a pixel, two million frames a run: no rounding of cell edges.
  if (FPixelBlocks) return Rect(Col - 1, Row - 1, Col, Row);
  const double CW = static_cast<double>(FW) / FGridCols, CH = static_cast<double>(FH) / FGridRows;
  TRect R = Rect(Col == 1 ? 0 : RoundEven(CW * (Col - 1)), Row == 1 ? 0 : RoundEven(CH * (Row - 1)),
                 Col == FGridCols ? FW : RoundEven(CW * Col), Row == FGridRows ? FH : RoundEven(CH * Row));
  if (WithKnobs && FKnobSize > 0) {
    if ((Row + Col) % 2) {
      R.Left = std::max(R.Left - FKnobSize, 0);
      R.Right = std::min(R.Right + FKnobSize, FW);
    } else {
      R.Top = std::max(R.Top - FKnobSize, 0);
      R.Bottom = std::min(R.Bottom + FKnobSize, FH);
    }
  }
  return R;
}

// A piece is drawn on white: its body black; on each knob side a black circle of diameter K
// centred on the side's middle, half outside the body, and the half of its square that touches
// the body; on each of the other two sides a white circle the same way, half inside the body,
// and the outer half of its square (the notch). A knob's circle is its neighbour's notch's.
void TBlockTransition::BuildPieces() {
  const int PieceSize = std::min(FH / FGridRows, FW / FGridCols), K = RoundEven(PieceSize / 3.5);
  FKnobSize = K;
  FBaseW = FW / FGridCols;
  FBaseH = FH / FGridRows;
  if (K <= 0) return;
  for (int Kind = 0; Kind < 2; ++Kind)
    for (int V = 0; V < 4; ++V) {
      const int PW = FBaseW + V / 2, PH = FBaseH + V % 2;
      const bool Sides = Kind == 1;  // knobs at the left and right
      auto P = std::make_unique<TBitmap>();
      SetupBitmap(*P, nullptr, PW + (Sides ? 2 * K : 0), PH + (Sides ? 0 : 2 * K), pf1bit);
      TCanvas& C = P->Canvas();
      C.Brush().Color = C.Pen().Color = clWhite;
      C.FillRect(Rect(0, 0, P->Width(), P->Height()));
      const TRect Body = Sides ? Rect(K, 0, K + PW, PH) : Rect(0, K, PW, K + PH);
      C.Brush().Color = C.Pen().Color = clBlack;
      C.FillRect(Body);
      const int MX = (Body.Left + Body.Right) / 2, MY = (Body.Top + Body.Bottom) / 2;
      const auto Circle = [&](int X, int Y) { return Rect(X - K / 2, Y - K / 2, X - K / 2 + K, Y - K / 2 + K); };
      // Circles on the sides across X (left and right), then across Y (top and bottom).
      for (int Across = 0; Across < 2; ++Across) {
        const bool Knobs = (Across == 0) == Sides;
        C.Brush().Color = C.Pen().Color = Knobs ? clBlack : clWhite;
        for (int End = 0; End < 2; ++End) {
          const TRect Sq = Across == 0 ? Circle(End ? Body.Right : Body.Left, MY)
                                       : Circle(MX, End ? Body.Bottom : Body.Top);
          C.Ellipse(Sq);
          // The half square inside the body for a knob, outside it for a notch.
          const bool Inner = Knobs;
          const bool Low = (End == 0) == Inner;  // the half towards larger coordinates
          if (Across == 0) {
            const int Mid = End ? Body.Right : Body.Left;
            C.FillRect(Low ? Rect(Mid, Sq.Top, Sq.Right, Sq.Bottom) : Rect(Sq.Left, Sq.Top, Mid, Sq.Bottom));
          } else {
            const int Mid = End ? Body.Bottom : Body.Top;
            C.FillRect(Low ? Rect(Sq.Left, Mid, Sq.Right, Sq.Bottom) : Rect(Sq.Left, Sq.Top, Sq.Right, Mid));
          }
        }
      }
      // The piece's black runs, row by row: what a frame copies for it.
      std::vector<TRect>& Runs = FPieceSpans[static_cast<std::size_t>(Kind * 4 + V)];
      Runs.clear();
      for (int Y = 0; Y < P->Height(); ++Y)
        for (int X = 0; X < P->Width();) {
          if (ReadPixel(P->ScanLine(Y), X, pf1bit) != 0) {
            ++X;
            continue;
          }
          const int From = X;
          while (X < P->Width() && ReadPixel(P->ScanLine(Y), X, pf1bit) == 0) ++X;
          Runs.push_back(Rect(From, Y, X, Y + 1));
        }
      FPieces[static_cast<std::size_t>(Kind * 4 + V)] = std::move(P);
    }
}

void TBlockTransition::PaintBlock(TBitmap& Mask, int Row, int Col) const {
  const TRect B = BlockRect(Row, Col, false);
  if (FPixelBlocks) {
    // One pixel: its bit cleared straight in the 1-bit mask.
    Mask.ScanLine(Row - 1)[(Col - 1) >> 3] &= static_cast<std::uint8_t>(~(0x80u >> ((Col - 1) & 7)));
    return;
  }
  TCanvas& C = Mask.Canvas();
  if (FKnobSize <= 0) {
    C.FillRect(B);
    return;
  }
  const TPiecePlace P = PiecePlace(Row, Col);
  TBitmap& Piece = *FPieces[P.Index];
  C.BitBlt(P.At.X, P.At.Y, Piece.Width(), Piece.Height(), Piece.Canvas(), 0, 0, SRCAND);
  const TEdgeStrips E = EdgeStrips(Row, Col);
  for (int I = 0; I < E.Count; ++I) C.FillRect(E.Strips[I]);
}

TBlockTransition::TPiecePlace TBlockTransition::PiecePlace(int Row, int Col) const {
  const TRect B = BlockRect(Row, Col, false);
  const bool Sides = (Row + Col) % 2 == 1;
  const int V = (B.Width() - FBaseW) * 2 + (B.Height() - FBaseH);
  return {static_cast<std::size_t>((Sides ? 4 : 0) + V),
          Sides ? Point(B.Left - FKnobSize, B.Top) : Point(B.Left, B.Top - FKnobSize)};
}

TBlockTransition::TEdgeStrips TBlockTransition::EdgeStrips(int Row, int Col) const {
  const TRect B = BlockRect(Row, Col, false);
  const bool Sides = (Row + Col) % 2 == 1;
  TEdgeStrips E;
  const auto Add = [&](const TRect& R) { E.Strips[E.Count++] = R; };
  if (Sides && Row == 1) Add(Rect(B.Left, 0, B.Right, FKnobSize));
  if (Sides && Row == FGridRows) Add(Rect(B.Left, FH - FKnobSize, B.Right, FH));
  if (!Sides && Col == 1) Add(Rect(0, B.Top, FKnobSize, B.Bottom));
  if (!Sides && Col == FGridCols) Add(Rect(FW - FKnobSize, B.Top, FW, B.Bottom));
  return E;
}

void TBlockTransition::RevealSpans(const TNewSpans& Spans, int Cur, int Step, int /*Prev*/,
                                   const TTETransitionData& /*Data*/) {
  ForEachBlock(Cur, Step, false, [&](int Row, int Col) {
    if (FKnobSize <= 0) return Spans.Rect(BlockRect(Row, Col, false));
    const TPiecePlace P = PiecePlace(Row, Col);
    for (TRect R : FPieceSpans[P.Index]) {
      OffsetRect(R, P.At.X, P.At.Y);
      Spans.Rect(R);
    }
    const TEdgeStrips E = EdgeStrips(Row, Col);
    for (int I = 0; I < E.Count; ++I) Spans.Rect(E.Strips[I]);
  });
}

template <class F> void TBlockTransition::ForEachBlock(int Cur, int Step, bool Final, F&& Paint) {
  const int T = FGridCols * FGridRows;
  UpdateRect = TRect{};
  UnchangedRect = TRect{};
  if (FDual && FStyle != 1) {
    Cur *= 2;
    Step *= 2;
  }
  const bool AddDirty = Final && Step <= MaxDirtyBlocks;
  for (int I = std::max(Cur - Step + 1, 1); I <= std::min(Cur, T); ++I) {
    const TPoint B = BlockAt(I);
    const TRect R = BlockRect(B.Y, B.X, true);
    UnionRect(UpdateRect, UpdateRect, R);
    Paint(B.Y, B.X);
    if (AddDirty) DirtyRects->Add(R);
  }
}

void TBlockTransition::PaintMask(TBitmap& Mask, int Cur, int Step, int /*TotalFrames*/, int /*Prev*/,
                                 const TTETransitionData& /*Data*/, bool Draw, bool Final) {
  Mask.Canvas().Brush().Color = clBlack;
  ForEachBlock(Cur, Step, Final, [&](int Row, int Col) {
    if (Draw) PaintBlock(Mask, Row, Col);
  });
}

void TBlockTransition::ExecuteFrame(TTETransitionData& Data, int CurrentFrame, int Step, int TotalFrames,
                                    int LastExecutedFrame) {
  TBitmap& Work = FrameWork(Data);
  TBitmap& New = *Data.DstBmp;
  // Blocks of one pixel by the thousand: each a copy of its bytes, without even the base's set-up
  // per frame. Formats of whole bytes a pixel only, the same in both bitmaps; everything else
  // takes the base's way (row spans, or the mask).
  const int Bytes = PixelFormatStorageBits(Data.PixelFormat) / 8;
  if (!FPixelBlocks || FPuzzle || Bytes < 1 || Work.PixelFormat() != Data.PixelFormat ||
      New.PixelFormat() != Data.PixelFormat) {
    TMaskedTransition::ExecuteFrame(Data, CurrentFrame, Step, TotalFrames, LastExecutedFrame);
    return;
  }
  // Only the abort check of the frame loop; the mask stays white.
  TTimedTransitionEffect::ExecuteFrame(Data, CurrentFrame, Step, TotalFrames, LastExecutedFrame);
  ForEachBlock(CurrentFrame, Step, true, [&](int Row, int Col) {
    const std::size_t At = static_cast<std::size_t>(Col - 1) * Bytes;
    std::memcpy(Work.ScanLine(Row - 1) + At, New.ScanLine(Row - 1) + At, static_cast<std::size_t>(Bytes));
  });
  // A random order jumps across the whole picture, so every pixel misses the cache in both
  // bitmaps. The pixels of the frames ahead are known: they are fetched while the frames between
  // run.
  if (FStyle == 1) {
    const int Last = std::min(CurrentFrame + PrefetchAhead, FGridCols * FGridRows);
    for (int I = std::max(CurrentFrame + PrefetchAhead - Step + 1, CurrentFrame + 1); I <= Last; ++I) {
      const TPoint B = BlockAt(I);
      const std::size_t At = static_cast<std::size_t>(B.X - 1) * Bytes;
      __builtin_prefetch(New.ScanLine(B.Y - 1) + At);
      __builtin_prefetch(Work.ScanLine(B.Y - 1) + At, 1);
    }
  }
}

}  // namespace vte

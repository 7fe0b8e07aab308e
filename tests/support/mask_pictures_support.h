#pragma once
// Grey 8-bit masks made on the spot for the bitmap-mask transition (nothing binary is kept in the
// repository): a twirl (levels turning around the centre, the turn growing outwards) and a wiper
// (a hand sweeping from the left around the middle of the bottom edge to the right). Both are
// pf8bit with the grey palette and use the whole range of levels.
#include "gdi/bitmap.h"

namespace vte::test {

TBitmap TwirlMask(int Width, int Height);
TBitmap WiperMask(int Width, int Height);

// A picture of Width x Height pf32bit, drawn with Qt: a sky-to-ground gradient with a sun, hills
// and a caption (Variant 0), or a brick wall with a window and a caption (Variant 1). Large
// shapes and sharp edges, so that the frames of an effect can be judged by eye.
TBitmap ScenePicture(int Width, int Height, int Variant);

}  // namespace vte::test

#pragma once
// The demonstration's data files, made from code: tileable textures, the logo and box pictures,
// the two grey masks of the bitmap-mask transitions and the welcome chime. Each maker is pure (the
// same bytes every build), so the pictures the tests and screenshots see never drift.
#include <QByteArray>
#include <QImage>

namespace vte::demo::data {

// Tileable 256 × 256 textures: the right edge continues into the left, the bottom into the top.
QImage StoneTexture();
QImage WoodTexture();
QImage StrokesTexture();
QImage WallTexture();
// A soft vertical gradient, tiled across the navigator.
QImage GradientPicture();

// The logo picture the background form centres, the product box of the about box and the wizard,
// and the small envelope of the contact entry.
QImage LogoPicture();
QImage BoxPicture();
QImage ContactPicture();

// 8-bit grey masks (Indexed8 with a grey palette): a three-armed twirl from the centre, and a
// wiper sweeping from the left about the middle of the bottom edge.
QImage TwirlMask();
QImage WiperMask();

// A short bell chime: a RIFF WAVE file, 16-bit mono PCM.
QByteArray WelcomeChime();

}  // namespace vte::demo::data

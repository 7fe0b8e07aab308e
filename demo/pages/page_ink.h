#pragma once
// The colour of the text pages' words. A page's background is whatever style the navigator has:
// light glass over a texture, or the gradient without glass, dark at the top and light further
// down. Each label takes dark ink over a light background and white ink over a dark one, judged
// from the background actually behind it. (No shadow effect for a halo: a widget drawn through a
// graphics effect does not paint into the looks a transition captures, so the words would only
// appear after the transition.)
class QImage;
class QLabel;
class QRect;

namespace vte {
class TFCEmbeddedForm;
}

namespace vte::demo {

// Gives Label the ink for a background of mean luminance Luminance (0..1).
void SetInk(QLabel* Label, double Luminance);
// The mean luminance (0..1) of Area of Picture, sampled on a grid.
double MeanLuminance(const QImage& Picture, const QRect& Area);
// Paints the page's background (its own options, with what they inherit) and gives every label
// on the page the ink that reads on the part behind it. Pages call it when they are shown: the
// navigator has set their glass by then.
void FitInkToBackground(TFCEmbeddedForm* Page);

}  // namespace vte::demo

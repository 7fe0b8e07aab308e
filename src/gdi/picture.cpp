#include "gdi/picture.h"

#include <stdexcept>

namespace vte {

TBitmap& TPicture::Bitmap() {
  if (!FBitmap) FBitmap = std::make_unique<TBitmap>();
  return *FBitmap;
}

void TPicture::Assign(const TPicture& Source) {
  if (&Source == this) return;
  SetBitmap(Source.FBitmap.get());
}

void TPicture::SetBitmap(const TBitmap* Source) {
  if (Source) FBitmap = std::make_unique<TBitmap>(*Source);
  else FBitmap.reset();
  Changed();
}

void TPicture::Clear() {
  FBitmap.reset();
  Changed();
}

void TPicture::LoadFromFile(const QString& FileName) {
  auto Loaded = std::make_unique<TBitmap>();
  Loaded->LoadFromFile(FileName);
  FBitmap = std::move(Loaded);
  Changed();
}

void TPicture::SaveToFile(const QString& FileName) const {
  if (!FBitmap) throw std::runtime_error("Cannot save an empty picture to '" + FileName.toStdString() + "'");
  FBitmap->SaveToFile(FileName);
}

void TPicture::Changed() {
  if (OnChange) OnChange(*this);
}

}  // namespace vte

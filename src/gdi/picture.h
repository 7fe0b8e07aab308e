#pragma once
// A picture property: holds a graphic (a bitmap here, whatever file it came from), can be empty,
// loads from a file and is copied by Assign. Owners are told of changes through OnChange.
#include <QString>
#include <functional>
#include <memory>

#include "gdi/bitmap.h"

namespace vte {

class TPicture {
public:
  TPicture() = default;
  TPicture(const TPicture& Other) { Assign(Other); }
  TPicture& operator=(const TPicture& Other) {
    Assign(Other);
    return *this;
  }

  // Null when empty.
  const TGraphic* Graphic() const { return FBitmap.get(); }
  // The picture as a bitmap, created (empty) on first use.
  TBitmap& Bitmap();
  bool Empty() const { return !FBitmap || FBitmap->Empty(); }
  int Width() const { return FBitmap ? FBitmap->Width() : 0; }
  int Height() const { return FBitmap ? FBitmap->Height() : 0; }

  void Assign(const TPicture& Source);
  void SetBitmap(const TBitmap* Source);  // a copy; nullptr clears
  void Clear();
  // Raises std::runtime_error naming the file; the picture keeps what it had on failure.
  void LoadFromFile(const QString& FileName);
  void SaveToFile(const QString& FileName) const;

  std::function<void(TPicture&)> OnChange;

private:
  void Changed();
  std::unique_ptr<TBitmap> FBitmap;
};

}  // namespace vte

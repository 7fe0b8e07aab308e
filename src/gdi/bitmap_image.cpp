#include "gdi/bitmap.h"

#include <stdexcept>

namespace vte {

QImage TBitmap::View() { return {}; }
QImage TBitmap::ToQImage() const { return {}; }
TBitmap TBitmap::FromQImage(const QImage&) { throw std::logic_error("FromQImage: not built yet"); }
void TBitmap::LoadFromFile(const QString&) { throw std::logic_error("LoadFromFile: not built yet"); }
void TBitmap::SaveToFile(const QString&) const { throw std::logic_error("SaveToFile: not built yet"); }

}  // namespace vte

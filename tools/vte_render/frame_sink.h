#pragma once
// Where vte-render's frames go: numbered PNG files, or raw BGRA or YUV4MPEG2 on standard output.
// A sink that fails, or is discarded, leaves no file behind.
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

#include "gdi/bitmap.h"
#include "vte_render/render_options.h"

namespace vte {

class TFrameSink {
public:
  static std::unique_ptr<TFrameSink> Make(const TRenderOptions& Options, int Width, int Height);
  virtual ~TFrameSink() = default;
  // The next frame (Width x Height, any pixel format); std::runtime_error when it cannot be written.
  virtual void Write(const TBitmap& Frame) = 0;
  // The run failed: what was written goes again (files are removed; a stream cannot be taken back).
  virtual void Discard() {}

protected:
  // Frame's pixels as 32-bit BGRX rows of exactly Width * 4 bytes.
  const std::uint8_t* Rows(const TBitmap& Frame);

private:
  TBitmap FDeep;  // a 32-bit copy of frames in other formats
};

}  // namespace vte

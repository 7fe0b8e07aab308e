#include "vte_render/frame_sink.h"

#include <QFile>
#include <QImage>
#include <QSaveFile>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <stdexcept>

#include "pixel/blend_work.h"

namespace vte {

namespace {

// Each file is written whole under a temporary name and then renamed: an interrupted write leaves
// no half picture.
class TPngSink : public TFrameSink {
public:
  explicit TPngSink(QString Pattern) : FPattern(std::move(Pattern)) {}
  ~TPngSink() override = default;
  void Write(const TBitmap& Frame) override {
    const QString Name = QString(FPattern).replace(QLatin1String("%05d"), QStringLiteral("%1").arg(FCount++, 5, 10, QLatin1Char('0')));
    QSaveFile File(Name);
    const QImage Image(Rows(Frame), Frame.Width(), Frame.Height(), Frame.Width() * 4, QImage::Format_RGB32);
    if (!File.open(QIODevice::WriteOnly) || !Image.save(&File, "PNG") || !File.commit())
      throw std::runtime_error(QStringLiteral("cannot write '%1': %2").arg(Name, File.errorString()).toStdString());
    FWritten << Name;
  }
  void Discard() override {
    for (const QString& Name : FWritten) QFile::remove(Name);
    FWritten.clear();
  }

private:
  QString FPattern;
  int FCount = 0;
  QStringList FWritten;
};

void WriteOut(const void* Data, std::size_t Bytes) {
  if (std::fwrite(Data, 1, Bytes, stdout) != Bytes) throw std::runtime_error("cannot write to standard output");
}

class TRawSink : public TFrameSink {
public:
  void Write(const TBitmap& Frame) override {
    const std::uint8_t* P = Rows(Frame);
    const std::size_t Pixels = static_cast<std::size_t>(Frame.Width()) * Frame.Height();
    // The fourth byte of a screen pixel is undefined; a stream of BGRA frames wants it opaque. The
    // frame goes out in pieces small enough to stay in the cache between being made opaque and
    // being written: a whole-frame buffer would cost a second trip through memory.
    for (std::size_t Done = 0; Done < Pixels; Done += ChunkPixels) {
      const std::size_t N = std::min(ChunkPixels, Pixels - Done);
      CopyOpaque(FOut.data(), P + Done * 4, N);
      WriteOut(FOut.data(), N * 4);
    }
  }

private:
  static constexpr std::size_t ChunkPixels = 1 << 18;
  std::vector<std::uint32_t> FOut = std::vector<std::uint32_t>(ChunkPixels);
};

// YUV4MPEG2 with full-range BT.601 4:4:4 planes: no chroma is thrown away, and every encoder that
// reads the format takes it.
class TY4mSink : public TFrameSink {
public:
  TY4mSink(int Width, int Height, int Fps) {
    char Header[128];
    const int N = std::snprintf(Header, sizeof Header, "YUV4MPEG2 W%d H%d F%d:1 Ip A1:1 C444 XCOLORRANGE=FULL\n",
                                Width, Height, Fps);
    WriteOut(Header, static_cast<std::size_t>(N));
  }
  void Write(const TBitmap& Frame) override {
    const std::size_t Pixels = static_cast<std::size_t>(Frame.Width()) * Frame.Height();
    FPlanes.resize(Pixels * 3);
    const std::uint8_t* P = Rows(Frame);
    auto Clamp = [](int V) { return static_cast<std::uint8_t>(std::clamp(V, 0, 255)); };
    for (std::size_t I = 0; I < Pixels; ++I, P += 4) {
      const int B = P[0], G = P[1], R = P[2];
      FPlanes[I] = Clamp((19595 * R + 38470 * G + 7471 * B + 32768) >> 16);
      FPlanes[Pixels + I] = Clamp(((-11059 * R - 21709 * G + 32768 * B + 32768) >> 16) + 128);
      FPlanes[2 * Pixels + I] = Clamp(((32768 * R - 27439 * G - 5329 * B + 32768) >> 16) + 128);
    }
    WriteOut("FRAME\n", 6);
    WriteOut(FPlanes.data(), FPlanes.size());
  }

private:
  std::vector<std::uint8_t> FPlanes;
};

}  // namespace

const std::uint8_t* TFrameSink::Rows(const TBitmap& Frame) {
  if (Frame.PixelFormat() == pf32bit) return Frame.ScanLine(0);
  FDeep = TBitmap::FromQImage(Frame.ToQImage().convertToFormat(QImage::Format_RGB32));
  return FDeep.ScanLine(0);
}

std::unique_ptr<TFrameSink> TFrameSink::Make(const TRenderOptions& Options, int Width, int Height) {
  switch (Options.Output) {
    case TOutputKind::Png: return std::make_unique<TPngSink>(Options.OutputPattern);
    case TOutputKind::Raw: return std::make_unique<TRawSink>();
    case TOutputKind::Y4m: return std::make_unique<TY4mSink>(Width, Height, Options.Fps);
  }
  return nullptr;
}

}  // namespace vte

#pragma once
// The command line of vte-render.
#include <QString>
#include <QStringList>
#include <stdexcept>

namespace vte {

// A command line that cannot be used; the message is one line for standard error.
class EUsageError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

enum class TOutputKind { Png, Raw, Y4m };

struct TRenderOptions {
  bool Help = false;
  QString ClassName;         // --class, or taken from the stored entry
  QStringList Settings;      // Name=Value, in order
  QString ListFile;          // --list FILE: a stored transition list ...
  int ListIndex = 0;         // ... and the entry in it (--entry N, from 0)
  QString OldPicture, NewPicture;
  int Width = 0, Height = 0;  // --size WxH; 0: the old picture's size
  int Fps = 60;
  TOutputKind Output = TOutputKind::Png;
  QString OutputPattern;     // --output: PNG file names, "%05d" replaced by the frame number
  quint32 Seed = 1;          // the random generator's seed, so that random styles repeat
};

// Reads the arguments after the program name; EUsageError for anything it cannot use.
TRenderOptions ParseRenderOptions(const QStringList& Arguments);
// The text of --help: usage, then every registered class with its properties and defaults.
QString RenderHelpText();

}  // namespace vte

#pragma once
// The files that go with the demonstration program (pictures, masks, the chime) are read from the
// program's folder. Their names are written with mixed case in the pages ("Stone.jpg" beside
// "stone.jpg"), so a name is matched against the folder case-insensitively.
#include <QString>

namespace vte {
class TPicture;
}

namespace vte::demo {

// The folder of the program's executable, or the folder set below.
QString ProgramFolder();
// Tests point the program at the folder where the build generated the data files.
void SetProgramFolder(const QString& Folder);
// The full path of Name in the program's folder: the file whose name matches Name ignoring case,
// or the folder followed by Name as given when none does (so that opening it reports that name).
QString ProgramFile(const QString& Name);
// Loads the program's file Name into Picture; a missing or unreadable file raises the picture's
// file error (std::runtime_error naming the file) and leaves Picture as it was.
void LoadProgramPicture(TPicture& Picture, const QString& Name);

}  // namespace vte::demo

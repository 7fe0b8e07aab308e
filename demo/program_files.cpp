#include "program_files.h"

#include <QCoreApplication>
#include <QDir>

#include "gdi/picture.h"

namespace vte::demo {

namespace {
QString& FolderOverride() {
  static QString Folder;
  return Folder;
}
}  // namespace

QString ProgramFolder() {
  if (!FolderOverride().isEmpty()) return FolderOverride();
  return QCoreApplication::applicationDirPath();
}

void SetProgramFolder(const QString& Folder) { FolderOverride() = Folder; }

QString ProgramFile(const QString& Name) {
  const QDir Folder(ProgramFolder());
  if (!Folder.exists(Name)) {
    // A case-insensitive look-up only when the exact name is not there: the folder is small.
    for (const QString& Entry : Folder.entryList(QDir::Files))
      if (Entry.compare(Name, Qt::CaseInsensitive) == 0) return Folder.filePath(Entry);
  }
  return Folder.filePath(Name);
}

void LoadProgramPicture(TPicture& Picture, const QString& Name) { Picture.LoadFromFile(ProgramFile(Name)); }

}  // namespace vte::demo

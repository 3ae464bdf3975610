#include "file_locations.h"

#include <QDir>
#include <QFileInfo>

#include "field_file.h"

namespace trotix {

QString FileLocations::PositionFile() const {
  const QString& folder = position_place == FilePlace::kBesideProgram ? program_dir : user_dir;
  return QDir(folder).filePath(QStringLiteral("Trotix.ini"));
}

QString FileLocations::FieldFileFolder() const {
  const bool beside = QFileInfo::exists(QDir(program_dir).filePath(QString::fromLatin1(kFieldFileName)));
  return beside || user_dir.isEmpty() ? program_dir : user_dir;
}

FileLocations LocateFiles(const QString& program_dir, const QString& user_dir) {
  // isWritable asks the system (access(2)), so a read-only mount and the
  // user's own rights both count, not just the permission bits.
  const QFileInfo folder(program_dir);
  const bool writable = (folder.isDir() && folder.isWritable()) || user_dir.isEmpty();
  return {program_dir, user_dir, writable ? FilePlace::kBesideProgram : FilePlace::kUserFolder};
}

}  // namespace trotix

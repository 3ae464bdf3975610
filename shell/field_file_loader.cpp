#include "field_file_loader.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdio>

namespace trotix {

std::optional<FieldRecords> LoadFieldFile(const QString& directory) {
  const QString path = QDir(directory).filePath(QString::fromLatin1(kFieldFileName));
  const QFileInfo info(path);
  if (!info.isFile()) return std::nullopt;  // missing, or a folder of that name: a random field

  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    std::fprintf(stderr, "Trotix: %s cannot be read (%s); the field is made up at random\n",
                 qPrintable(QDir::toNativeSeparators(path)), qPrintable(file.errorString()));
    return std::nullopt;
  }
  // One byte more than is ever parsed tells whether the file goes on.
  const QByteArray head = file.read(static_cast<qint64>(kFieldFileReadLimit) + 1);
  const FieldFileParse parsed =
      ParseFieldFileStart(std::string_view(head.constData(), static_cast<std::size_t>(head.size())));
  if (!parsed.ok) {
    std::fprintf(stderr, "Trotix: %s, line %d %s; the field is made up at random\n",
                 qPrintable(QDir::toNativeSeparators(path)), parsed.line, parsed.problem.c_str());
    return std::nullopt;
  }
  return parsed.horses;
}

}  // namespace trotix

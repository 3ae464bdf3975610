#include "profile_file.h"

#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>

#include "private_profile.h"

namespace trotix {

namespace {

constexpr qint64 kReadLimit = static_cast<qint64>(kProfileFileReadLimit);

std::string_view View(const QByteArray& bytes) {
  return {bytes.constData(), static_cast<std::size_t>(bytes.size())};
}

}  // namespace

std::string GetPrivateProfileString(std::string_view section, std::string_view key,
                                    std::string_view default_value, std::size_t buffer_size,
                                    const QString& path) {
  QByteArray bytes;
  QFile file(path);
  // Only an ordinary file: a pipe of that name would block the start.
  if (QFileInfo(path).isFile() && file.open(QIODevice::ReadOnly)) {
    bytes = file.read(kReadLimit);
    // Of an over-long file keep only complete lines, so a value is never
    // read cut short.
    if (!file.atEnd()) {
      const auto last_break = std::max(bytes.lastIndexOf('\n'), bytes.lastIndexOf('\r'));
      bytes.truncate(last_break + 1);
    }
  }
  return GetProfileString(View(bytes), section, key, default_value, buffer_size);
}

bool WritePrivateProfileString(std::string_view section, std::string_view key,
                               std::string_view value, const QString& path) {
  try {
    if (!CanSetProfileString(section, key, value)) return false;

    QByteArray old_bytes;
    const QFileInfo info(path);
    const bool exists = info.exists() || info.isSymLink();
    // A folder, a pipe or a device of that name is not ours to replace.
    if (exists && !info.isFile()) return false;
    if (exists) {
      QFile file(path);
      if (!file.open(QIODevice::ReadOnly)) return false;
      old_bytes = file.read(kReadLimit + 1);
      if (old_bytes.size() > kReadLimit) return false;
      if (file.error() != QFileDevice::NoError) return false;
    }

    const std::string new_text = SetProfileString(View(old_bytes), section, key, value);
    if (exists && new_text == View(old_bytes)) return true;

    // Unbuffered, so that a short write (a full disk) shows in write()'s
    // result; a buffered one would only fail in the flush inside commit(),
    // which does not notice a partial write.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return false;
    const auto size = static_cast<qint64>(new_text.size());
    if (file.write(new_text.data(), size) != size) {
      file.cancelWriting();
      return false;
    }
    return file.commit();
  } catch (...) {
    return false;
  }
}

}  // namespace trotix

#include "field_file_reader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string_view>

namespace trotix {

namespace {

FieldFileBytes Refused(std::string message) {
  FieldFileBytes read;
  read.status = FieldFileStatus::kRefused;
  read.message = std::move(message);
  return read;
}

FieldFileBytes CannotRead(const std::string& path, std::string_view why) { return Refused(FieldFileUnreadable(path, why)); }

// Closes the descriptor on every way out.
struct Descriptor {
  explicit Descriptor(int opened) : fd(opened) {}
  ~Descriptor() {
    if (fd >= 0) ::close(fd);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int fd;
};

}  // namespace

FieldFileBytes ReadFieldFileBytes(const std::string& path) {
  // O_NONBLOCK: a FIFO put in the file's place opens at once instead of
  // waiting for a writer; what it is, is then asked of the open descriptor,
  // so nothing can be swapped in between the check and the read.
  const Descriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  if (file.fd < 0) {
    if (errno == ENOENT) return {};
    return CannotRead(path, std::strerror(errno));
  }
  struct stat info {};
  if (::fstat(file.fd, &info) != 0) return CannotRead(path, std::strerror(errno));
  if (!S_ISREG(info.st_mode)) return CannotRead(path, S_ISDIR(info.st_mode) ? kFieldFileIsAFolder : "not an ordinary file");

  // One byte more than is ever parsed tells whether the file goes on.
  std::string head(kFieldFileReadLimit + 1, '\0');
  std::size_t got = 0;
  while (got < head.size()) {
    const ssize_t n = ::read(file.fd, head.data() + got, head.size() - got);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return CannotRead(path, std::strerror(errno));
    if (n == 0) break;
    got += static_cast<std::size_t>(n);
  }
  head.resize(got);
  FieldFileBytes read;
  read.status = FieldFileStatus::kRead;
  read.name = path;
  read.first_bytes = std::move(head);
  return read;
}

FieldFileRead ReadFieldFile(const std::string& path) {
  FieldFileBytes bytes = ReadFieldFileBytes(path);
  FieldFileRead read;
  read.status = bytes.status;
  read.message = std::move(bytes.message);
  if (bytes.status != FieldFileStatus::kRead) return read;
  const FieldFileParse parsed = ParseFieldFileStart(bytes.first_bytes);
  if (parsed.ok) {
    read.horses = parsed.horses;
  } else {
    read.status = FieldFileStatus::kRefused;
    read.message = FieldFileRefusal(path, parsed);
  }
  return read;
}

}  // namespace trotix

#include "standard_descriptors.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace trotix {

void OpenStandardDescriptors() {
  for (int fd = 0; fd <= 2; ++fd) {
    if (fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
    // open() takes the lowest free descriptor, which is this one: the lower
    // ones are open by now. Without /dev/null nothing better can be done.
    const int opened = open("/dev/null", O_RDWR);
    if (opened != fd && opened >= 0) close(opened);
  }
}

}  // namespace trotix

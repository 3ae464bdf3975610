// Says where the game would keep its files if it stood where this program
// stands: LocateFiles as the game calls it, its words on standard error,
// the program's folder on standard output.
#include <cstdio>

#include "platform/file_locations.h"

int main() {
  const trotix::FileLocations files = trotix::LocateFiles();
  std::printf("%s\n", files.program_dir.c_str());
  return 0;
}

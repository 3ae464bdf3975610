// Asks where the game would keep its files if it stood where this program
// stands, as the game asks at start-up; what it says goes to standard error.
#include "platform/file_locations.h"

int main() { trotix::LocateFiles(); }

// trotix-sim: races one field, or many random ones, over and over with the
// game's own engine and shows the true chances behind the posted odds.
#include <unistd.h>

#include <exception>
#include <iostream>
#include <new>
#include <string_view>
#include <vector>

#include "sim_main.h"

int main(int argc, char** argv) {
  try {
    const std::vector<std::string_view> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    return trotix::sim::SimMain(args, std::cout, std::cerr, isatty(STDERR_FILENO) == 1);
  } catch (const std::bad_alloc&) {
    std::cerr << "trotix-sim: not enough memory for the run\n";
    return trotix::sim::kExitNoResources;
  } catch (const std::exception& e) {
    std::cerr << "trotix-sim: " << e.what() << "\n";
    return trotix::sim::kExitNoResources;
  }
}

// A horse data file the reader takes, and one whose sixth line ends exactly
// at the read limit: one byte more is a line too long.
#pragma once

#include <string>

#include "field_file.h"

namespace trotix::testing {

inline constexpr char kGoodFieldFile[] =
    "80\t60\t2\r\n50\t50\t1\r\n70\t40\t3\r\n45\t90\t4\r\n60\t60\t1\r\n55\t75\t2\r\n";

inline std::string FieldFileAtTheReadLimit() {
  std::string file(kGoodFieldFile);
  file.resize(file.rfind("55\t"));
  file += "55\t75\t2\t";
  file.resize(kFieldFileReadLimit, 'x');
  return file;
}

}  // namespace trotix::testing

// Descriptors 0, 1 and 2 before anything else opens a file.
#pragma once

namespace trotix {

// Opens /dev/null on whichever of standard input, output and error is
// closed. Started as `trotix 2>&-`, the game once had its X connection land
// on descriptor 2, wrote a warning into it, and waited for a window that
// never came. Call first in main, before the toolkit opens anything.
void OpenStandardDescriptors();

}  // namespace trotix

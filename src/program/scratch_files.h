#pragma once

#include "platform/files.h"

namespace crinova {

// The photo slots and client photo copies live for one run only: closing the program deletes
// "\foto0.bmp" ... "\foto10.bmp" with their large companions and "\clientes\foto0.bmp" ...
// "\clientes\foto10.bmp". Missing files and a missing clients folder are passed over silently.
void deleteScratchFiles(const ProgramFolder& folder);

}  // namespace crinova

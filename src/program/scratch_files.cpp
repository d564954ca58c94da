#include "program/scratch_files.h"

#include "program/folder_names.h"
#include "program/large_companions.h"

namespace crinova {

void deleteScratchFiles(const ProgramFolder& folder) {
    for (int number = 0; number <= 10; ++number) {
        deleteFile(folder.fullPath(slotFileName(number)));
        deleteLargeCompanions(folder.fullPath(slotFileName(number)));
        deleteFile(folder.fullPath(clientPhotoCopyName(number)));
    }
}

}  // namespace crinova

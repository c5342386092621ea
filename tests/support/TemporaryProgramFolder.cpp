#include "support/TemporaryProgramFolder.h"

#include "platform/ui/ProgramFolder.h"

TemporaryProgramFolder::TemporaryProgramFolder()
{
    platform::setProgramFolderForTesting(mDir.path());
}

TemporaryProgramFolder::~TemporaryProgramFolder()
{
    platform::setProgramFolderForTesting(QString());
}

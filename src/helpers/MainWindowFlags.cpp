#include "helpers/MainWindowFlags.h"

MainWindowFlags gMainWindow;

void MainWindowFlags::reset()
{
    *this = MainWindowFlags();
}

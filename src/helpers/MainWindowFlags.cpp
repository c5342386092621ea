#include "helpers/MainWindowFlags.h"

qint32 gSelectedCount = 0;
bool gFirstTime = false;
bool gPageBreakPerLetter = false;
int gReminderStartup = 0;
bool gIgnoreNextGridClick = false;

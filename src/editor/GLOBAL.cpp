#include "editor/GLOBAL.h"

bool gEditExistingRecord = false;
bool gRecordChanged = false;
bool gRecordSaved = false;
bool gNewRecordAdded = false;
qint64 gLastSavedRecordID = 0;
QVariant gTemplateRecordID = 0;
QString gFindCriteria;
int gAssignCategoryOnAdd = 0;
int gEditFormLeft = 0;
int gEditFormTop = 0;
qint16 gUserField1Size = 255;
int gCodeMaxLength = 20;
int gLastDateBox = 0;
bool gDialFromList = false;
bool gRemindFromEditor = false;
int gNotesFormLeft = 0;
int gNotesFormTop = 0;
int gNotesFormWidth = 0;
int gNotesFormHeight = 0;

#pragma once

#include <QString>
#include <QVariant>
#include <QtGlobal>

// State of the contact editor that outlives its window and that other windows read
// or write. Booleans start False, numbers 0, texts empty.

// True: the editor shows a stored contact (the main list's current row); False: a new one.
extern bool gEditExistingRecord;
// Some box of the editor changed since the contact was put into the boxes.
extern bool gRecordChanged;
// A contact was stored during this opening of the editor.
extern bool gRecordSaved;
// The last store added a new row.
extern bool gNewRecordAdded;
// RecordID of the contact row the editor stored last. Only the editor writes it: other
// windows that store rows keep their own key.
extern qint64 gLastSavedRecordID;
// RecordID of the template contact that prefills a new contact; 0 = no template.
extern QVariant gTemplateRecordID;
// The criterion of the last find-first on the main list.
extern QString gFindCriteria;
// 1: show the category assignment window after the Save button stored a new contact.
extern int gAssignCategoryOnAdd;
// Where the editor was last closed, in twips; 0 before the first close.
extern int gEditFormLeft;
extern int gEditFormTop;
// Defined size of the field UserField1 of the open database; below 255 the editor's
// name, e-mail and user-field boxes take shorter texts.
extern qint16 gUserField1Size;
// Length limit of the editor's code box: 20, or 50 in a database with a VERSION row.
extern int gCodeMaxLength;
// The date box (1..5) last left holding a valid date; 0 = none.
extern int gLastDateBox;
// The dialling window was opened from the main list (True) or from the editor (False).
extern bool gDialFromList;
// The reminder window is open for the editor's contact.
extern bool gRemindFromEditor;
// Where and how large the notes window was last closed, in twips; 0 at start.
extern int gNotesFormLeft;
extern int gNotesFormTop;
extern int gNotesFormWidth;
extern int gNotesFormHeight;

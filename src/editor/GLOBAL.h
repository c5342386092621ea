#pragma once

#include <QString>
#include <QVariant>
#include <QtGlobal>

// State of the contact editor that outlives its window and that other windows read
// or write. Booleans start False, numbers 0, texts empty.
struct EditorState {
    // True: the editor shows a stored contact (the main list's current row); False: a new one.
    bool gEditExistingRecord = false;
    // Some box of the editor changed since the contact was put into the boxes.
    bool gRecordChanged = false;
    // A contact was stored during this opening of the editor.
    bool gRecordSaved = false;
    // The last store added a new row.
    bool gNewRecordAdded = false;
    // RecordID of the contact row the editor stored last. Only the editor writes it: other
    // windows that store rows keep their own key.
    qint64 gLastSavedRecordID = 0;
    // RecordID of the template contact that prefills a new contact; 0 = no template.
    QVariant gTemplateRecordID = 0;
    // The criterion of the last find-first on the main list.
    QString gFindCriteria;
    // 1: show the category assignment window after the Save button stored a new contact.
    int gAssignCategoryOnAdd = 0;
    // Where the editor was last closed, in twips; 0 before the first close.
    int gEditFormLeft = 0;
    int gEditFormTop = 0;
    // Defined size of the field UserField1 of the open database; below 255 the editor's
    // name, e-mail and user-field boxes take shorter texts.
    qint16 gUserField1Size = 255;
    // Length limit of the editor's code box: 20, or 50 in a database with a VERSION row.
    int gCodeMaxLength = 20;
    // The date box (1..5) last left holding a valid date; 0 = none.
    int gLastDateBox = 0;
    // The dialling window was opened from the main list (True) or from the editor (False).
    bool gDialFromList = false;
    // The reminder window is open for the editor's contact.
    bool gRemindFromEditor = false;
    // Where and how large the notes window was last closed, in twips; 0 at start.
    int gNotesFormLeft = 0;
    int gNotesFormTop = 0;
    int gNotesFormWidth = 0;
    int gNotesFormHeight = 0;

    // Back to the values the program starts with.
    void reset();
};
extern EditorState gEditor;

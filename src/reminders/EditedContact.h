#pragma once

#include <QString>
#include <QtGlobal>

// What the reminder window takes from the contact editor when it is opened from there: the
// contact's key and name boxes, and the date box last left holding a valid date with the
// description beside it (both empty when there is none).
struct EditedContact {
    qint64 recordID = 0;
    QString firstName;
    QString middleName;
    QString lastName;
    QString organization;
    QString dateText;
    QString dateDescription;

    // Read from the open editor and the main list's current row, which is the edited contact.
    static EditedContact fromEditor();
};

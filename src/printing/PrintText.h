#pragma once

#include "helpers/ValueHelpers.h"

#include <QString>
#include <QVariant>

class DisplayedRecords;

// Text rules every report applies to field values. Only blanks are trimmed (RTrim and
// Trim of the value helpers): a tab or a line end is part of the text.

// The field's value as text, "" for Null; a date in the system's short date, with the
// time of day when it holds one.
QString FieldText(DisplayedRecords &records, const QString &field);
// The same for a field numbered by records.fieldIndex.
QString FieldText(DisplayedRecords &records, int field);
// A character remains once leading and trailing blanks are gone.
bool IsNonBlank(const QString &text);
// The contact's notes print: PrintNotes is Yes and the notes are not blank.
bool NotesPrint(DisplayedRecords &records);
// Whole-number conversion: halves go to the even neighbour.
qint64 WholeNumber(double value);

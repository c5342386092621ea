#pragma once

#include <QString>
#include <QVariant>

class DisplayedRecords;

// The pieces of a contact's name and address that the lists, the labels, the exports and
// the clipboard copy all build the same way from the current record.

// How a line built of fields holds them: as typed (files, the clipboard), or, for print,
// each field set apart in its own direction, so that a right-to-left field reads as its
// language expects and never reorders its neighbours (platform::isolatedField). Isolated
// keeps a field's line ends for a text that wraps in its own column; IsolatedLine prints
// them as blanks, for a place of one line (a label's line, a book's row, a name).
enum class FieldJoin { AsTyped, Isolated, IsolatedLine };
// The field as a line joined that way holds it.
QString JoinedField(const QString &field, FieldJoin join);

// The address set the contact's labels use, as a field-name prefix: "Second_" when
// AddressForLabels is 2, "First_" for any other value, Null included.
QString LabelAddressSet(DisplayedRecords &Records);
// True when a value of AddressForLabels picks the second set.
bool PicksSecondAddress(const QVariant &AddressForLabels);

// Prefix, first, middle and last name and suffix, each without trailing blanks; a blank
// follows each of the first three only when it is not blank, and one always stands
// before the suffix (so a name without a suffix ends in a blank).
QString ContactNameLine(DisplayedRecords &Records, FieldJoin Join = FieldJoin::AsTyped);

// The name line, with two blanks before it when it is not blank, a blank, the
// organisation as stored and two blanks: the heading of a contact in the condensed
// layouts.
QString CondensedHeadingLine(DisplayedRecords &Records, FieldJoin Join = FieldJoin::AsTyped);

// City, ", " when both city and state are given, state, a blank, postal code; each part
// without trailing blanks.
QString CityLine(const QString &City, const QString &State, const QString &PostalCode,
                 FieldJoin Join = FieldJoin::AsTyped);

// An address set run into one text: each address line as stored followed by two blanks,
// the city line followed by two blanks, the country followed by three (a part that is
// blank gets no blanks after it). Set is a prefix from LabelAddressSet.
QString RunningAddressText(DisplayedRecords &Records, const QString &Set, FieldJoin Join = FieldJoin::AsTyped);

// "Description: number" and two blanks for each phone that has a number, in order.
QString RunningPhoneText(DisplayedRecords &Records, FieldJoin Join = FieldJoin::AsTyped);

// The same for any Count numbered pairs of a value and its label (ValueField and
// LabelField hold "%1" for the number): "label: value" and two blanks for each value
// that is not blank; the label as it is, empty or not.
QString RunningLabelledText(DisplayedRecords &Records, const QString &ValueField, const QString &LabelField,
                            int Count, FieldJoin Join = FieldJoin::AsTyped);

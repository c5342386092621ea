#pragma once

#include <QString>
#include <QVariant>

class QComboBox;

// Field-value conversions and text helpers shared by every window. A field value is a
// QVariant; an invalid or null QVariant is the database's Null. The three conversions
// change only the one value they are about and leave every other value, of any type, as it is.

// "" for Null; any other value unchanged.
QVariant NullToString(const QVariant &value);
// Null for the exact empty text (and for Null itself); any other value unchanged.
QVariant EmptyToNull(const QVariant &value);
// A 16-bit zero for Null; any other value unchanged.
QVariant NullToZero(const QVariant &value);

// True for the database's Null.
bool IsNull(const QVariant &value);

// Replaces every occurrence of find in target, comparing exactly. The search resumes behind
// each inserted replacement, so a replacement that contains find is never replaced again.
// An empty find changes nothing.
void ReplaceAll(QString &target, const QString &find, const QString &replacement);

// The classic trims: blanks only, never tabs or line ends; Trim takes both ends.
QString LTrim(const QString &text);
QString RTrim(const QString &text);
QString Trim(const QString &text);

// A list of items as a sentence gives it: "a", "a and b", "a, b and c". Not empty.
QString listed(QStringList items);

// Opens the list of a combo box that holds at least one item.
void ShowComboDropDown(QComboBox *combo);

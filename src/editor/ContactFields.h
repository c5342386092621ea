#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QVariant>

namespace platform {
class Database;
}

// The 66 contact fields the editor shows, and how each travels between a row of
// tblContacts and the editor's controls.

// The fields in the order the editor writes them, and in the order it fills its controls.
const QStringList &saveOrder();
const QStringList &loadOrder();

// The text box of a field: "txt" and the field name, except the picture names, whose
// boxes are txtPic1File .. txtPic8File.
QString boxNameOf(const QString &field);

bool isPictureField(const QString &field); // PicturePath1 .. PicturePath8
bool isDateField(const QString &field);    // Date1 .. Date5

// The most characters a box takes as designed; 0 for no limit.
int designMaxLength(const QString &boxName);
// The shorter limits of the name, e-mail and user-field boxes in a database whose
// UserField1 is shorter than 255 characters, in the order they are set.
const QList<QPair<QString, int>> &shortLimits();

// A field value as a box shows it: "" for Null, dates in the general date form.
QString fieldText(const QVariant &value);

// Writes the TEMPLATE RecordID settings row: the template contact's key, 0 for none.
void writeTemplateSetting(platform::Database &db, qint64 recordId);

#pragma once

#include <QString>
#include <QVariant>

// The editor's rules for what the user types and double-clicks, kept apart from the window
// so that each can be checked on its own.

// Text colour of the editable labels (the description boxes): a Windows colour value.
constexpr int EditableLabelColor = 0x800000;

// The 18 name and address boxes whose words start with a capital while "Capitalize" is
// ticked, and the two state boxes that take capitals throughout.
bool isWordCapitalBox(const QString &boxName);
bool isStateBox(const QString &boxName);

// The character to put into a box for the typed one (character codes): a small letter
// "a".."z" becomes a capital when the box's whole text is empty or ends in a blank;
// everything else stays as typed.
int wordStartKey(const QString &boxText, int keyAscii);
// A small letter "a".."z" becomes a capital; everything else stays as typed.
int stateKey(int keyAscii);

// 1..5 for txtDate1 .. txtDate5, 0 for any other box.
int dateBoxNumber(const QString &boxName);
// Whether a date box's text is a date (with or without a time of day), read the way the
// user's regional settings write dates.
bool isDateText(const QString &text);

// The boxes whose double-click opens their text as an e-mail or web address.
bool isLinkBox(const QString &boxName);

// What a double-click on a link box opens: "mailto:" and the text when it holds "@";
// nothing when it holds no "."; otherwise a web address, the text itself when it already
// is an http or https address, else "http://" and the text. A text that merely begins
// with "http" ("httpd.conf") is a web address like any other, never a local file.
struct LinkTarget {
    enum Kind { None, Mail, Web };
    Kind kind = None;
    QString address;
};
LinkTarget linkTargetOf(const QString &linkText);

// Told when a target is refused because it is no web or e-mail address.
inline const QString NotALinkDescription = QStringLiteral("This is not a web or e-mail address.");
constexpr int NotALinkError = 5;

// A contact has no name when its last name, first name and organization are all blank
// (only blanks at the start count as blank).
bool contactHasNoName(const QString &lastName, const QString &firstName, const QString &organization);

// The stored name the delete question shows: First Middle Last, two blanks, Organization,
// Null taken as empty, trimmed at both ends.
QString deleteConfirmationName(const QVariant &first, const QVariant &middle, const QVariant &last,
                               const QVariant &organization);

// The category number of the category condition shown (" CategoryNumber = 5 "); -1 when
// no category is shown.
qint64 categoryNumberOf(const QString &categoryClause);

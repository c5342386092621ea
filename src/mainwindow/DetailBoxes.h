#pragma once

#include <QString>
#include <QVariant>

#include <functional>

// The two boxes under the main grid describe the current contact: txtName its name,
// organisation and label address, txtPhone its phone numbers. Lines are joined with a
// carriage return and line feed.

// Reads a field of the current contact by name; Null as an invalid or null QVariant.
using ContactFieldReader = std::function<QVariant(const QString &field)>;

inline const QString DetailLineBreak = QStringLiteral("\r\n");

QString detailNameText(const ContactFieldReader &field);
QString detailPhoneText(const ContactFieldReader &field);

#pragma once

#include "printing/MemoryRecords.h"

#include <QStringList>
#include <QVariantMap>
#include <vector>

// Every field the address books read, for displayed records held in memory.
inline QStringList bookFields()
{
    QStringList fields{"Prefix",       "FirstName",     "MiddleName", "LastName", "Suffix",
                       "Organization", "AddressForLabels", "Email_Address", "Code", "Notes",
                       "PrintNotes"};
    for (const char *set : {"First_", "Second_"}) {
        for (const char *f :
             {"Address_Desc", "Address1", "Address2", "Address3", "City", "State", "PostalCode", "Country"})
            fields << QLatin1String(set) + QLatin1String(f);
    }
    for (int n = 1; n <= 6; ++n)
        fields << QStringLiteral("Phone%1").arg(n) << QStringLiteral("Phone%1_Desc").arg(n);
    for (int n = 1; n <= 5; ++n)
        fields << QStringLiteral("Date%1").arg(n) << QStringLiteral("Date%1_Desc").arg(n);
    for (int n = 1; n <= 3; ++n)
        fields << QStringLiteral("UserField%1").arg(n) << QStringLiteral("UserField%1_Desc").arg(n);
    return fields;
}

inline MemoryRecords bookRecords(std::vector<QVariantMap> rows)
{
    return MemoryRecords(bookFields(), std::move(rows));
}

// Notes of single words that wrap into exactly `lines` lines at any width of at
// least ten characters.
inline QString notesOfLines(int lines)
{
    QStringList words;
    for (int i = 1; i <= lines; ++i)
        words << QStringLiteral("n%1").arg(i, 3, 10, QLatin1Char('0'));
    return words.join(QStringLiteral("\r\n"));
}

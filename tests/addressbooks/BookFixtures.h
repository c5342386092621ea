#pragma once

#include "printing/MemoryRecords.h"
#include "support/PrintedPages.h"

#include <QStringList>
#include <QVariantMap>
#include <vector>

// Every field the address books read, for displayed records held in memory.
inline QStringList bookFields()
{
    QStringList fields = testsupport::printedContactFields();
    fields << QStringLiteral("Code") << QStringLiteral("Notes") << QStringLiteral("PrintNotes");
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

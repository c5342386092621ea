#pragma once

#include "support/FileBytes.h"

#include "platform/db/Database.h"

#include <QString>

// Fills the contacts over several pages, then garbles a page in the middle; returns the
// damaged file's bytes.
inline QByteArray damageDatabase(const QString &path)
{
    {
        auto db = platform::Database::open(path);
        for (int i = 0; i < 300; ++i)
            db->execute(QStringLiteral("INSERT INTO tblContacts (LastName, Notes) VALUES ('Row%1', '%2')")
                            .arg(i)
                            .arg(QString(200, QLatin1Char('n'))));
    }
    QByteArray bytes = readFileBytes(path);
    const int at = (int(bytes.size()) / 1024 / 2) * 1024;
    for (int i = 0; i < 1024; ++i)
        bytes[at + i] = char((i * 37 + 11) & 0xff);
    writeFileBytes(path, bytes);
    return bytes;
}

// Garbles the first page behind the file's header, where the list of tables is: no table
// can be found, so nothing can be copied. Returns the damaged file's bytes.
inline QByteArray damageBeyondRepair(const QString &path)
{
    QByteArray bytes = readFileBytes(path);
    for (int i = 100; i < 4096 && i < bytes.size(); ++i)
        bytes[i] = char((i * 37 + 11) & 0xff);
    writeFileBytes(path, bytes);
    return bytes;
}

#pragma once

#include <QByteArray>
#include <QFile>
#include <QRegularExpression>
#include <QString>

// A whole file as bytes, for tests that check what was (or was not) written.
inline QByteArray readFileBytes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}

inline void writeFileBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(bytes);
}

// Page objects of a PDF, not the page tree ("/Type /Pages").
inline int pdfPageCount(const QByteArray &pdf)
{
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page(?![s\\w])"));
    return static_cast<int>(QString::fromLatin1(pdf).count(page));
}

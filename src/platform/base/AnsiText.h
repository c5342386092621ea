#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QStringView>

namespace platform {

// Text "in the ANSI code page": Windows-1252, one byte per character. A character
// the code page lacks becomes '?', as the classic conversion does; Qt's encoder
// would write 0x1A there, which some readers take as the end of the file.
QByteArray toAnsi(const QString &text);
// The same, appended to bytes already there (a file's buffer, say). Returns how many
// characters the code page lacks, each written as '?'.
qsizetype appendAnsi(QByteArray &bytes, QStringView text);
// The same for text to be read back as it was typed: put in its composed form first, so
// that a letter typed as a base letter and combining marks is written as the one letter
// wherever the code page holds it.
qsizetype appendComposedAnsi(QByteArray &bytes, QStringView text);

// The characters of the text the code page lacks, each once, in the order they first
// come (a character beyond 16 bits whole), as a message names them: one that shows
// nothing by itself (a space, a line separator, a direction mark, a combining mark) as
// its code, "U+2028".
QStringList ansiLacking(const QString &text);
// The characters of the text that show nothing where they stand, whatever the font: format
// characters (a soft hyphen, a zero-width space or joiner, a direction mark), each once, in
// the order they first come, named by their codes as above.
QStringList unseenCharacters(const QString &text);

// The reverse: every byte gives one character.
QString fromAnsi(const QByteArray &bytes);

} // namespace platform

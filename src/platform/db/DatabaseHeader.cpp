#include "platform/db/DatabaseHeader.h"

#include <QtEndian>

namespace platform::DatabaseHeader {

namespace {

const QByteArray Magic("SQLite format 3\0", 16);
// Payload fractions: the same in every file, checked by the engine.
const QByteArray Fractions("\x40\x20\x20", 3);

void put32(QByteArray &header, int at, quint32 value)
{
    qToBigEndian(value, header.data() + at);
}

} // namespace

bool looksPlain(const QByteArray &head)
{
    if (head.startsWith(Magic) || (head.size() >= 24 && head.mid(21, 3) == Fractions))
        return true;
    // An encrypted file begins with random bytes; a run of zeros there is a wiped header.
    if (head.size() >= Magic.size() && head.left(Magic.size()).count('\0') == Magic.size())
        return true;
    // Nor does an encrypted file show what follows a plain header: the first page's b-tree
    // header (a page of table rows, or of pointers to them) and the tables' definitions.
    constexpr char TableLeaf = 0x0d, TableInterior = 0x05;
    return head.size() > Size && (head[Size] == TableLeaf || head[Size] == TableInterior) &&
           head.toUpper().contains("CREATE TABLE");
}

bool cutShort(const QByteArray &head, qint64 fileSize)
{
    if (head.size() < Size || !head.startsWith(Magic))
        return false;
    quint32 pageSize = qFromBigEndian<quint16>(head.constData() + 16);
    if (pageSize == 1)
        pageSize = 65536;
    // Only whole pages are ever written: a part of one is what is left of a file cut short.
    // (The page count the header keeps is no proof: it may be the damaged part.)
    return pageSize >= 512 && (pageSize & (pageSize - 1)) == 0 && fileSize % pageSize != 0;
}

const QList<int> &pageSizes()
{
    static const QList<int> sizes{512, 1024, 2048, 4096, 8192, 16384, 32768, 65536};
    return sizes;
}

QByteArray rebuilt(int pageSize, qint64 fileSize)
{
    QByteArray header(Size, '\0');
    header.replace(0, Magic.size(), Magic);
    // 65536 does not fit two bytes and is written as 1.
    qToBigEndian(quint16(pageSize == 65536 ? 1 : pageSize), header.data() + 16);
    header[18] = 1; // rollback journal for writing
    header[19] = 1; // and for reading
    header.replace(21, Fractions.size(), Fractions);
    const quint32 changeCounter = 1;
    put32(header, 24, changeCounter);
    put32(header, 28, quint32((fileSize + pageSize - 1) / pageSize));
    put32(header, 40, 1);             // schema cookie
    put32(header, 44, 4);             // schema format
    put32(header, 56, 1);             // UTF-8
    put32(header, 92, changeCounter); // the page count above is valid
    put32(header, 96, 3015002);
    return header;
}

} // namespace platform::DatabaseHeader

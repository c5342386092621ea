#include "platform/db/DatabaseHeader.h"

#include <QtEndian>

namespace platform::DatabaseHeader {

namespace {

const QByteArray Magic("SQLite format 3\0", 16);
// Payload fractions: the same in every file, checked by the engine.
const QByteArray Fractions("\x40\x20\x20", 3);
// Kinds of b-tree pages, as the first byte of a page's header gives them.
constexpr char TableLeaf = 0x0d, TableInterior = 0x05, IndexLeaf = 0x0a, IndexInterior = 0x02;

void put32(QByteArray &header, int at, quint32 value)
{
    qToBigEndian(value, header.data() + at);
}

} // namespace

const QByteArray &magic()
{
    return Magic;
}

bool looksPlain(const QByteArray &head)
{
    if (head.startsWith(Magic) || (head.size() >= 24 && head.mid(21, 3) == Fractions))
        return true;
    // An encrypted file begins with random bytes; a run of zeros there is a wiped header.
    if (head.size() >= Magic.size() && head.left(Magic.size()).count('\0') == Magic.size())
        return true;
    // Nor does an encrypted file show what follows a plain header: the first page's b-tree
    // header (a page of table rows, or of pointers to them) and the tables' definitions.
    return head.size() > Size && (head[Size] == TableLeaf || head[Size] == TableInterior) &&
           head.toUpper().contains("CREATE TABLE");
}

std::optional<qint64> claimedPages(const QByteArray &head)
{
    if (!pageLayout(head))
        return std::nullopt;
    const quint32 changeCounter = qFromBigEndian<quint32>(head.constData() + 24);
    const quint32 validFor = qFromBigEndian<quint32>(head.constData() + 92);
    const quint32 pages = qFromBigEndian<quint32>(head.constData() + 28);
    if (changeCounter != validFor || pages == 0)
        return std::nullopt;
    return pages;
}

bool cutShort(const QByteArray &head, qint64 fileSize)
{
    // Only whole pages are ever written: a part of one is what is left of a file cut short.
    // (A cut on a page boundary shows against claimedPages.)
    const auto layout = pageLayout(head);
    return layout && fileSize % layout->first != 0;
}

const QList<int> &pageSizes()
{
    static const QList<int> sizes{512, 1024, 2048, 4096, 8192, 16384, 32768, 65536};
    return sizes;
}

QByteArray rebuilt(int pageSize, qint64 fileSize, int reserve)
{
    QByteArray header(Size, '\0');
    header.replace(0, Magic.size(), Magic);
    // 65536 does not fit two bytes and is written as 1.
    qToBigEndian(quint16(pageSize == 65536 ? 1 : pageSize), header.data() + 16);
    header[18] = 1; // rollback journal for writing
    header[19] = 1; // and for reading
    header[20] = char(reserve);
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

QByteArray emptyFirstPage(int pageSize, qint64 fileSize, int reserve)
{
    QByteArray page = rebuilt(pageSize, fileSize, reserve);
    page.resize(pageSize, '\0');
    page[Size] = TableLeaf;
    // No cells: their content area begins at the end of the page's usable part.
    const int usable = pageSize - reserve;
    qToBigEndian(quint16(usable == 65536 ? 0 : usable), page.data() + Size + 5);
    return page;
}

std::optional<std::pair<int, int>> pageLayout(const QByteArray &head)
{
    if (head.size() < Size || !head.startsWith(Magic))
        return std::nullopt;
    int pageSize = qFromBigEndian<quint16>(head.constData() + 16);
    if (pageSize == 1)
        pageSize = 65536;
    if (!pageSizes().contains(pageSize))
        return std::nullopt;
    return std::make_pair(pageSize, int(uchar(head[20])));
}

namespace {

// A page of the engine's b-trees begins with its kind and a count of cells that fit it.
bool beginsPage(const uchar *page, int pageSize)
{
    const int header = page[0] == TableLeaf || page[0] == IndexLeaf ? 8 : 12;
    const bool kind =
        page[0] == TableLeaf || page[0] == IndexLeaf || page[0] == TableInterior || page[0] == IndexInterior;
    return kind && header + 2 * qFromBigEndian<quint16>(page + 3) <= pageSize;
}

} // namespace

bool laterPagesLookPlain(const QByteArray &bytes)
{
    const auto *data = reinterpret_cast<const uchar *>(bytes.constData());
    // A page's header also counts the bytes lost to fragments, never more than 60.
    const auto begins = [](const uchar *page, int pageSize) {
        return beginsPage(page, pageSize) && page[7] <= 60;
    };
    for (int pageSize : pageSizes()) {
        const qint64 pages = bytes.size() / pageSize;
        qint64 begun = 0;
        for (qint64 n = 2; n <= pages; ++n)
            begun += begins(data + (n - 1) * pageSize, pageSize);
        // Noise begins a large page by chance about once in three hundred pages, so a few
        // must agree; a plain file's pages other than its b-trees' (overflow, free-list
        // trunks) are seldom most of them.
        if (begun >= 3 && begun * 2 >= pages - 1)
            return true;
    }
    return false;
}

int likelyPageSize(const uchar *data, qint64 size)
{
    QList<std::pair<int, double>> shares;
    double most = 0;
    for (int pageSize : pageSizes()) {
        const qint64 pages = size / pageSize;
        if (pages < 2)
            break;
        qint64 begun = 0;
        for (qint64 n = 2; n <= pages; ++n)
            begun += beginsPage(data + (n - 1) * pageSize, pageSize);
        const double share = double(begun) / double(pages - 1);
        shares.append({pageSize, share});
        most = std::max(most, share);
    }
    // A size smaller than the real one finds pages at only some of its boundaries; a larger
    // one skips pages, but finds as large a share of them.
    for (const auto &[pageSize, share] : shares)
        if (most > 0 && share >= most * 0.8)
            return pageSize;
    return 0;
}

} // namespace platform::DatabaseHeader

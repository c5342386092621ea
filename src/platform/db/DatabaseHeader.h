#pragma once

#include <QByteArray>
#include <QList>

#include <optional>
#include <utility>

namespace platform {

// The first 100 bytes of a plain database file: what the repair needs to read a file whose
// own header is damaged while its pages are intact.
namespace DatabaseHeader {

constexpr int Size = 100;

// The bytes a plain file begins with.
const QByteArray &magic();

// True when `head` (the file's first bytes, up to a page of the largest size) begins as a
// plain database does, keeps the bytes every plain header holds at a fixed place although
// its first bytes are damaged, begins wiped with zeros, or shows after its header the list
// of tables a plain first page holds.
bool looksPlain(const QByteArray &head);

// As many bytes of a file as looksPlain reads.
constexpr int LookedAt = 65536;

// The number of pages the header says the file has; nothing when the header does not say
// (its count is kept valid only while the change counter equals its version-valid-for).
std::optional<qint64> claimedPages(const QByteArray &head);

// True when a file of `fileSize` bytes whose header is `head` ends part way through a page.
bool cutShort(const QByteArray &head, qint64 fileSize);

// Page sizes to try for a file whose header no longer says, smallest first: a size smaller
// than the real one cuts the first page short, so its list of tables cannot be read.
const QList<int> &pageSizes();

// A header for a file of `fileSize` bytes in pages of `pageSize`, `reserve` bytes of each
// page holding no data: no free pages, UTF-8 text, the page count taken from the file's length.
QByteArray rebuilt(int pageSize, qint64 fileSize, int reserve = 0);

// A first page whose list of tables is empty, with a header as rebuilt() makes it.
QByteArray emptyFirstPage(int pageSize, qint64 fileSize, int reserve);

// The page size and the bytes each page reserves, as a plain header gives them; nothing when
// the header is not whole.
std::optional<std::pair<int, int>> pageLayout(const QByteArray &head);

// True when, under some page size, at least half the pages after the first of `bytes` (a
// file's first bytes) begin as the engine's b-tree pages begin: a plain file whose first
// page is garbled. An encrypted file's pages all look like noise.
bool laterPagesLookPlain(const QByteArray &bytes);

// As many bytes of a file as laterPagesLookPlain reads: a few pages of the largest size.
constexpr int PagesLookedAt = 4 * 65536;

// The page size under which most of the `size` bytes of a plain file at `data` begin pages
// as the engine's pages begin; 0 when none does.
int likelyPageSize(const uchar *data, qint64 size);

} // namespace DatabaseHeader

} // namespace platform

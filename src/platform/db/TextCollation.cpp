#include "platform/db/TextCollation.h"

#include <QChar>
#include <QHash>
#include <QVarLengthArray>

#include <sqlcipher/sqlite3.h>

#include <algorithm>
#include <vector>

namespace platform {

namespace {

struct Letter {
    QString primary;     // the base letters, case-folded
    char32_t fold = 0;   // what a pattern's letter matches against
    char32_t accent = 0; // 0 for a plain letter (any case), else what tells it from the plain one
};

// The characters the order passes over at the first level.
inline bool isMark(QChar::Category category)
{
    return category == QChar::Mark_NonSpacing || category == QChar::Mark_SpacingCombining ||
           category == QChar::Mark_Enclosing;
}

Letter computeLetter(char32_t c)
{
    const QString alone = QString::fromUcs4(&c, 1);
    QString base;
    for (const QChar ch : alone.normalized(QString::NormalizationForm_KD)) {
        if (!isMark(ch.category()))
            base += ch;
    }
    Letter letter;
    // Letters whose mark is part of their shape have no decomposition; they still sort with
    // the letters they are written from.
    for (const QChar ch : base.toCaseFolded()) {
        switch (ch.unicode()) {
        case 0x00DF:
            letter.primary += QLatin1String("ss");
            break; // ß
        case 0x00E6:
            letter.primary += QLatin1String("ae");
            break; // æ
        case 0x0153:
            letter.primary += QLatin1String("oe");
            break; // œ
        case 0x00FE:
            letter.primary += QLatin1String("th");
            break; // þ
        case 0x00F8:
            letter.primary += u'o';
            break;   // ø
        case 0x00F0: // ð
        case 0x0111:
            letter.primary += u'd';
            break; // đ
        case 0x0142:
            letter.primary += u'l';
            break; // ł
        case 0x0127:
            letter.primary += u'h';
            break; // ħ
        case 0x0167:
            letter.primary += u't';
            break; // ŧ
        case 0x0131:
            letter.primary += u'i';
            break; // ı
        default:
            letter.primary += ch;
            break;
        }
    }
    const QString caseFolded = alone.toCaseFolded();
    const char32_t folded = caseFolded.toUcs4().value(0, c);
    letter.fold = letter.primary.size() == 1 ? letter.primary.front().unicode() : folded;
    letter.accent = caseFolded == letter.primary ? 0 : folded + 1;
    return letter;
}

// Latin, Greek, Cyrillic, Hebrew and Arabic are looked up; rarer letters are worked out
// once per thread and kept.
constexpr char32_t TableSize = 0x800;

const Letter &letterOf(char32_t c)
{
    if (c < TableSize) {
        static const std::vector<Letter> table = [] {
            std::vector<Letter> letters(TableSize);
            for (char32_t k = 0; k < TableSize; ++k)
                letters[k] = computeLetter(k);
            return letters;
        }();
        return table[c];
    }
    thread_local QHash<char32_t, Letter> rare;
    auto it = rare.find(c);
    if (it == rare.end())
        it = rare.insert(c, computeLetter(c));
    return *it;
}

inline unsigned char lower(unsigned char b)
{
    return (b >= 'A' && b <= 'Z') ? b + 32 : b;
}

struct Keys {
    QVarLengthArray<char16_t, 128> primary;
    QVarLengthArray<char32_t, 128> accents;
};

void readKeys(const unsigned char *p, size_t n, Keys &keys)
{
    for (size_t i = 0; i < n;) {
        if (p[i] < 0x80) {
            keys.primary.append(lower(p[i++]));
            keys.accents.append(0);
            continue;
        }
        const Letter &letter = letterOf(nextUtf8Character(p, n, i));
        keys.primary.append(reinterpret_cast<const char16_t *>(letter.primary.constData()),
                            letter.primary.size());
        keys.accents.append(letter.accent);
    }
}

template <typename Array> int compareArrays(const Array &a, const Array &b)
{
    const auto [ia, ib] = std::mismatch(a.begin(), a.end(), b.begin(), b.end());
    if (ia != a.end() && ib != b.end())
        return *ia < *ib ? -1 : 1;
    return ia != a.end() ? 1 : ib != b.end() ? -1 : 0;
}

int collate(void *, int n1, const void *s1, int n2, const void *s2)
{
    return compareText(std::string_view(static_cast<const char *>(s1), size_t(n1)),
                       std::string_view(static_cast<const char *>(s2), size_t(n2)));
}

} // namespace

char32_t nextUtf8Character(const unsigned char *p, size_t n, size_t &i)
{
    const unsigned char b = p[i];
    int extra = 0;
    char32_t c = b;
    if (b >= 0xF0 && b < 0xF8) {
        c = b & 0x07;
        extra = 3;
    } else if (b >= 0xE0 && b < 0xF0) {
        c = b & 0x0F;
        extra = 2;
    } else if (b >= 0xC0 && b < 0xE0) {
        c = b & 0x1F;
        extra = 1;
    }
    if (extra == 0 || i + size_t(extra) >= n) {
        ++i;
        return b;
    }
    for (int k = 1; k <= extra; ++k) {
        if ((p[i + k] & 0xC0) != 0x80) {
            ++i;
            return b;
        }
        c = (c << 6) | (p[i + k] & 0x3F);
    }
    i += size_t(extra) + 1;
    return c;
}

QString primaryLetters(char32_t c)
{
    if (c < 0x80)
        return QString(QChar(char16_t(lower(static_cast<unsigned char>(c)))));
    return letterOf(c).primary;
}

char32_t foldedLetter(char32_t c)
{
    if (c < 0x80)
        return lower(static_cast<unsigned char>(c));
    return letterOf(c).fold;
}

bool isCombiningMark(char32_t c)
{
    // No character below U+0300 is one.
    return c >= 0x300 && isMark(QChar::category(c));
}

QString primaryText(QStringView text)
{
    QString out;
    out.reserve(text.size());
    for (const char32_t c : text.toUcs4())
        out += primaryLetters(c);
    return out;
}

int compareText(std::string_view a, std::string_view b)
{
    const auto *pa = reinterpret_cast<const unsigned char *>(a.data());
    const auto *pb = reinterpret_cast<const unsigned char *>(b.data());
    // Most names are plain ASCII: compared as NOCASE does until a letter beyond it turns up.
    size_t i = 0;
    const size_t common = std::min(a.size(), b.size());
    while (i < common && pa[i] < 0x80 && pb[i] < 0x80) {
        const unsigned char x = lower(pa[i]), y = lower(pb[i]);
        if (x != y)
            return x < y ? -1 : 1;
        ++i;
    }
    if (i == a.size() || i == b.size()) {
        // A text that goes on past the other sorts after it, even by a lone mark.
        return a.size() == b.size() ? 0 : (i == a.size() ? -1 : 1);
    }
    Keys ka, kb;
    readKeys(pa + i, a.size() - i, ka);
    readKeys(pb + i, b.size() - i, kb);
    if (const int primary = compareArrays(ka.primary, kb.primary))
        return primary;
    return compareArrays(ka.accents, kb.accents);
}

int compareCollated(const QString &a, const QString &b)
{
    const QByteArray left = a.toUtf8();
    const QByteArray right = b.toUtf8();
    return compareText({left.constData(), size_t(left.size())}, {right.constData(), size_t(right.size())});
}

void registerTextCollation(sqlite3 *db)
{
    sqlite3_create_collation_v2(db, TextCollationName, SQLITE_UTF8, nullptr, collate, nullptr);
}

} // namespace platform

#include "platform/db/jet/JetLikePattern.h"

#include "platform/db/TextCollation.h"

#include <QChar>
#include <QList>

namespace platform {

namespace {

inline char32_t fold(char32_t c)
{
    if (c < 0x80)
        return (c >= 'A' && c <= 'Z') ? c + 32 : c;
    return QChar::toCaseFolded(c);
}

// A plain letter in a pattern also matches its accented forms, so that "n" finds "Ñúñez"
// as the list's order puts it among the n's; a letter typed with its accent matches only
// that letter, in either case.
inline bool sameLetter(char32_t patternLetter, char32_t textLetter)
{
    return patternLetter == textLetter || (textLetter >= 0x80 && foldedLetter(textLetter) == patternLetter);
}

// Reads the character at byte i, folded, and moves i past it.
inline char32_t nextFolded(const unsigned char *p, size_t n, size_t &i)
{
    const unsigned char b = p[i];
    if (b < 0x80) {
        ++i;
        return (b >= 'A' && b <= 'Z') ? b + 32 : b;
    }
    return fold(nextUtf8Character(p, n, i));
}

// Reads the combining marks from byte i on, if any, and moves i past them; a letter they
// follow is composed with them into the one character Unicode has for them, where there is
// one (u and U+0308 into ü). The marks that stay apart are left in `marks`, folded, in their
// canonical order. Kept out of line: most letters have no marks.
[[gnu::noinline]] char32_t withMarks(char32_t letter, const unsigned char *p, size_t n, size_t &i,
                                     std::u32string &marks)
{
    marks.clear();
    while (i < n && p[i] >= 0xCC) {
        size_t next = i;
        const char32_t mark = nextUtf8Character(p, n, next);
        if (!isCombiningMark(mark))
            break;
        marks.push_back(mark);
        i = next;
    }
    if (marks.empty())
        return letter;
    const QString cluster =
        QString::fromUcs4(&letter, 1) + QString::fromUcs4(marks.data(), qsizetype(marks.size()));
    const QList<uint> composed = cluster.normalized(QString::NormalizationForm_C).toUcs4();
    marks.clear();
    for (qsizetype k = 1; k < composed.size(); ++k)
        marks.push_back(fold(composed[k]));
    return composed.isEmpty() ? letter : fold(composed[0]);
}

// Reads the letter at byte i, folded, with the combining marks after it, and moves i past
// them all: the order passes over such marks, so they belong to their letter.
inline char32_t nextLetter(const unsigned char *p, size_t n, size_t &i, std::u32string &marks)
{
    const char32_t c = nextFolded(p, n, i);
    // Every combining mark lies at U+0300 or beyond, whose UTF-8 starts at byte 0xCC.
    if (i < n && p[i] >= 0xCC)
        return withMarks(c, p, n, i, marks);
    if (!marks.empty())
        marks.clear();
    return c;
}

} // namespace

JetLikePattern::JetLikePattern(QStringView pattern)
{
    // Composed as far as Unicode composes, so that a letter typed decomposed is the letter.
    const std::vector<char32_t> p = [&] {
        std::vector<char32_t> raw;
        for (const char32_t c : pattern.toString().normalized(QString::NormalizationForm_C).toUcs4())
            raw.push_back(c);
        return raw;
    }();
    mElements.reserve(p.size());
    for (size_t i = 0; i < p.size(); ++i) {
        const char32_t c = p[i];
        if (c == '*') {
            // Runs of * behave as one.
            if (mElements.empty() || mElements.back().kind != Kind::Star)
                mElements.push_back({Kind::Star});
        } else if (c == '?') {
            mElements.push_back({Kind::AnyOne});
        } else if (c == '#') {
            mElements.push_back({Kind::Digit});
        } else if (c == '[') {
            size_t j = i + 1;
            Set set;
            if (j < p.size() && p[j] == '!') {
                set.negated = true;
                ++j;
            }
            while (j < p.size() && p[j] != ']') {
                char32_t lo = p[j];
                char32_t hi = lo;
                // A - between two characters makes a range; at either end it stands for itself.
                if (j + 2 < p.size() && p[j + 1] == '-' && p[j + 2] != ']') {
                    hi = p[j + 2];
                    j += 3;
                } else {
                    ++j;
                }
                if (hi < lo) {
                    mError = QStringLiteral("the range %1-%2 in the pattern runs backwards")
                                 .arg(QString::fromUcs4(&lo, 1), QString::fromUcs4(&hi, 1));
                    return;
                }
                if (lo == hi) {
                    set.ranges.emplace_back(fold(lo), fold(lo));
                } else {
                    set.ranges.emplace_back(lo, hi);
                    // Ranges of letters match either case.
                    set.ranges.emplace_back(fold(lo), fold(hi));
                }
            }
            if (j >= p.size()) {
                mError = QStringLiteral("a [ in the pattern is not closed");
                return;
            }
            i = j;
            if (set.ranges.empty()) {
                // [] matches the empty text; [!] any one character.
                if (set.negated)
                    mElements.push_back({Kind::AnyOne});
                continue;
            }
            mSets.push_back(std::move(set));
            mElements.push_back({Kind::Set, char32_t(mSets.size() - 1)});
        } else if (isCombiningMark(c) && !mElements.empty() && mElements.back().kind == Kind::Literal) {
            // A mark that composes with no letter before it stays with that letter.
            Element &letter = mElements.back();
            if (letter.marks == 0) {
                mMarks.emplace_back();
                letter.marks = quint32(mMarks.size());
            }
            mMarks[letter.marks - 1].push_back(fold(c));
        } else {
            mElements.push_back({Kind::Literal, fold(c)});
        }
    }
}

bool JetLikePattern::matchOne(const Element &e, char32_t c, const std::u32string &marks) const
{
    switch (e.kind) {
    case Kind::Literal:
        // Marks of the text's letter matter only to a letter typed with marks of its own.
        return e.marks == 0 ? sameLetter(e.ch, c) : e.ch == c && marks == mMarks[e.marks - 1];
    case Kind::AnyOne:
        return true;
    case Kind::Digit:
        return c >= '0' && c <= '9';
    case Kind::Set: {
        const Set &set = mSets[e.ch];
        bool in = false;
        for (const auto &[lo, hi] : set.ranges) {
            if ((c >= lo && c <= hi) || (c >= 0x80 && foldedLetter(c) >= lo && foldedLetter(c) <= hi)) {
                in = true;
                break;
            }
        }
        return in != set.negated;
    }
    case Kind::Star:
        break;
    }
    return false;
}

bool JetLikePattern::matches(std::string_view utf8) const
{
    // Every element but * takes exactly one character, so going back to the last * and
    // letting it take one more character is enough. The text is decoded as it is read:
    // most texts fail early, and decoding a whole text first would cost more than that.
    const auto *p = reinterpret_cast<const unsigned char *>(utf8.data());
    const size_t n = utf8.size();
    const size_t np = mElements.size();
    size_t e = 0, s = 0;
    size_t starE = np, starS = 0;
    std::u32string marks;
    // After a * followed by a plain ASCII character, the bytes that cannot be that
    // character are skipped in one go (any other byte is left to the full comparison).
    auto skipToCandidate = [&](size_t from) {
        if (starE + 1 >= np || mElements[starE + 1].kind != Kind::Literal || mElements[starE + 1].ch >= 0x80)
            return from;
        const char32_t wanted = mElements[starE + 1].ch;
        while (from < n && p[from] < 0x80 && fold(p[from]) != wanted)
            ++from;
        return from;
    };
    while (s < n) {
        if (e < np && mElements[e].kind == Kind::Star) {
            starE = e++;
            starS = s = skipToCandidate(s);
            continue;
        }
        if (e < np) {
            size_t after = s;
            const char32_t c = nextLetter(p, n, after, marks);
            if (matchOne(mElements[e], c, marks)) {
                ++e;
                s = after;
                continue;
            }
        }
        if (starE == np)
            return false;
        e = starE + 1;
        nextLetter(p, n, starS, marks);
        s = starS = skipToCandidate(starS);
    }
    while (e < np && mElements[e].kind == Kind::Star)
        ++e;
    return e == np;
}

JetLikePattern::CollationRange JetLikePattern::collationRange() const
{
    CollationRange range;
    // A NUL would end the SQL text the bounds are written into.
    for (size_t n = 0; n < mElements.size() && mElements[n].kind == Kind::Literal && mElements[n].ch > 0; ++n)
        range.from += primaryLetters(mElements[n].ch);
    if (range.from.isEmpty() || primaryText(range.from) != range.from) {
        range.from.clear();
        return range;
    }
    // The text just past every text whose base letters start with `from`: its last
    // character raised to the next one that stands for itself in the order.
    const char16_t last = range.from.back().unicode();
    if (QChar::isSurrogate(last))
        return range;
    for (char32_t next = char32_t(last) + 1; next < char32_t(last) + 64 && !QChar::isSurrogate(next);
         ++next) {
        if (primaryLetters(next) == QString(QChar(char16_t(next)))) {
            range.before = range.from.first(range.from.size() - 1) + QChar(char16_t(next));
            break;
        }
    }
    return range;
}

bool JetLikePattern::matches(QStringView text) const
{
    const QByteArray utf8 = text.toUtf8();
    return matches(std::string_view(utf8.constData(), size_t(utf8.size())));
}

} // namespace platform

#include "platform/db/jet/JetLikePattern.h"

#include <QChar>
#include <QList>

namespace platform {

namespace {

inline char32_t fold(char32_t c)
{
    if (c < 0x80)
        return (c >= 'A' && c <= 'Z') ? c + 32 : c;
    // Nothing outside ASCII folds into it (the long s and the Kelvin sign would): an ASCII
    // letter matches only its own two cases, as the columns' NOCASE order has it.
    const char32_t folded = QChar::toCaseFolded(c);
    return folded < 0x80 ? c : folded;
}

// Reads the character at byte i and moves i past it. Decodes leniently: a byte that
// starts no valid sequence stands for itself.
inline char32_t nextFolded(const unsigned char *p, size_t n, size_t &i)
{
    const unsigned char b = p[i];
    if (b < 0x80) {
        ++i;
        return (b >= 'A' && b <= 'Z') ? b + 32 : b;
    }
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
    if (extra == 0 || i + extra >= n)
        return ++i, fold(b);
    for (int k = 1; k <= extra; ++k) {
        if ((p[i + k] & 0xC0) != 0x80)
            return ++i, fold(b);
        c = (c << 6) | (p[i + k] & 0x3F);
    }
    i += extra + 1;
    return fold(c);
}

} // namespace

JetLikePattern::JetLikePattern(QStringView pattern)
{
    const std::vector<char32_t> p = [&] {
        std::vector<char32_t> raw;
        for (const char32_t c : pattern.toUcs4())
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
        } else {
            mElements.push_back({Kind::Literal, fold(c)});
        }
    }
}

bool JetLikePattern::matchOne(const Element &e, char32_t c) const
{
    switch (e.kind) {
    case Kind::Literal:
        return e.ch == c;
    case Kind::AnyOne:
        return true;
    case Kind::Digit:
        return c >= '0' && c <= '9';
    case Kind::Set: {
        const Set &set = mSets[e.ch];
        bool in = false;
        for (const auto &[lo, hi] : set.ranges) {
            if (c >= lo && c <= hi) {
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
            if (matchOne(mElements[e], nextFolded(p, n, after))) {
                ++e;
                s = after;
                continue;
            }
        }
        if (starE == np)
            return false;
        e = starE + 1;
        nextFolded(p, n, starS);
        s = starS = skipToCandidate(starS);
    }
    while (e < np && mElements[e].kind == Kind::Star)
        ++e;
    return e == np;
}

JetLikePattern::NoCaseRange JetLikePattern::noCaseRange() const
{
    NoCaseRange range;
    size_t n = 0;
    // Literals are already folded, so an ASCII one is its NOCASE form. A NUL would end the
    // SQL text the bounds are written into.
    while (n < mElements.size() && mElements[n].kind == Kind::Literal && mElements[n].ch > 0 &&
           mElements[n].ch < 0x80)
        range.from.append(QChar(char16_t(mElements[n++].ch)));
    if (range.from.isEmpty()) {
        // A pattern that opens with a letter beyond ASCII matches only texts that do too
        // (folding never crosses that line), and those all sort from U+0080 on.
        if (!mElements.empty() && mElements[0].kind == Kind::Literal && mElements[0].ch >= 0x80)
            range.from = QString(QChar(char16_t(0x80)));
        return range;
    }
    range.exact = n == mElements.size();
    // The text just past every text that starts with `from`: its last character one higher.
    // After DEL that is U+0080, whose first UTF-8 byte is above every ASCII byte. After @,
    // A would read as a, so the next character NOCASE can tell apart is [.
    char16_t last = char16_t(range.from.back().unicode() + 1);
    if (last == u'A')
        last = u'[';
    range.before = range.from.first(range.from.size() - 1) + QChar(last);
    return range;
}

bool JetLikePattern::matches(QStringView text) const
{
    const QByteArray utf8 = text.toUtf8();
    return matches(std::string_view(utf8.constData(), size_t(utf8.size())));
}

} // namespace platform

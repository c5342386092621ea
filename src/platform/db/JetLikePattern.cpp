#include "platform/db/JetLikePattern.h"

#include <QChar>
#include <QList>

namespace platform {

namespace {

char32_t fold(char32_t c)
{
    if (c < 0x80)
        return (c >= 'A' && c <= 'Z') ? c + 32 : c;
    return QChar::toCaseFolded(c);
}

std::vector<char32_t> foldedCodePoints(QStringView text)
{
    std::vector<char32_t> out;
    out.reserve(text.size());
    for (const char32_t c : text.toUcs4())
        out.push_back(fold(c));
    return out;
}

// Decodes leniently: a byte that starts no valid sequence stands for itself.
void decodeFolded(std::string_view s, std::vector<char32_t> &out)
{
    out.clear();
    const auto *p = reinterpret_cast<const unsigned char *>(s.data());
    const size_t n = s.size();
    size_t i = 0;
    while (i < n) {
        const unsigned char b = p[i];
        char32_t c = b;
        int extra = 0;
        if (b >= 0xF0 && b < 0xF8) {
            c = b & 0x07;
            extra = 3;
        } else if (b >= 0xE0) {
            c = b & 0x0F;
            extra = 2;
        } else if (b >= 0xC0) {
            c = b & 0x1F;
            extra = 1;
        }
        if (extra) {
            bool ok = i + extra < n;
            for (int k = 1; ok && k <= extra; ++k) {
                if ((p[i + k] & 0xC0) != 0x80)
                    ok = false;
                else
                    c = (c << 6) | (p[i + k] & 0x3F);
            }
            if (ok) {
                out.push_back(fold(c));
                i += extra + 1;
                continue;
            }
        }
        out.push_back(fold(b));
        ++i;
    }
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

bool JetLikePattern::matchFolded(const std::vector<char32_t> &text) const
{
    // Every element but * takes exactly one character, so going back to the last * and
    // letting it take one more character is enough.
    const size_t np = mElements.size();
    const size_t ns = text.size();
    size_t p = 0, s = 0;
    size_t starP = np, starS = 0;
    while (s < ns) {
        if (p < np && mElements[p].kind == Kind::Star) {
            starP = p++;
            starS = s;
            continue;
        }
        if (p < np && matchOne(mElements[p], text[s])) {
            ++p;
            ++s;
            continue;
        }
        if (starP == np)
            return false;
        p = starP + 1;
        s = ++starS;
    }
    while (p < np && mElements[p].kind == Kind::Star)
        ++p;
    return p == np;
}

bool JetLikePattern::matches(std::string_view utf8) const
{
    thread_local std::vector<char32_t> buffer;
    decodeFolded(utf8, buffer);
    return matchFolded(buffer);
}

bool JetLikePattern::matches(QStringView text) const
{
    return matchFolded(foldedCodePoints(text));
}

} // namespace platform

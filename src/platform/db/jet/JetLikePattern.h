#pragma once

#include <QString>
#include <QStringView>
#include <string_view>
#include <utility>
#include <vector>

namespace platform {

// A compiled pattern of the query language's Like: * any run of characters, ? any one
// character, # one digit, [a-c] one of a set, [!a-c] one not in it; anything else
// (% and _ too) stands for itself. The whole text must match, ignoring case.
class JetLikePattern {
  public:
    explicit JetLikePattern(QStringView pattern);

    // False for a set that is not closed or a range that runs backwards.
    bool isValid() const { return mError.isEmpty(); }
    const QString &error() const { return mError; }

    bool matches(std::string_view utf8) const;
    bool matches(QStringView text) const;

    // The texts the pattern can match all lie in [from, before) as SQLite's NOCASE collation
    // orders texts (A to Z read as a to z, then byte by byte): `from` is the run of ASCII
    // characters the pattern starts with, lower-cased. With `exact` the pattern is that run
    // alone and matches only texts NOCASE-equal to it. `from` is empty when the pattern
    // starts with anything else.
    struct NoCaseRange {
        QString from;
        QString before;
        bool exact = false;
    };
    NoCaseRange noCaseRange() const;

  private:
    enum class Kind { Literal, AnyOne, Digit, Star, Set };
    struct Element {
        Kind kind;
        char32_t ch = 0; // Literal: the character, case-folded; Set: index into mSets
    };
    struct Set {
        bool negated = false;
        std::vector<std::pair<char32_t, char32_t>> ranges; // case-folded bounds
    };

    bool matchOne(const Element &e, char32_t c) const;

    std::vector<Element> mElements;
    std::vector<Set> mSets;
    QString mError;
};

} // namespace platform

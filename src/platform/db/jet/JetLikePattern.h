#pragma once

#include <QString>
#include <QStringView>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace platform {

// A compiled pattern of the query language's Like: * any run of characters, ? any one
// character, # one digit, [a-c] one of a set, [!a-c] one not in it; anything else
// (% and _ too) stands for itself. The whole text must match, ignoring case; a plain letter
// also matches its accented forms. A letter is read with the combining marks written after it,
// as the order reads it: decomposed or precomposed, ü is one letter, which u matches too.
class JetLikePattern {
  public:
    explicit JetLikePattern(QStringView pattern);

    // False for a set that is not closed or a range that runs backwards.
    bool isValid() const { return mError.isEmpty(); }
    const QString &error() const { return mError; }

    bool matches(std::string_view utf8) const;
    bool matches(QStringView text) const;

    // The texts the pattern can match all lie in [from, before) in the text columns' order:
    // `from` is the base letters of the plain characters the pattern starts with. `from`
    // is empty when the pattern starts with anything else; `before` is empty when no
    // upper bound could be written.
    struct CollationRange {
        QString from;
        QString before;
    };
    CollationRange collationRange() const;

  private:
    enum class Kind { Literal, AnyOne, Digit, Star, Set };
    struct Element {
        Kind kind;
        char32_t ch = 0; // Literal: the character, case-folded; Set: index into mSets
        // Literal: 1 + index into mMarks when typed with marks that compose into no single
        // character with it (a pointed Hebrew letter); such a letter matches only itself.
        quint32 marks = 0;
    };
    struct Set {
        bool negated = false;
        std::vector<std::pair<char32_t, char32_t>> ranges; // case-folded bounds
    };

    bool matchOne(const Element &e, char32_t c, const std::u32string &marks) const;

    std::vector<Element> mElements;
    std::vector<Set> mSets;
    std::vector<std::u32string> mMarks;
    QString mError;
};

} // namespace platform

#pragma once

#include <QString>
#include <vector>

namespace platform {

enum class JetTokenKind {
    End,
    Word,        // a name or a keyword: letters, digits and underscores
    BracketName, // [any name]; text holds the name without the brackets
    String,      // "..." or '...'; text holds the value with doubled quotes undone
    Number,      // 12, 1.5, .5, 1e3
    Date,        // #...#; text holds what stands between the two #
    Symbol,      // = <> < > <= >= ( ) , . * + - / \ & ^ ;
};

struct JetToken {
    JetTokenKind kind = JetTokenKind::End;
    QString text;
    int position = 0; // offset of the token in the query text

    bool isWord(QLatin1StringView word) const
    {
        return kind == JetTokenKind::Word && text.compare(word, Qt::CaseInsensitive) == 0;
    }
    bool isSymbol(QLatin1StringView symbol) const { return kind == JetTokenKind::Symbol && text == symbol; }
};

// Splits a query text into tokens; the last token is always End. Throws RuntimeError 3075
// for an unterminated literal or name, or a character the query language does not use.
class JetLexer {
  public:
    static std::vector<JetToken> tokenize(const QString &text);
};

} // namespace platform

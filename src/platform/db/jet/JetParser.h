#pragma once

#include "platform/db/jet/JetDialect.h"
#include "platform/db/jet/JetLexer.h"

#include <vector>

namespace platform {

// Reads one query text or condition and writes the SQLite equivalent as it goes
// (recursive descent over the tokens; nothing is kept beyond the result). Every name is
// checked against the catalog, so a text that translates names only what exists.
class JetParser {
  public:
    JetParser(const QString &text, const JetCatalog &catalog);

    JetTranslation statement(JetTextKind kind);
    QString criterion(const QString &source);

  private:
    // What the translator knows of a value's type, enough to choose the operation that
    // behaves as the query language's does (dates are stored as text, for one).
    enum class Kind { Unknown, Text, Number, Date, Null };

    struct Fragment {
        Fragment() = default;
        Fragment(QString s, Kind k, bool isColumn = false) : sql(std::move(s)), kind(k), column(isColumn) {}
        QString sql;
        Kind kind = Kind::Unknown;
        bool column = false;     // a plain column, compared by the column's own collation
        bool literal = false;    // a text literal; its value is in `value`
        bool textColumn = false; // a plain column whose values are all texts (or Null)
        QString value;
    };

    struct Table {
        QString name;
        QString alias;
        // A copy (shared, so cheap): the catalog's own list may move when it learns
        // another table.
        QList<JetColumn> columns;
    };

    struct Scope {
        std::vector<Table> tables;
        QStringList outputNames; // AS names of the select list, for ORDER BY and HAVING
        bool outputNamesVisible = false;
        bool bareColumns = false; // a criterion: columns are written without their table
        Scope *outer = nullptr;
    };

    // Tokens
    void refuseSecondStatement(bool allowClosingSemicolon);
    const JetToken &peek(int ahead = 0) const;
    const JetToken &next();
    bool acceptWord(const char *word);
    void expectWord(const char *word);
    bool acceptSymbol(const char *symbol);
    void expectSymbol(const char *symbol);
    bool atReservedWord(int ahead = 0) const;
    QString describe(const JetToken &token) const;
    [[noreturn]] void syntaxError(const QString &detail) const;
    [[noreturn]] void unexpected() const;
    [[noreturn]] void unknownName(const QString &name) const;

    // Statements
    QString select(QStringList *tables);
    QString selectList();
    QString fromList(QStringList *tables);
    QString joinExpression(QStringList *tables);
    QString tableTerm(QStringList *tables);
    QString insertStatement(QStringList *tables);
    QString updateStatement(QStringList *tables);
    QString deleteStatement(QStringList *tables);
    QString subquery();
    QString condition();
    const Table &addTable(const QString &name, const QString &alias, QStringList *tables);
    QString tableName();

    // Expressions, lowest precedence first
    Fragment expression();
    Fragment conjunction();
    Fragment negation();
    Fragment comparison();
    Fragment concatenation();
    Fragment additive();
    Fragment modulo();
    Fragment integerDivision();
    Fragment multiplicative();
    Fragment unary();
    Fragment power();
    Fragment primary();
    Fragment nameReference();
    Fragment functionCall(const QString &name);
    Fragment columnFragment(const QString &sql, const JetColumn &column) const;
    const JetColumn *findColumn(const Table &table, const QString &name) const;

    Fragment compare(Fragment left, const QString &op, Fragment right) const;
    Fragment like(const Fragment &value, const Fragment &pattern, bool negated) const;
    static QString textOf(const Fragment &f);
    static QString collated(const Fragment &left, const std::vector<const Fragment *> &others);
    static void coerceToDate(const Fragment &date, Fragment &other);
    void matchLiteral(const Fragment &typed, Fragment &other) const;
    [[noreturn]] void typeMismatch(const QString &text) const;

    class DepthGuard {
      public:
        explicit DepthGuard(JetParser &parser);
        ~DepthGuard();
        DepthGuard(const DepthGuard &) = delete;
        DepthGuard &operator=(const DepthGuard &) = delete;

      private:
        JetParser &mParser;
    };

    const QString &mText;
    const JetCatalog &mCatalog;
    std::vector<JetToken> mTokens;
    size_t mPos = 0;
    Scope *mScope = nullptr;
    int mDepth = 0;
};

} // namespace platform

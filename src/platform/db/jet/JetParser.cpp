#include "platform/db/jet/JetParser.h"
#include "platform/db/TextCollation.h"

#include "platform/RuntimeError.h"
#include "platform/base/DateText.h"
#include "platform/db/DaoError.h"
#include "platform/db/jet/JetDateLiteral.h"
#include "platform/db/jet/JetLikePattern.h"
#include "platform/db/jet/JetValue.h"

#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <optional>

namespace platform {

namespace {

QString quoteName(const QString &name)
{
    QString out = name;
    out.replace(u'"', QLatin1String("\"\""));
    return u'"' + out + u'"';
}

QString quoteText(const QString &value)
{
    QString out = value;
    out.replace(u'\'', QLatin1String("''"));
    return u'\'' + out + u'\'';
}

bool sameName(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// Words that end a name or an expression, so they are never taken for an alias.
constexpr const char *reservedWords[] = {
    "select", "from",   "where", "order",    "group",       "by",     "having", "inner", "left",    "right",
    "full",   "outer",  "join",  "on",       "as",          "and",    "or",     "not",   "xor",     "union",
    "into",   "values", "set",   "asc",      "desc",        "like",   "is",     "in",    "between", "mod",
    "null",   "exists", "top",   "distinct", "distinctrow", "insert", "update", "delete"};

} // namespace

JetParser::JetParser(const QString &text, const JetCatalog &catalog)
    : mText(text), mCatalog(catalog), mTokens(JetLexer::tokenize(text))
{
}

void JetParser::refuseSecondStatement(bool allowClosingSemicolon)
{
    // A statement may end with one ';'; anything after it would be a second statement.
    for (size_t i = 0; i < mTokens.size(); ++i) {
        if (!mTokens[i].isSymbol(QLatin1StringView(";")))
            continue;
        if (allowClosingSemicolon && mTokens[i + 1].kind == JetTokenKind::End) {
            mTokens.erase(mTokens.begin() + qsizetype(i));
            return;
        }
        throw RuntimeError(
            err::CharactersAfterEnd,
            QStringLiteral("Characters found after end of SQL statement: '%1' holds more than one "
                           "statement, and none of it was run.")
                .arg(mText.trimmed()));
    }
}

// ---------------------------------------------------------------- tokens

const JetToken &JetParser::peek(int ahead) const
{
    const size_t i = std::min(mPos + size_t(ahead), mTokens.size() - 1);
    return mTokens[i];
}

const JetToken &JetParser::next()
{
    const JetToken &t = mTokens[mPos];
    if (mPos + 1 < mTokens.size())
        ++mPos;
    return t;
}

bool JetParser::acceptWord(const char *word)
{
    if (!peek().isWord(QLatin1StringView(word)))
        return false;
    next();
    return true;
}

void JetParser::expectWord(const char *word)
{
    if (!acceptWord(word))
        syntaxError(QStringLiteral("%1 expected where %2 stands")
                        .arg(QString::fromLatin1(word).toUpper(), describe(peek())));
}

bool JetParser::acceptSymbol(const char *symbol)
{
    if (!peek().isSymbol(QLatin1StringView(symbol)))
        return false;
    next();
    return true;
}

void JetParser::expectSymbol(const char *symbol)
{
    if (!acceptSymbol(symbol))
        syntaxError(
            QStringLiteral("'%1' expected where %2 stands").arg(QLatin1String(symbol), describe(peek())));
}

bool JetParser::atReservedWord(int ahead) const
{
    const JetToken &t = peek(ahead);
    if (t.kind != JetTokenKind::Word)
        return false;
    for (const char *w : reservedWords) {
        if (t.isWord(QLatin1StringView(w)))
            return true;
    }
    return false;
}

QString JetParser::describe(const JetToken &t) const
{
    switch (t.kind) {
    case JetTokenKind::End:
        return QStringLiteral("the end of the text");
    case JetTokenKind::String:
        return QStringLiteral("the text \"%1\"").arg(t.text);
    case JetTokenKind::BracketName:
        return QStringLiteral("[%1]").arg(t.text);
    case JetTokenKind::Date:
        return QStringLiteral("#%1#").arg(t.text);
    default:
        return QStringLiteral("'%1'").arg(t.text);
    }
}

void JetParser::syntaxError(const QString &detail) const
{
    throw RuntimeError(
        err::SyntaxError,
        QStringLiteral("Syntax error in query expression '%1': %2.").arg(mText.trimmed(), detail));
}

void JetParser::unexpected() const
{
    if (peek().kind == JetTokenKind::End)
        syntaxError(QStringLiteral("the text ends too early"));
    syntaxError(QStringLiteral("%1 was not expected here").arg(describe(peek())));
}

void JetParser::unknownName(const QString &name) const
{
    throw RuntimeError(err::UnknownName,
                       QStringLiteral("The name '%1' in '%2' is no field, table or query of "
                                      "the database.")
                           .arg(name, mText.trimmed()));
}

// ---------------------------------------------------------------- statements

JetTranslation JetParser::statement(JetTextKind kind)
{
    refuseSecondStatement(true);
    JetTranslation result;
    const JetToken &first = peek();
    if (kind == JetTextKind::ReadOnlyQuery) {
        for (const char *action : {"delete", "insert", "update", "drop", "create", "alter"}) {
            if (first.isWord(QLatin1StringView(action)))
                throw RuntimeError(
                    err::InvalidOperation,
                    QStringLiteral("Invalid operation: a record source only reads, and '%1' would "
                                   "change the database; it was not run.")
                        .arg(mText.trimmed()));
        }
    }
    if (first.isWord(QLatin1StringView("select"))) {
        result.sql = select(&result.tables);
    } else if (kind == JetTextKind::ActionQuery && first.isWord(QLatin1StringView("insert"))) {
        result.sql = insertStatement(&result.tables);
    } else if (kind == JetTextKind::ActionQuery && first.isWord(QLatin1StringView("update"))) {
        result.sql = updateStatement(&result.tables);
    } else if (kind == JetTextKind::ActionQuery && first.isWord(QLatin1StringView("delete"))) {
        result.sql = deleteStatement(&result.tables);
    } else if (kind == JetTextKind::ReadOnlyQuery) {
        syntaxError(QStringLiteral("a record source must be one SELECT statement, and %1 begins none")
                        .arg(describe(first)));
    } else {
        syntaxError(QStringLiteral("a query must be one SELECT, INSERT, UPDATE or DELETE statement, and %1 "
                                   "begins none")
                        .arg(describe(first)));
    }
    if (peek().kind != JetTokenKind::End)
        unexpected();
    return result;
}

QString JetParser::criterion(const QString &source)
{
    refuseSecondStatement(false);
    const QList<JetColumn> *columns = mCatalog(source);
    if (!columns)
        unknownName(source);
    Scope scope;
    scope.tables.push_back({source, QString(), *columns});
    scope.bareColumns = true;
    mScope = &scope;
    if (peek().kind == JetTokenKind::End)
        syntaxError(QStringLiteral("the condition is empty"));
    const Fragment f = expression();
    if (peek().kind != JetTokenKind::End)
        unexpected();
    mScope = nullptr;
    return f.sql;
}

QString JetParser::select(QStringList *tables)
{
    expectWord("select");
    QString sql = QStringLiteral("SELECT ");
    // DISTINCTROW only matters over joins the query language keeps updatable; over the
    // rows of one source it changes nothing, so it is dropped.
    if (acceptWord("distinct"))
        sql += QLatin1String("DISTINCT ");
    else if (!acceptWord("distinctrow"))
        acceptWord("all");
    QString limit;
    if (acceptWord("top")) {
        if (peek().kind != JetTokenKind::Number || !peek().text.toUInt())
            syntaxError(QStringLiteral("TOP must be followed by a whole number"));
        limit = next().text;
        if (peek().isWord(QLatin1StringView("percent")))
            syntaxError(QStringLiteral("TOP ... PERCENT is not supported"));
    }

    Scope scope;
    scope.outer = mScope;
    mScope = &scope;

    // The select list names columns of the tables after FROM, so FROM is read first.
    const size_t listStart = mPos;
    size_t fromPos = 0;
    int depth = 0;
    for (size_t i = mPos; mTokens[i].kind != JetTokenKind::End; ++i) {
        const JetToken &t = mTokens[i];
        if (t.isSymbol(QLatin1StringView("(")))
            ++depth;
        else if (t.isSymbol(QLatin1StringView(")")) && --depth < 0)
            break;
        else if (depth == 0 && t.isWord(QLatin1StringView("from"))) {
            fromPos = i;
            break;
        }
    }
    QString from;
    size_t afterFrom = 0;
    if (fromPos) {
        mPos = fromPos + 1;
        from = fromList(tables);
        afterFrom = mPos;
        mPos = listStart;
    }
    sql += selectList();
    if (fromPos) {
        if (mPos != fromPos)
            unexpected();
        mPos = afterFrom;
        sql += QLatin1String(" FROM ") + from;
    }

    if (acceptWord("where"))
        sql += QLatin1String(" WHERE ") + condition();
    if (acceptWord("group")) {
        expectWord("by");
        QStringList items;
        do {
            items << expression().sql;
        } while (acceptSymbol(","));
        sql += QLatin1String(" GROUP BY ") + items.join(QLatin1String(", "));
    }
    scope.outputNamesVisible = true;
    if (acceptWord("having"))
        sql += QLatin1String(" HAVING ") + condition();
    if (acceptWord("order")) {
        expectWord("by");
        QStringList items;
        do {
            const Fragment f = expression();
            // Text sorts without regard to case or accents; a column brings its own order
            // (an explicit one would keep a find over the list from using the column's index).
            QString item = f.sql;
            if (f.kind == Kind::Text && !f.column)
                item += QLatin1String(" COLLATE ") + QLatin1String(TextCollationName);
            if (acceptWord("desc"))
                item += QLatin1String(" DESC");
            else
                acceptWord("asc");
            items << item;
        } while (acceptSymbol(","));
        sql += QLatin1String(" ORDER BY ") + items.join(QLatin1String(", "));
    }
    if (peek().isWord(QLatin1StringView("union")))
        syntaxError(QStringLiteral("UNION is not supported"));
    if (!limit.isEmpty())
        sql += QLatin1String(" LIMIT ") + limit;
    mScope = scope.outer;
    return sql;
}

QString JetParser::selectList()
{
    QStringList items;
    do {
        if (acceptSymbol("*")) {
            items << QStringLiteral("*");
            continue;
        }
        if ((peek().kind == JetTokenKind::Word || peek().kind == JetTokenKind::BracketName) &&
            peek(1).isSymbol(QLatin1StringView(".")) && peek(2).isSymbol(QLatin1StringView("*"))) {
            const QString name = next().text;
            next();
            next();
            bool found = false;
            for (const Table &t : mScope->tables)
                found = found || sameName(t.alias.isEmpty() ? t.name : t.alias, name);
            if (!found)
                unknownName(name);
            items << quoteName(name) + QLatin1String(".*");
            continue;
        }
        QString item = expression().sql;
        if (acceptWord("as")) {
            if (peek().kind != JetTokenKind::Word && peek().kind != JetTokenKind::BracketName)
                syntaxError(QStringLiteral("a name must follow AS"));
            const QString alias = next().text;
            mScope->outputNames << alias;
            item += QLatin1String(" AS ") + quoteName(alias);
        }
        items << item;
    } while (acceptSymbol(","));
    return items.join(QLatin1String(", "));
}

QString JetParser::fromList(QStringList *tables)
{
    QString sql = joinExpression(tables);
    while (acceptSymbol(","))
        sql += QLatin1String(", ") + joinExpression(tables);
    return sql;
}

QString JetParser::joinExpression(QStringList *tables)
{
    QString sql = tableTerm(tables);
    for (;;) {
        QString join;
        if (acceptWord("inner")) {
            join = QStringLiteral("INNER JOIN");
        } else if (acceptWord("left")) {
            acceptWord("outer");
            join = QStringLiteral("LEFT JOIN");
        } else if (peek().isWord(QLatin1StringView("right")) || peek().isWord(QLatin1StringView("full"))) {
            syntaxError(QStringLiteral("%1 JOIN is not supported; write it as a LEFT JOIN with the tables "
                                       "the other way round")
                            .arg(peek().text.toUpper()));
        } else if (!peek().isWord(QLatin1StringView("join"))) {
            return sql;
        }
        expectWord("join");
        const QString right = tableTerm(tables);
        expectWord("on");
        sql += u' ' + join + u' ' + right + QLatin1String(" ON ") + condition();
    }
}

QString JetParser::tableName()
{
    const JetToken &t = peek();
    if ((t.kind != JetTokenKind::Word && t.kind != JetTokenKind::BracketName) || atReservedWord())
        syntaxError(QStringLiteral("a table or query name expected where %1 stands").arg(describe(t)));
    return next().text;
}

const JetParser::Table &JetParser::addTable(const QString &name, const QString &alias, QStringList *tables)
{
    const QList<JetColumn> *columns = mCatalog(name);
    if (!columns)
        throw RuntimeError(err::InputTableNotFound,
                           QStringLiteral("The database engine cannot find the input table or query '%1'. "
                                          "Make sure it exists and that its name is spelled correctly.")
                               .arg(name));
    if (tables)
        tables->append(name);
    mScope->tables.push_back({name, alias, *columns});
    return mScope->tables.back();
}

QString JetParser::tableTerm(QStringList *tables)
{
    if (acceptSymbol("(")) {
        const DepthGuard guard(*this);
        if (peek().isWord(QLatin1StringView("select")))
            syntaxError(QStringLiteral("a query in the FROM clause is not supported"));
        const QString inner = joinExpression(tables);
        expectSymbol(")");
        return u'(' + inner + u')';
    }
    const QString name = tableName();
    QString alias;
    if (acceptWord("as"))
        alias = tableName();
    else if ((peek().kind == JetTokenKind::Word || peek().kind == JetTokenKind::BracketName) &&
             !atReservedWord())
        alias = next().text;
    addTable(name, alias, tables);
    return alias.isEmpty() ? quoteName(name) : quoteName(name) + QLatin1String(" AS ") + quoteName(alias);
}

QString JetParser::insertStatement(QStringList *tables)
{
    expectWord("insert");
    expectWord("into");
    Scope scope;
    mScope = &scope;
    const QString name = tableName();
    const Table target = addTable(name, QString(), tables);
    QStringList columns;
    std::vector<const JetColumn *> targetColumns;
    if (acceptSymbol("(")) {
        do {
            const JetToken &t = next();
            if (t.kind != JetTokenKind::Word && t.kind != JetTokenKind::BracketName)
                syntaxError(QStringLiteral("a field name expected in the INSERT list"));
            const JetColumn *c = findColumn(target, t.text);
            if (!c)
                unknownName(t.text);
            columns << quoteName(c->name);
            targetColumns.push_back(c);
        } while (acceptSymbol(","));
        expectSymbol(")");
    } else {
        for (const JetColumn &c : target.columns)
            targetColumns.push_back(&c);
    }
    QString sql = QLatin1String("INSERT INTO ") + quoteName(name);
    if (!columns.isEmpty())
        sql += QLatin1String(" (") + columns.join(QLatin1String(", ")) + u')';
    if (acceptWord("values")) {
        // The values are read without the target table in scope: they name no columns.
        Scope values;
        mScope = &values;
        expectSymbol("(");
        QStringList items;
        do {
            Fragment f = expression();
            const size_t i = size_t(items.size());
            if (i < targetColumns.size() && targetColumns[i]->type == JetType::DateTime) {
                Fragment dateColumn;
                dateColumn.kind = Kind::Date;
                coerceToDate(dateColumn, f);
            }
            items << f.sql;
        } while (acceptSymbol(","));
        expectSymbol(")");
        sql += QLatin1String(" VALUES (") + items.join(QLatin1String(", ")) + u')';
    } else if (peek().isWord(QLatin1StringView("select"))) {
        mScope = nullptr;
        sql += u' ' + select(tables);
    } else {
        unexpected();
    }
    mScope = nullptr;
    return sql;
}

QString JetParser::updateStatement(QStringList *tables)
{
    expectWord("update");
    // SQLite names the columns of an UPDATE or DELETE without their table.
    Scope scope;
    scope.bareColumns = true;
    mScope = &scope;
    const QString name = tableName();
    const Table target = addTable(name, QString(), tables);
    if (!peek().isWord(QLatin1StringView("set")))
        syntaxError(
            QStringLiteral("SET expected after the table of an UPDATE; joins are not supported there"));
    expectWord("set");
    QStringList assignments;
    do {
        Fragment column = nameReference();
        if (!column.column)
            syntaxError(QStringLiteral("a field name expected before '='"));
        expectSymbol("=");
        Fragment value = expression();
        if (column.kind == Kind::Date)
            coerceToDate(column, value);
        assignments << column.sql + QLatin1String(" = ") + value.sql;
    } while (acceptSymbol(","));
    QString sql = QLatin1String("UPDATE ") + quoteName(target.name) + QLatin1String(" SET ") +
                  assignments.join(QLatin1String(", "));
    if (acceptWord("where"))
        sql += QLatin1String(" WHERE ") + condition();
    mScope = nullptr;
    return sql;
}

QString JetParser::deleteStatement(QStringList *tables)
{
    expectWord("delete");
    // "Delete *" and "Delete tbl.*" name what the query language deletes: whole rows.
    QString named;
    if (!acceptSymbol("*") && !peek().isWord(QLatin1StringView("from"))) {
        named = tableName();
        expectSymbol(".");
        expectSymbol("*");
    }
    expectWord("from");
    Scope scope;
    scope.bareColumns = true;
    mScope = &scope;
    const QString name = tableName();
    addTable(name, QString(), tables);
    if (!named.isEmpty() && !sameName(named, name))
        unknownName(named);
    if (peek().kind == JetTokenKind::Word && !atReservedWord())
        syntaxError(QStringLiteral("a DELETE may name one table only"));
    QString sql = QLatin1String("DELETE FROM ") + quoteName(name);
    if (acceptWord("where"))
        sql += QLatin1String(" WHERE ") + condition();
    mScope = nullptr;
    return sql;
}

QString JetParser::subquery()
{
    // A query inside an expression; it sees the names of the query around it.
    return u'(' + select(nullptr) + u')';
}

QString JetParser::condition()
{
    return expression().sql;
}

// ---------------------------------------------------------------- expressions

JetParser::DepthGuard::DepthGuard(JetParser &parser) : mParser(parser)
{
    // Nesting is bounded so that no text, however odd, can exhaust the stack.
    if (++mParser.mDepth > 200)
        mParser.syntaxError(QStringLiteral("the expression is nested too deeply"));
}

JetParser::DepthGuard::~DepthGuard()
{
    --mParser.mDepth;
}

namespace {

// A chain of one operator is written flat, in one pair of parentheses, so that its cost
// grows with its length and the engine's parser never nests a level per term. The engine
// still bounds an expression's depth, so a very long chain is cut into flat groups of
// groups; the operator must be associative for that.
constexpr qsizetype ChainGroup = 64;

QString flatChain(QStringList terms, QLatin1String op)
{
    while (terms.size() > ChainGroup) {
        QStringList groups;
        for (qsizetype i = 0; i < terms.size(); i += ChainGroup)
            groups << u'(' + terms.mid(i, ChainGroup).join(op) + u')';
        terms = std::move(groups);
    }
    return u'(' + terms.join(op) + u')';
}

// + and - chains: each group after the first starts from 0, so the groups add up.
QString flatSum(const QStringList &terms, const QStringList &ops)
{
    if (terms.size() <= ChainGroup) {
        QString sql = u'(' + terms.front();
        for (qsizetype i = 1; i < terms.size(); ++i)
            sql += ops[i - 1] + terms[i];
        return sql + u')';
    }
    QStringList groups;
    for (qsizetype i = 0; i < terms.size(); i += ChainGroup) {
        QString group = i == 0 ? u'(' + terms[0] : QStringLiteral("(0") + ops[i - 1] + terms[i];
        for (qsizetype j = i + 1; j < std::min(terms.size(), i + ChainGroup); ++j)
            group += ops[j - 1] + terms[j];
        groups << group + u')';
    }
    return flatChain(groups, QLatin1String(" + "));
}

} // namespace

JetParser::Fragment JetParser::expression()
{
    const DepthGuard guard(*this);
    Fragment first = conjunction();
    if (!peek().isWord(QLatin1StringView("or")))
        return first;
    QStringList terms{first.sql};
    while (acceptWord("or"))
        terms << conjunction().sql;
    return {flatChain(std::move(terms), QLatin1String(" OR ")), Kind::Number};
}

JetParser::Fragment JetParser::conjunction()
{
    Fragment first = negation();
    if (!peek().isWord(QLatin1StringView("and")))
        return first;
    QStringList terms{first.sql};
    while (acceptWord("and"))
        terms << negation().sql;
    return {flatChain(std::move(terms), QLatin1String(" AND ")), Kind::Number};
}

JetParser::Fragment JetParser::negation()
{
    if (acceptWord("not")) {
        const DepthGuard guard(*this);
        const Fragment f = negation();
        return {QLatin1String("(NOT ") + f.sql + u')', Kind::Number};
    }
    return comparison();
}

JetParser::Fragment JetParser::comparison()
{
    Fragment left = concatenation();
    for (;;) {
        const JetToken &t = peek();
        if (t.kind == JetTokenKind::Symbol &&
            (t.text == u'=' || t.text == QLatin1String("<>") || t.text == u'<' || t.text == u'>' ||
             t.text == QLatin1String("<=") || t.text == QLatin1String(">="))) {
            const QString op = next().text;
            left = compare(left, op, concatenation());
            continue;
        }
        const bool negated = t.isWord(QLatin1StringView("not"));
        const JetToken &keyword = peek(negated ? 1 : 0);
        if (keyword.isWord(QLatin1StringView("like"))) {
            mPos += negated ? 2 : 1;
            left = like(left, concatenation(), negated);
        } else if (!negated && keyword.isWord(QLatin1StringView("is"))) {
            next();
            const bool isNot = acceptWord("not");
            expectWord("null");
            left = {u'(' + left.sql + (isNot ? QLatin1String(" IS NOT NULL)") : QLatin1String(" IS NULL)")),
                    Kind::Number};
        } else if (keyword.isWord(QLatin1StringView("between"))) {
            mPos += negated ? 2 : 1;
            Fragment low = concatenation();
            expectWord("and");
            Fragment high = concatenation();
            matchLiteral(left, low);
            matchLiteral(left, high);
            matchLiteral(low, left);
            // The bounds may stand in either order: the range runs from the lesser to the
            // greater, compared as the value is (texts without regard to case).
            const QString collation = collated(left, {&low, &high});
            const QString bounds = low.sql + collation + QLatin1String(", ") + high.sql + u')';
            left = {u'(' + left.sql + collation + (negated ? QLatin1String(" NOT") : QLatin1String()) +
                        QLatin1String(" BETWEEN min(") + bounds + QLatin1String(" AND max(") + bounds + u')',
                    Kind::Number};
        } else if (keyword.isWord(QLatin1StringView("in"))) {
            mPos += negated ? 2 : 1;
            expectSymbol("(");
            QString list;
            QString collation;
            if (peek().isWord(QLatin1StringView("select"))) {
                list = select(nullptr);
            } else {
                std::vector<Fragment> items;
                do {
                    items.push_back(concatenation());
                    matchLiteral(left, items.back());
                } while (acceptSymbol(","));
                std::vector<const Fragment *> others;
                QStringList sql;
                for (const Fragment &item : items) {
                    others.push_back(&item);
                    sql << item.sql;
                }
                collation = collated(left, others);
                list = sql.join(QLatin1String(", "));
            }
            expectSymbol(")");
            left = {u'(' + left.sql + collation +
                        (negated ? QLatin1String(" NOT IN (") : QLatin1String(" IN (")) + list +
                        QLatin1String("))"),
                    Kind::Number};
        } else {
            return left;
        }
    }
}

JetParser::Fragment JetParser::concatenation()
{
    Fragment left = additive();
    if (!peek().isSymbol(QLatin1StringView("&")))
        return left;
    // Null counts as an empty text; only Null & Null stays Null.
    // The engine takes a bounded number of arguments, so a long chain is joined in groups;
    // a group of Nulls gives Null, which the next level again counts as empty.
    QStringList parts{textOf(left)};
    while (acceptSymbol("&"))
        parts << textOf(additive());
    while (parts.size() > ChainGroup) {
        QStringList groups;
        for (qsizetype i = 0; i < parts.size(); i += ChainGroup)
            groups << QLatin1String("jet_concat(") + parts.mid(i, ChainGroup).join(QLatin1String(", ")) +
                          u')';
        parts = std::move(groups);
    }
    return {QLatin1String("jet_concat(") + parts.join(QLatin1String(", ")) + u')', Kind::Text};
}

JetParser::Fragment JetParser::additive()
{
    Fragment left = modulo();
    // Plain sums gather here and are written flat once the chain ends or meets a date
    // or a text.
    QStringList terms, ops;
    const auto settle = [&] {
        if (!ops.isEmpty())
            left = {flatSum(terms, ops), Kind::Number};
        terms.clear();
        ops.clear();
    };
    for (;;) {
        const bool plus = peek().isSymbol(QLatin1StringView("+"));
        if (!plus && !peek().isSymbol(QLatin1StringView("-"))) {
            settle();
            return left;
        }
        next();
        const Fragment right = modulo();
        const bool dated = left.kind == Kind::Date || right.kind == Kind::Date;
        const bool texts = plus && left.kind == Kind::Text && right.kind == Kind::Text;
        if (!dated && !texts) {
            if (terms.isEmpty())
                terms << left.sql;
            terms << right.sql;
            ops << (plus ? QStringLiteral(" + ") : QStringLiteral(" - "));
            left.kind = Kind::Number;
            continue;
        }
        settle();
        if (plus && left.kind == Kind::Date && right.kind != Kind::Date && right.kind != Kind::Text) {
            left = {QLatin1String("jet_adddays(") + left.sql + QLatin1String(", ") + right.sql + u')',
                    Kind::Date};
        } else if (plus && right.kind == Kind::Date && left.kind != Kind::Date && left.kind != Kind::Text) {
            left = {QLatin1String("jet_adddays(") + right.sql + QLatin1String(", ") + left.sql + u')',
                    Kind::Date};
        } else if (plus && left.kind == Kind::Text && right.kind == Kind::Text) {
            // + joins two texts, and unlike & it passes Null on.
            left = {u'(' + left.sql + QLatin1String(" || ") + right.sql + u')', Kind::Text};
        } else if (!plus && left.kind == Kind::Date && right.kind == Kind::Date) {
            left = {QLatin1String("jet_datesub(") + left.sql + QLatin1String(", ") + right.sql + u')',
                    Kind::Number};
        } else if (!plus && left.kind == Kind::Date) {
            left = {QLatin1String("jet_adddays(") + left.sql + QLatin1String(", -(") + right.sql +
                        QLatin1String("))"),
                    Kind::Date};
        } else {
            left = {u'(' + left.sql + (plus ? QLatin1String(" + ") : QLatin1String(" - ")) + right.sql + u')',
                    Kind::Number};
        }
    }
}

JetParser::Fragment JetParser::modulo()
{
    // Mod and \ round both operands to whole numbers first, half to even.
    Fragment left = integerDivision();
    while (acceptWord("mod"))
        left = {QLatin1String("jet_mod(") + left.sql + QLatin1String(", ") + integerDivision().sql + u')',
                Kind::Number};
    return left;
}

JetParser::Fragment JetParser::integerDivision()
{
    Fragment left = multiplicative();
    while (acceptSymbol("\\"))
        left = {QLatin1String("jet_idiv(") + left.sql + QLatin1String(", ") + multiplicative().sql + u')',
                Kind::Number};
    return left;
}

JetParser::Fragment JetParser::multiplicative()
{
    Fragment left = unary();
    QStringList factors;
    for (;;) {
        if (acceptSymbol("*")) {
            if (factors.isEmpty())
                factors << left.sql;
            factors << unary().sql;
            left.kind = Kind::Number;
            continue;
        }
        if (!factors.isEmpty()) {
            left = {flatChain(std::move(factors), QLatin1String(" * ")), Kind::Number};
            factors.clear();
        }
        if (acceptSymbol("/")) {
            // / always divides exactly: 7 / 2 is 3.5.
            left = {QLatin1String("(CAST(") + left.sql + QLatin1String(" AS REAL) / ") + unary().sql + u')',
                    Kind::Number};
        } else {
            return left;
        }
    }
}

JetParser::Fragment JetParser::unary()
{
    const DepthGuard guard(*this);
    if (acceptSymbol("-"))
        return {QLatin1String("(- ") + unary().sql + u')', Kind::Number};
    if (acceptSymbol("+"))
        return unary();
    return power();
}

JetParser::Fragment JetParser::power()
{
    Fragment left = primary();
    while (acceptSymbol("^")) {
        bool negative = false;
        while (peek().isSymbol(QLatin1StringView("-")) || peek().isSymbol(QLatin1StringView("+")))
            negative ^= next().text == u'-';
        const Fragment right = primary();
        left = {QLatin1String("jet_pow(") + left.sql + QLatin1String(", ") +
                    (negative ? QLatin1String("-") : QString()) + right.sql + u')',
                Kind::Number};
    }
    return left;
}

JetParser::Fragment JetParser::primary()
{
    const JetToken &t = peek();
    switch (t.kind) {
    case JetTokenKind::Number:
        next();
        return {t.text, Kind::Number};
    case JetTokenKind::String: {
        next();
        Fragment f{quoteText(t.text), Kind::Text};
        f.literal = true;
        f.value = t.text;
        return f;
    }
    case JetTokenKind::Date: {
        next();
        const QDateTime value = parseJetDateLiteral(t.text);
        if (!value.isValid())
            syntaxError(
                QStringLiteral("#%1# is no valid date (dates are written #month/day/year#)").arg(t.text));
        return {quoteText(dateToStorage(value)), Kind::Date};
    }
    case JetTokenKind::BracketName:
        return nameReference();
    case JetTokenKind::Word:
        if (t.isWord(QLatin1StringView("null"))) {
            next();
            return {QStringLiteral("NULL"), Kind::Null};
        }
        if (t.isWord(QLatin1StringView("exists"))) {
            next();
            expectSymbol("(");
            const QString sql = select(nullptr);
            expectSymbol(")");
            return {QLatin1String("(EXISTS (") + sql + QLatin1String("))"), Kind::Number};
        }
        if (peek(1).isSymbol(QLatin1StringView("("))) {
            // Left, Right and Asc are functions as well as keywords; no other keyword is.
            if (atReservedWord() && !t.isWord(QLatin1StringView("left")) &&
                !t.isWord(QLatin1StringView("right")) && !t.isWord(QLatin1StringView("asc")))
                unexpected();
            const QString name = next().text;
            return functionCall(name);
        }
        if (atReservedWord())
            unexpected();
        return nameReference();
    case JetTokenKind::Symbol:
        if (t.isSymbol(QLatin1StringView("("))) {
            next();
            if (peek().isWord(QLatin1StringView("select"))) {
                const QString sql = select(nullptr);
                expectSymbol(")");
                return {u'(' + sql + u')', Kind::Unknown};
            }
            Fragment inner = expression();
            expectSymbol(")");
            inner.sql = u'(' + inner.sql + u')';
            inner.column = false;
            return inner;
        }
        unexpected();
    case JetTokenKind::End:
        break;
    }
    unexpected();
}

const JetColumn *JetParser::findColumn(const Table &table, const QString &name) const
{
    for (const JetColumn &c : table.columns) {
        if (sameName(c.name, name))
            return &c;
    }
    return nullptr;
}

JetParser::Fragment JetParser::columnFragment(const QString &sql, const JetColumn &column) const
{
    Fragment f{sql, Kind::Number, true};
    switch (column.type) {
    case JetType::Text:
    case JetType::Memo:
        f.kind = Kind::Text;
        f.textColumn = column.storedAsText;
        break;
    case JetType::DateTime:
        f.kind = Kind::Date;
        break;
    case JetType::Binary:
        f.kind = Kind::Unknown;
        break;
    default:
        break;
    }
    return f;
}

JetParser::Fragment JetParser::nameReference()
{
    const JetToken &first = next();
    const bool bracketed = first.kind == JetTokenKind::BracketName;
    if (peek().isSymbol(QLatin1StringView(".")) &&
        (peek(1).kind == JetTokenKind::Word || peek(1).kind == JetTokenKind::BracketName)) {
        next();
        const QString field = next().text;
        for (const Scope *s = mScope; s; s = s->outer) {
            for (const Table &t : s->tables) {
                if (!sameName(t.alias.isEmpty() ? t.name : t.alias, first.text))
                    continue;
                const JetColumn *c = findColumn(t, field);
                if (!c)
                    unknownName(first.text + u'.' + field);
                // A criterion names its source's columns bare, except from inside a subquery
                // where a bare name could mean a column of the subquery's own table.
                const QString sql = s->bareColumns && s == mScope
                                        ? quoteName(field)
                                        : quoteName(first.text) + u'.' + quoteName(field);
                return columnFragment(sql, *c);
            }
        }
        unknownName(first.text + u'.' + field);
    }

    for (const Scope *s = mScope; s; s = s->outer) {
        const JetColumn *found = nullptr;
        for (const Table &t : s->tables) {
            if (const JetColumn *c = findColumn(t, first.text)) {
                if (found)
                    syntaxError(QStringLiteral("the field '%1' could belong to more than one table; name its "
                                               "table as well")
                                    .arg(first.text));
                found = c;
            }
        }
        if (found)
            return columnFragment(quoteName(first.text), *found);
        if (s->outputNamesVisible) {
            for (const QString &n : s->outputNames) {
                if (sameName(n, first.text))
                    return {quoteName(n), Kind::Unknown};
            }
        }
    }
    if (!bracketed) {
        const QString word = first.text.toLower();
        if (word == QLatin1String("true") || word == QLatin1String("yes") || word == QLatin1String("on"))
            return {QStringLiteral("-1"), Kind::Number};
        if (word == QLatin1String("false") || word == QLatin1String("no") || word == QLatin1String("off"))
            return {QStringLiteral("0"), Kind::Number};
        if (word == QLatin1String("date"))
            return {QStringLiteral("jet_date()"), Kind::Date};
        if (word == QLatin1String("now"))
            return {QStringLiteral("jet_now()"), Kind::Date};
    }
    unknownName(first.text);
}

JetParser::Fragment JetParser::functionCall(const QString &name)
{
    struct Function {
        const char *name;
        int minArgs;
        int maxArgs;
        Kind kind;
        const char *sqlName; // nullptr: written below
    };
    static const Function functions[] = {
        {"iif", 3, 3, Kind::Unknown, nullptr},
        {"nz", 1, 2, Kind::Unknown, nullptr},
        {"left", 2, 2, Kind::Text, nullptr},
        {"right", 2, 2, Kind::Text, "jet_right"},
        {"mid", 2, 3, Kind::Text, "jet_mid"},
        {"len", 1, 1, Kind::Number, "length"},
        {"instr", 2, 4, Kind::Number, nullptr},
        {"ucase", 1, 1, Kind::Text, "jet_ucase"},
        {"lcase", 1, 1, Kind::Text, "jet_lcase"},
        {"trim", 1, 1, Kind::Text, "trim"},
        {"ltrim", 1, 1, Kind::Text, "ltrim"},
        {"rtrim", 1, 1, Kind::Text, "rtrim"},
        {"year", 1, 1, Kind::Number, "jet_year"},
        {"month", 1, 1, Kind::Number, "jet_month"},
        {"day", 1, 1, Kind::Number, "jet_day"},
        {"date", 0, 0, Kind::Date, "jet_date"},
        {"now", 0, 0, Kind::Date, "jet_now"},
        {"dateadd", 3, 3, Kind::Date, "jet_dateadd"},
        {"datediff", 3, 5, Kind::Number, nullptr},
        {"dateserial", 3, 3, Kind::Date, "jet_dateserial"},
        {"datevalue", 1, 1, Kind::Date, "jet_datevalue"},
        {"cdate", 1, 1, Kind::Date, "jet_cdate"},
        {"format", 1, 4, Kind::Text, nullptr},
        {"val", 1, 1, Kind::Number, "jet_val"},
        {"cstr", 1, 1, Kind::Text, nullptr},
        {"count", 1, 1, Kind::Number, "count"},
        {"sum", 1, 1, Kind::Number, "sum"},
        {"avg", 1, 1, Kind::Number, "avg"},
        {"min", 1, 1, Kind::Unknown, "min"},
        {"max", 1, 1, Kind::Unknown, "max"},
        {"isnull", 1, 1, Kind::Number, nullptr},
        {"isdate", 1, 1, Kind::Number, "jet_isdate"},
        {"isnumeric", 1, 1, Kind::Number, "jet_isnumeric"},
        {"switch", 2, 64, Kind::Unknown, nullptr},
        {"strcomp", 2, 3, Kind::Number, "jet_strcomp"},
        {"instrrev", 2, 4, Kind::Number, "jet_instrrev"},
        {"replace", 3, 6, Kind::Text, "jet_replace"},
        {"strreverse", 1, 1, Kind::Text, "jet_strreverse"},
        {"space", 1, 1, Kind::Text, "jet_space"},
        {"string", 2, 2, Kind::Text, "jet_string"},
        {"asc", 1, 1, Kind::Number, "jet_asc"},
        {"chr", 1, 1, Kind::Text, "jet_chr"},
        {"str", 1, 1, Kind::Text, "jet_str"},
        {"hex", 1, 1, Kind::Text, "jet_hex"},
        {"oct", 1, 1, Kind::Text, "jet_oct"},
        {"abs", 1, 1, Kind::Number, "jet_abs"},
        {"int", 1, 1, Kind::Number, "jet_int"},
        {"fix", 1, 1, Kind::Number, "jet_fix"},
        {"sgn", 1, 1, Kind::Number, "jet_sgn"},
        {"round", 1, 2, Kind::Number, "jet_round"},
        {"sqr", 1, 1, Kind::Number, "jet_sqr"},
        {"exp", 1, 1, Kind::Number, "jet_exp"},
        {"log", 1, 1, Kind::Number, "jet_log"},
        {"sin", 1, 1, Kind::Number, "jet_sin"},
        {"cos", 1, 1, Kind::Number, "jet_cos"},
        {"tan", 1, 1, Kind::Number, "jet_tan"},
        {"atn", 1, 1, Kind::Number, "jet_atn"},
        {"cint", 1, 1, Kind::Number, "jet_cint"},
        {"clng", 1, 1, Kind::Number, "jet_clng"},
        {"cdbl", 1, 1, Kind::Number, "jet_cdbl"},
        {"csng", 1, 1, Kind::Number, "jet_csng"},
        {"ccur", 1, 1, Kind::Number, "jet_ccur"},
        {"cbyte", 1, 1, Kind::Number, "jet_cbyte"},
        {"cbool", 1, 1, Kind::Number, "jet_cbool"},
        {"hour", 1, 1, Kind::Number, "jet_hour"},
        {"minute", 1, 1, Kind::Number, "jet_minute"},
        {"second", 1, 1, Kind::Number, "jet_second"},
        {"weekday", 1, 2, Kind::Number, "jet_weekday"},
        {"datepart", 2, 3, Kind::Number, "jet_datepart"},
        {"monthname", 1, 2, Kind::Text, "jet_monthname"},
        {"weekdayname", 1, 3, Kind::Text, "jet_weekdayname"},
    };
    const QString key = name.toLower();
    const Function *function = nullptr;
    for (const Function &f : functions) {
        if (key == QLatin1String(f.name))
            function = &f;
    }
    if (!function)
        throw RuntimeError(
            err::UndefinedFunction,
            QStringLiteral("Undefined function '%1' in expression '%2'.").arg(name, mText.trimmed()));

    expectSymbol("(");
    std::vector<Fragment> args;
    if (key == QLatin1String("count") && acceptSymbol("*")) {
        args.push_back({QStringLiteral("*"), Kind::Unknown});
    } else if (!peek().isSymbol(QLatin1StringView(")"))) {
        do {
            args.push_back(expression());
        } while (acceptSymbol(","));
    }
    expectSymbol(")");
    if (int(args.size()) < function->minArgs || int(args.size()) > function->maxArgs) {
        const QString count = function->minArgs == function->maxArgs
                                  ? QString::number(function->minArgs)
                                  : QStringLiteral("%1 to %2").arg(function->minArgs).arg(function->maxArgs);
        syntaxError(QStringLiteral("%1 takes %2 argument(s), not %3").arg(name).arg(count).arg(args.size()));
    }
    if (key == QLatin1String("dateadd") || key == QLatin1String("datediff") ||
        key == QLatin1String("datepart")) {
        static const QStringList intervals{"yyyy", "q", "m", "y", "d", "w", "ww", "h", "n", "s"};
        if (args[0].literal && !intervals.contains(args[0].value.toLower()))
            syntaxError(QStringLiteral("\"%1\" is no interval of %2 (yyyy, q, m, y, d, w, ww, h, n or s)")
                            .arg(args[0].value, name));
    }

    auto join = [](const std::vector<Fragment> &list, size_t count) {
        QStringList parts;
        for (size_t i = 0; i < count && i < list.size(); ++i)
            parts << list[i].sql;
        return parts.join(QLatin1String(", "));
    };
    Fragment result{QString(), function->kind};
    if (key == QLatin1String("iif")) {
        result.sql = QLatin1String("(CASE WHEN ") + args[0].sql + QLatin1String(" THEN ") + args[1].sql +
                     QLatin1String(" ELSE ") + args[2].sql + QLatin1String(" END)");
        const Kind a = args[1].kind, b = args[2].kind;
        result.kind = a == b || b == Kind::Null ? a : (a == Kind::Null ? b : Kind::Unknown);
        return result;
    }
    if (key == QLatin1String("isnull")) {
        // Never Null itself: True (-1) or False (0).
        result.sql =
            QLatin1String("(CASE WHEN ") + args[0].sql + QLatin1String(" IS NULL THEN -1 ELSE 0 END)");
        return result;
    }
    if (key == QLatin1String("switch")) {
        // Pairs of a condition and its value; the first true condition wins, none gives Null.
        if (args.size() % 2)
            syntaxError(QStringLiteral("Switch takes pairs of a condition and a value"));
        result.sql = QStringLiteral("(CASE");
        Kind kind = Kind::Null;
        for (size_t i = 0; i < args.size(); i += 2) {
            result.sql += QLatin1String(" WHEN ") + args[i].sql + QLatin1String(" THEN ") + args[i + 1].sql;
            const Kind k = args[i + 1].kind;
            kind = kind == Kind::Null || kind == k ? k : (k == Kind::Null ? kind : Kind::Unknown);
        }
        result.sql += QLatin1String(" END)");
        result.kind = kind;
        return result;
    }
    if (key == QLatin1String("nz")) {
        // Without a second argument Null becomes 0 for a number and "" otherwise.
        const QString fallback = args.size() > 1                ? args[1].sql
                                 : args[0].kind == Kind::Number ? QStringLiteral("0")
                                                                : QStringLiteral("''");
        result.sql = QLatin1String("coalesce(") + args[0].sql + QLatin1String(", ") + fallback + u')';
        result.kind = args[0].kind;
        return result;
    }
    if (key == QLatin1String("min") || key == QLatin1String("max"))
        result.kind = args[0].kind;
    // The text functions read a date as the user sees it.
    if ((result.kind == Kind::Text && key != QLatin1String("format")) || key == QLatin1String("len") ||
        key == QLatin1String("asc") || key == QLatin1String("strcomp") || key == QLatin1String("instrrev"))
        args[0].sql = textOf(args[0]);
    if (key == QLatin1String("strcomp") || key == QLatin1String("instrrev") ||
        key == QLatin1String("replace"))
        args[1].sql = textOf(args[1]);
    if (key == QLatin1String("replace"))
        args[2].sql = textOf(args[2]);
    if (key == QLatin1String("left")) {
        result.sql = QLatin1String("jet_left(") + args[0].sql + QLatin1String(", ") + args[1].sql + u')';
    } else if (key.endsWith(QLatin1String("trim"))) {
        result.sql = QLatin1String(function->sqlName) + u'(' + args[0].sql + QLatin1String(", ' ')");
    } else if (key == QLatin1String("cstr")) {
        result.sql = QLatin1String("CAST(") + args[0].sql + QLatin1String(" AS TEXT)");
    } else if (key == QLatin1String("instr")) {
        if (args.size() == 2)
            args.insert(args.begin(), Fragment{QStringLiteral("1"), Kind::Number});
        args[1].sql = textOf(args[1]);
        args[2].sql = textOf(args[2]);
        result.sql = QLatin1String("jet_instr(") + join(args, 4) + u')';
    } else if (key == QLatin1String("datediff")) {
        result.sql = QLatin1String("jet_datediff(") + join(args, 3) + u')';
    } else if (key == QLatin1String("format")) {
        result.sql = QLatin1String("jet_format(") + join(args, 2) + u')';
    } else {
        result.sql = QLatin1String(function->sqlName) + u'(' + join(args, args.size()) + u')';
    }
    return result;
}

// ---------------------------------------------------------------- operators

QString JetParser::textOf(const Fragment &f)
{
    // A date joined to or cut from text reads as the user sees it.
    if (f.kind == Kind::Date)
        return QLatin1String("jet_datetext(") + f.sql + u')';
    return f.sql;
}

QString JetParser::collated(const Fragment &left, const std::vector<const Fragment *> &others)
{
    // Text compares without regard to case or accents, in the order the text columns and
    // their indexes have, so a comparison with a column can still use its index.
    bool text = left.kind == Kind::Text;
    for (const Fragment *f : others) {
        if (f->kind == Kind::Number || f->kind == Kind::Date)
            return QString();
        text = text || f->kind == Kind::Text;
    }
    if (!text || left.kind == Kind::Number || left.kind == Kind::Date)
        return QString();
    return QLatin1String(" COLLATE ") + QLatin1String(TextCollationName);
}

void JetParser::coerceToDate(const Fragment &date, Fragment &other)
{
    // A text compared with a date is read as a date, in the user's own date form.
    if (date.kind != Kind::Date || !other.literal)
        return;
    QDateTime value = parseDateText(other.value);
    if (!value.isValid())
        value = dateFromStorage(other.value.trimmed());
    if (value.isValid()) {
        other.sql = quoteText(dateToStorage(value));
        other.kind = Kind::Date;
        other.literal = false;
    }
}

void JetParser::matchLiteral(const Fragment &typed, Fragment &other) const
{
    // A text compared with a number or a date must read as one; the query language
    // refuses any other with its type mismatch, before it reads a row.
    if (!other.literal)
        return;
    if (typed.kind == Kind::Date) {
        coerceToDate(typed, other);
        if (other.literal)
            typeMismatch(other.value);
    } else if (typed.kind == Kind::Number) {
        const QString text = other.value.trimmed();
        bool ok = false;
        const double value = text.toDouble(&ok);
        if (!ok || !std::isfinite(value))
            typeMismatch(other.value);
        static const QRegularExpression plain(QStringLiteral("^[+-]?[0-9]+(\\.[0-9]+)?$"));
        other.sql = plain.match(text).hasMatch() ? text : QString::number(value, 'g', 17);
        other.kind = Kind::Number;
        other.literal = false;
    }
}

void JetParser::typeMismatch(const QString &text) const
{
    throw RuntimeError(err::CriteriaTypeMismatch,
                       QStringLiteral("Data type mismatch in criteria expression: \"%1\" in '%2' is compared "
                                      "with a number or a date and is neither.")
                           .arg(text, mText.trimmed()));
}

JetParser::Fragment JetParser::compare(Fragment left, const QString &op, Fragment right) const
{
    matchLiteral(left, right);
    matchLiteral(right, left);
    return {u'(' + left.sql + collated(left, {&right}) + u' ' + op + u' ' + right.sql + u')', Kind::Number};
}

JetParser::Fragment JetParser::like(const Fragment &value, const Fragment &pattern, bool negated) const
{
    std::optional<JetLikePattern> compiled;
    if (pattern.literal) {
        compiled.emplace(pattern.value);
        if (!compiled->isValid())
            syntaxError(
                QStringLiteral("the pattern \"%1\" is invalid: %2").arg(pattern.value, compiled->error()));
    }
    const QString sql = QLatin1String("jet_like(") + textOf(value) + QLatin1String(", ") + pattern.sql + u')';
    if (negated)
        return {QLatin1String("(NOT ") + sql + u')', Kind::Number};
    if (!compiled || !value.textColumn)
        return {sql, Kind::Number};
    // A pattern that starts with plain characters matches only texts in one range of the
    // column's order, which its index answers; jet_like still decides each text in it.
    // Every match lies in the range, so the result is the same.
    const JetLikePattern::CollationRange range = compiled->collationRange();
    if (range.from.isEmpty())
        return {sql, Kind::Number};
    const QString column = value.sql + QLatin1String(" COLLATE ") + QLatin1String(TextCollationName);
    QString bounds = column + QLatin1String(" >= ") + quoteText(range.from);
    if (!range.before.isEmpty())
        bounds += QLatin1String(" AND ") + column + QLatin1String(" < ") + quoteText(range.before);
    return {u'(' + bounds + QLatin1String(" AND ") + sql + u')', Kind::Number};
}

} // namespace platform

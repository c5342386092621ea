#include "platform/db/jet/JetLexer.h"

#include "platform/RuntimeError.h"

namespace platform {

namespace {

bool isWordChar(QChar c)
{
    return c.isLetterOrNumber() || c == u'_';
}

[[noreturn]] void fail(const QString &text, const QString &detail)
{
    throw RuntimeError(err::SyntaxError,
                       QStringLiteral("Syntax error in query expression '%1': %2.").arg(text, detail));
}

} // namespace

std::vector<JetToken> JetLexer::tokenize(const QString &text)
{
    std::vector<JetToken> tokens;
    tokens.reserve(16 + text.size() / 4);
    const int n = int(text.size());
    int i = 0;
    while (i < n) {
        const QChar c = text[i];
        if (c.isSpace()) {
            ++i;
            continue;
        }
        const int start = i;
        JetToken t;
        t.position = start;
        if (c == u'"' || c == u'\'') {
            // A doubled quote inside a literal stands for one quote.
            QString value;
            ++i;
            for (;;) {
                if (i >= n)
                    fail(text, QStringLiteral("a text literal is not closed"));
                if (text[i] == c) {
                    if (i + 1 < n && text[i + 1] == c) {
                        value.append(c);
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                value.append(text[i++]);
            }
            t.kind = JetTokenKind::String;
            t.text = value;
        } else if (c == u'[') {
            const int close = int(text.indexOf(u']', i + 1));
            if (close < 0)
                fail(text, QStringLiteral("a bracketed name is not closed"));
            t.kind = JetTokenKind::BracketName;
            t.text = text.mid(i + 1, close - i - 1);
            if (t.text.trimmed().isEmpty())
                fail(text, QStringLiteral("an empty bracketed name"));
            i = close + 1;
        } else if (c == u'#') {
            const int close = int(text.indexOf(u'#', i + 1));
            if (close < 0)
                fail(text, QStringLiteral("a date literal is not closed"));
            t.kind = JetTokenKind::Date;
            t.text = text.mid(i + 1, close - i - 1).trimmed();
            i = close + 1;
        } else if (c.isDigit() || (c == u'.' && i + 1 < n && text[i + 1].isDigit() &&
                                   (tokens.empty() || (tokens.back().kind != JetTokenKind::Word &&
                                                       tokens.back().kind != JetTokenKind::BracketName &&
                                                       !tokens.back().isSymbol(QLatin1StringView(")")))))) {
            while (i < n && text[i].isDigit())
                ++i;
            if (i < n && text[i] == u'.') {
                ++i;
                while (i < n && text[i].isDigit())
                    ++i;
            }
            if (i < n && (text[i] == u'e' || text[i] == u'E')) {
                int j = i + 1;
                if (j < n && (text[j] == u'+' || text[j] == u'-'))
                    ++j;
                if (j < n && text[j].isDigit()) {
                    i = j;
                    while (i < n && text[i].isDigit())
                        ++i;
                }
            }
            if (i < n && isWordChar(text[i]))
                fail(text, QStringLiteral("'%1' is no number").arg(text.mid(start, i - start + 1)));
            t.kind = JetTokenKind::Number;
            t.text = text.mid(start, i - start);
        } else if (isWordChar(c)) {
            while (i < n && isWordChar(text[i]))
                ++i;
            t.kind = JetTokenKind::Word;
            t.text = text.mid(start, i - start);
        } else {
            t.kind = JetTokenKind::Symbol;
            const QChar next = i + 1 < n ? text[i + 1] : QChar();
            if ((c == u'<' && (next == u'>' || next == u'=')) || (c == u'>' && next == u'=')) {
                t.text = text.mid(i, 2);
                i += 2;
            } else if (QStringView(u"=<>(),.*+-/\\&^;").contains(c)) {
                t.text = QString(c);
                ++i;
            } else {
                fail(text, QStringLiteral("the character '%1' is not understood").arg(c));
            }
        }
        tokens.push_back(std::move(t));
    }
    JetToken end;
    end.position = n;
    tokens.push_back(end);
    return tokens;
}

} // namespace platform

#include "helpers/NotesText.h"

#include <QPlainTextEdit>
#include <QTextDocument>

#include <algorithm>
#include <vector>

namespace {

// The property on a box holding the text it was shown with.
constexpr char StoredProperty[] = "storedText";

const QString NewLineEnd = QStringLiteral("\r\n");

struct Lines {
    QStringList texts;
    QStringList ends; // ends[i] follows texts[i]
};

// Whether a character ends a line in a text box: the line separator a typed Shift+Return
// puts in, the paragraph separator, CR and LF.
bool endsLine(QChar c)
{
    return c == u'\r' || c == u'\n' || c == QChar::ParagraphSeparator || c == QChar::LineSeparator;
}

// A text's lines, broken where a text box breaks them, a CR LF pair as one end.
Lines linesOf(const QString &text)
{
    Lines lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (!endsLine(c))
            continue;
        const qsizetype length = (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ? 2 : 1;
        lines.texts.append(text.mid(start, i - start));
        lines.ends.append(text.mid(i, length));
        i += length - 1;
        start = i + 1;
    }
    lines.texts.append(text.mid(start));
    return lines;
}

// Beyond this many pairs of lines compared, the lines between the unchanged ones at the
// start and at the end are taken as all changed: a text pasted over another.
constexpr qsizetype MostPairsCompared = qsizetype(1) << 22;

// The lines the user left alone: pairs of a line before and the same line after the change,
// as many as can stand in both orders (the longest common subsequence), each pair
// {before, after}, in order.
QList<std::pair<qsizetype, qsizetype>> keptLines(const QStringList &before, const QStringList &after)
{
    const qsizetype oldCount = before.size(), newCount = after.size();
    qsizetype head = 0;
    while (head < oldCount && head < newCount && before[head] == after[head])
        ++head;
    qsizetype tail = 0;
    while (tail < oldCount - head && tail < newCount - head &&
           before[oldCount - 1 - tail] == after[newCount - 1 - tail])
        ++tail;
    QList<std::pair<qsizetype, qsizetype>> kept;
    for (qsizetype i = 0; i < head; ++i)
        kept.append({i, i});
    const qsizetype rows = oldCount - head - tail, columns = newCount - head - tail;
    if (rows > 0 && columns > 0 && rows * columns <= MostPairsCompared) {
        // common[r][c]: the most lines kept from before[head + r] and after[head + c] on.
        // Within the bound the shorter side has at most 2048 lines, so the count fits.
        const qsizetype width = columns + 1;
        std::vector<quint16> common(std::size_t((rows + 1) * width), 0);
        const auto at = [&](qsizetype r, qsizetype c) -> quint16 & { return common[std::size_t(r * width + c)]; };
        for (qsizetype r = rows - 1; r >= 0; --r)
            for (qsizetype c = columns - 1; c >= 0; --c)
                at(r, c) = before[head + r] == after[head + c] ? quint16(at(r + 1, c + 1) + 1)
                                                              : std::max(at(r + 1, c), at(r, c + 1));
        for (qsizetype r = 0, c = 0; r < rows && c < columns;) {
            if (before[head + r] == after[head + c])
                kept.append({head + r++, head + c++});
            else if (at(r + 1, c) >= at(r, c + 1))
                ++r;
            else
                ++c;
        }
    }
    for (qsizetype i = tail; i > 0; --i)
        kept.append({oldCount - i, newCount - i});
    return kept;
}

} // namespace

void showStoredText(QPlainTextEdit &box, const QString &stored)
{
    box.setProperty(StoredProperty, stored);
    box.setPlainText(stored);
}

QString boxText(const QPlainTextEdit &box)
{
    QString text = box.document()->toRawText();
    for (QChar &c : text) {
        if (c == QChar::ParagraphSeparator || c == QChar::LineSeparator)
            c = u'\n';
    }
    return text;
}

QString textToStore(const QPlainTextEdit &box)
{
    return storedTextFor(box.property(StoredProperty).toString(), boxText(box));
}

QString storedTextFor(const QString &stored, const QString &shown)
{
    const Lines before = linesOf(stored);
    const QStringList after = shown.split(u'\n');
    if (after == before.texts)
        return stored;
    const qsizetype oldCount = before.texts.size(), newCount = after.size();
    // ends[j] follows line j after the change; new ones end in CR LF.
    QStringList ends(newCount - 1, NewLineEnd);
    // Between two kept lines (or the text's start or end) the ends that stood there come back
    // one for one when as many stand there now. Otherwise the kept line before keeps its own
    // end and the kept line after the end that stood before it; where only one end stood
    // between them, it stays before the kept line after, as when a Return is typed at the end
    // of a line.
    QList<std::pair<qsizetype, qsizetype>> kept = keptLines(before.texts, after);
    kept.append({oldCount, newCount});
    std::pair<qsizetype, qsizetype> previous{-1, -1};
    for (const auto &next : kept) {
        const qsizetype firstOld = std::max<qsizetype>(previous.first, 0);
        const qsizetype oldEnds = std::min(next.first - 1, oldCount - 2) - firstOld + 1;
        const qsizetype firstNew = std::max<qsizetype>(previous.second, 0);
        const qsizetype newEnds = std::min(next.second - 1, newCount - 2) - firstNew + 1;
        const bool afterKept = previous.second >= 0, beforeKept = next.second < newCount;
        if (newEnds > 0 && oldEnds == newEnds) {
            for (qsizetype k = 0; k < newEnds; ++k)
                ends[firstNew + k] = before.ends[firstOld + k];
        } else if (newEnds > 0 && oldEnds > 0) {
            const bool ownEndFirst = afterKept && (!beforeKept || oldEnds > 1);
            if (ownEndFirst)
                ends[firstNew] = before.ends[firstOld];
            if (beforeKept && !(ownEndFirst && newEnds == 1))
                ends[firstNew + newEnds - 1] = before.ends[firstOld + oldEnds - 1];
        }
        previous = next;
    }
    // A CR end, an empty line and an LF end would read back as one CR LF, losing the line:
    // the CR takes the LF a new end has.
    for (qsizetype j = 1; j + 1 < newCount; ++j) {
        if (after[j].isEmpty() && ends[j - 1] == u"\r" && ends[j] == u"\n")
            ends[j - 1] = NewLineEnd;
    }
    QString text = after[0];
    for (qsizetype j = 1; j < newCount; ++j)
        text += ends[j - 1] + after[j];
    return text;
}

#include "helpers/NotesText.h"

#include <QPlainTextEdit>
#include <QTextDocument>

namespace {

// The property on a box holding the text it was shown with.
constexpr char StoredProperty[] = "storedText";

const QString NewLineEnd = QStringLiteral("\r\n");

struct Lines {
    QStringList texts;
    QStringList ends; // ends[i] follows texts[i]
};

// A text's lines, broken where a text box breaks them: CR LF, CR, LF and the paragraph
// separator each end a line.
Lines linesOf(const QString &text)
{
    Lines lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c != u'\r' && c != u'\n' && c != QChar::ParagraphSeparator)
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

} // namespace

void showStoredText(QPlainTextEdit &box, const QString &stored)
{
    box.setProperty(StoredProperty, stored);
    box.setPlainText(stored);
}

QString boxText(const QPlainTextEdit &box)
{
    QString text = box.document()->toRawText();
    text.replace(QChar::ParagraphSeparator, u'\n');
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
    // The lines the user left alone at the start and at the end keep the line ends between
    // them; the ends in between are kept only when as many lines stand there as before.
    const qsizetype oldCount = before.texts.size(), newCount = after.size();
    const qsizetype both = std::min(oldCount, newCount);
    qsizetype head = 0;
    while (head < both && after[head] == before.texts[head])
        ++head;
    qsizetype tail = 0;
    while (tail < both - head && after[newCount - 1 - tail] == before.texts[oldCount - 1 - tail])
        ++tail;
    QString text = after[0];
    for (qsizetype i = 0; i + 1 < newCount; ++i) {
        // The end between lines i and i + 1, and the one it stands for before the change.
        const qsizetype oldEnd = i - (newCount - oldCount);
        QString end = NewLineEnd;
        if (i < head && i < oldCount - 1)
            end = before.ends[i];
        else if (i + 1 >= newCount - tail && oldEnd >= head)
            end = before.ends[oldEnd];
        else if (newCount == oldCount)
            end = before.ends[i];
        text += end + after[i + 1];
    }
    return text;
}

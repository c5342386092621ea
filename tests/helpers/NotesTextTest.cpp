#include "helpers/NotesText.h"

#include <QPlainTextEdit>
#include <QTextCursor>
#include <gtest/gtest.h>

namespace {

// Every line end, no-break spaces and a line separator inside a line.
const QString Notes = QString::fromUtf16(u"Prix\u00a0: 10\u00a0000\u00a0€\r\nsecond\u2028sep\nlone LF\rend");

TEST(NotesBox, StoresTheTextAsItWasWhereNobodyChangedIt)
{
    const struct {
        QString stored;
        int at, replaced;
        QString typed, expected;
    } rows[] = {
        {Notes, 3, 1, "x", Notes}, // typed over with the same letter
        {Notes, 16, 0, "the ", QString(Notes).insert(17, "the ")},
        {Notes, 26, 1, "", QString(Notes).remove(27, 1)}, // two lines joined
        {Notes, 22, 0, "\n", QString(Notes).insert(23, "\r\n")},
        {Notes, 38, 0, "\nmore", Notes + "\r\nmore"},
        {QString(), 0, 0, "a\nb\n", "a\r\nb\r\n"},
    };
    for (const auto &row : rows) {
        QPlainTextEdit box;
        showStoredText(box, row.stored);
        QTextCursor cursor(box.document());
        cursor.setPosition(row.at);
        cursor.setPosition(row.at + row.replaced, QTextCursor::KeepAnchor);
        cursor.insertText(row.typed);
        EXPECT_EQ(textToStore(box), row.expected) << row.at << " " << row.typed.toStdString();
    }
}

} // namespace

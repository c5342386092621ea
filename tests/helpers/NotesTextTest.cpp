#include "helpers/NotesText.h"

#include <QPlainTextEdit>
#include <QTest>
#include <QTextCursor>
#include <gtest/gtest.h>
#include <vector>

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

// Edits that join lines, split others and type line ends: the lines nobody touched, found by
// their text, keep their own ends; a Return or Shift+Return typed stores CR LF.
TEST(NotesBox, LinesLeftAloneKeepTheirEndsWhereverTheyNowStand)
{
    const QString mixed = "one\ntwo\r\nthree\rfour\r\nfive";
    struct Edit {
        int at, replaced;
        QString typed;
        Qt::KeyboardModifiers keyWith = Qt::NoModifier; // a Return typed when typed is empty
    };
    const struct {
        const char *what;
        QString stored;
        std::vector<Edit> edits;
        QString expected;
    } rows[] = {
        {"lines 1-2 joined, the last split", mixed, {{3, 1, ""}, {20, 0, "\n"}}, "onetwo\r\nthree\rfour\r\nfi\r\nve"},
        {"a line moved to the end", mixed, {{8, 6, ""}, {17, 0, "\nthree"}}, "one\ntwo\r\nfour\r\nfive\r\nthree"},
        {"a line and its end deleted", mixed, {{4, 4, ""}}, "one\nthree\rfour\r\nfive"},
        {"Return typed in a line", mixed, {{10, 0, ""}}, "one\ntwo\r\nth\r\nree\rfour\r\nfive"},
        {"Shift+Return typed in a line", mixed, {{10, 0, "", Qt::ShiftModifier}}, "one\ntwo\r\nth\r\nree\rfour\r\nfive"},
        {"Shift+Return kept as stored", "a\u2028b\rc", {{5, 0, "d"}}, "a\u2028b\rcd"},
        {"Return at a line's end, CR lines", "a\rb", {{1, 0, ""}}, "a\r\n\rb"},
    };
    for (const auto &row : rows) {
        QPlainTextEdit box;
        showStoredText(box, row.stored);
        for (const Edit &edit : row.edits) {
            QTextCursor cursor(box.document());
            cursor.setPosition(edit.at);
            cursor.setPosition(edit.at + edit.replaced, QTextCursor::KeepAnchor);
            if (!edit.typed.isEmpty() || edit.replaced > 0) {
                cursor.insertText(edit.typed);
                continue;
            }
            box.setTextCursor(cursor);
            QTest::keyClick(&box, Qt::Key_Return, edit.keyWith);
        }
        EXPECT_EQ(textToStore(box).toStdString(), row.expected.toStdString()) << row.what;
    }
}

} // namespace

#include "helpers/NotesText.h"

#include <QPlainTextEdit>
#include <QTextCursor>
#include <gtest/gtest.h>

#include <random>

namespace {

// Every line end, no-break spaces and a line separator inside a line.
const QString Notes = QString::fromUtf16(u"Prix\u00a0: 10\u00a0000\u00a0€\r\nsecond\u2028sep\nlone LF\rend");
const QString Mixed = QStringLiteral("one\ntwo\r\nthree\rfour\r\nfive");

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
        // Lines found by their text keep their ends: lines 1-2 joined and the last split; a
        // line deleted with its end; a Return typed as two lines are joined, and a Shift+Return
        // typed, store CR LF.
        {Mixed, 3, 18, "two\nthree\nfour\nfi\n", "onetwo\r\nthree\rfour\r\nfi\r\nve"},
        {Mixed, 4, 4, "", "one\nthree\rfour\r\nfive"},
        {Mixed, 1, 13, "\nne\ntwo\nthree", "o\r\nne\ntwo\r\nthreefour\r\nfive"},
        {Mixed, 10, 0, QString(QChar::LineSeparator), "one\ntwo\r\nth\r\nree\rfour\r\nfive"},
        // A kept CR and a kept LF about a blank line would read back as one end.
        {"a\rb\n\nc", 2, 2, "", "a\r\n\nc"},
    };
    for (const auto &row : rows) {
        QPlainTextEdit box;
        showStoredText(box, row.stored);
        QTextCursor cursor(box.document());
        cursor.setPosition(row.at);
        cursor.setPosition(row.at + row.replaced, QTextCursor::KeepAnchor);
        cursor.insertText(row.typed);
        EXPECT_EQ(textToStore(box).toStdString(), row.expected.toStdString())
            << row.at << " " << row.typed.toStdString();
    }
}

TEST(NotesBox, StoredTextReadsBackAsTheLinesTheBoxShows)
{
    // Short lines from few letters repeat, so that lines are often matched to the wrong ones.
    const QString pieces[] = {"a", "b", "", "\r", "\n", "\r\n"};
    const QString typed[] = {"a", "b", "\n", "\n\n", "a\n"};
    std::mt19937 random(67);
    const auto below = [&](qsizetype n) { return qsizetype(random() % std::size_t(n)); };
    QPlainTextEdit box;
    for (int edit = 0; edit < 40000; ++edit) {
        QString stored;
        for (qsizetype k = below(9); k > 0; --k)
            stored += pieces[below(6)];
        QString shown = stored;
        shown.replace("\r\n", "\n").replace(u'\r', u'\n');
        const qsizetype at = below(shown.size() + 1);
        shown.remove(at, below(shown.size() - at + 1));
        if (below(2) == 0)
            shown.insert(at, typed[below(5)]);
        showStoredText(box, storedTextFor(stored, shown));
        ASSERT_EQ(boxText(box).toStdString(), shown.toStdString()) << "edit " << edit;
    }
}

} // namespace

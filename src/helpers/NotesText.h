#pragma once

#include <QString>

class QPlainTextEdit;

// Notes boxes (the editor's, the memo pad's, Reminders') keep what the file holds. A text
// box shows every line end as the same new line and, read with toPlainText, gives no-break
// spaces back as blanks and line separators as new lines; these read and store it as it is.

// Shows a stored text in the box and keeps it with the box, so that saving the box stores
// it back as it was while nobody changes it.
void showStoredText(QPlainTextEdit &box, const QString &stored);

// Every character the box holds, its lines joined by "\n": a line separator (Shift+Return)
// ends a line as a paragraph does.
QString boxText(const QPlainTextEdit &box);

// The text to store for the box: the text it was shown with while it still shows it,
// otherwise what it holds, as storedTextFor describes.
QString textToStore(const QPlainTextEdit &box);

// The text to store for a box shown with `stored` that now holds `shown` (lines joined by
// "\n"): `stored` itself while the box shows it unchanged; otherwise `shown`, where the
// lines the user left alone, found by their text, keep the ends they had in `stored` (and
// where as many lines stand between two of them as before, so do those), and lines typed,
// split or joined end in CR LF.
QString storedTextFor(const QString &stored, const QString &shown);

#pragma once

#include "platform/print/PrintDocument.h"

#include <QImage>
#include <QRectF>
#include <QString>
#include <QStringList>
#include <string>
#include <vector>

namespace testsupport {

// Queries on a recorded document; pages count from 1, positions are twips. Runs of
// blanks are never recorded, so every run here shows on paper.

// All runs of the page, in the order they were printed (none for a missing page).
std::vector<platform::PrintRun> runsOnPage(const platform::PrintDocument &document, int page);

// The text of the run that starts at (x, y) on the page, within half a twip; empty
// when none does.
QString textAt(const platform::PrintDocument &document, int page, double x, double y);

// The run that holds the text exactly; nullptr when none does. The first one wins.
const platform::PrintRun *findRun(const platform::PrintDocument &document, int page, const QString &text);

// One readable line per run, "(x,y) text", with " [b]" / " [i]" before the text for
// bold and italic and the font when it is not Arial 10: easy to compare whole pages.
std::vector<std::string> pageLines(const platform::PrintDocument &document, int page);
std::string describe(const platform::PrintRun &run);

// The page (from 0) drawn as the preview, the printer and PDF draw it, at a resolution
// in dots per inch: white paper on gray, all gray when the document has no such page.
QImage renderPage(const platform::PrintDocument &document, int pageIndex, int dpi);
// The same page written to PDF and drawn by a PDF reader (null when none could draw it).
QImage pdfPage(const platform::PrintDocument &document, int pageIndex, int dpi);
// The same page written to PDF and read back glyph by glyph: one text per line of the page,
// top to bottom, its glyphs in the order they stand from the left, each as the character
// the PDF maps it to ("□" for a missing-glyph box).
std::vector<QString> pdfDrawnLines(const platform::PrintDocument &document, int pageIndex);
// The box around every dark pixel of a page drawn at dpi, in twips; empty without ink.
QRectF inkInTwips(const QImage &image, int dpi);

// The contact fields a report reads: names, both address sets, six phones and the e-mail.
QStringList printedContactFields();

} // namespace testsupport

#pragma once

#include <QColor>
#include <QString>

// Picture files too large for the image reader to hold whole, written a row at a time so
// that the test never holds them either.
namespace largepictures {

// A baseline JPEG of one colour.
void writeJpeg(const QString &path, int width, int height, QColor colour);
// An 8-bit RGB PNG of one grey level below 144 (its data compressed as runs of zeros).
void writeGreyPng(const QString &path, int width, int height, int level);

} // namespace largepictures

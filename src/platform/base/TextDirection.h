#pragma once

#include <QList>
#include <QString>
#include <QStringView>

namespace platform {

// Printed and shown lines read as left-to-right paragraphs, so their fields stand in the
// order the layout gives them. A field that reads right to left goes into an isolate of
// its own (first strong isolate, U+2068 ... U+2069): its digits and brackets resolve as
// its own language expects and it never pulls its neighbours into its order. The marks
// take no room and are never drawn.

constexpr char16_t LeftToRightIsolate = 0x2066;
constexpr char16_t RightToLeftIsolate = 0x2067;
constexpr char16_t FirstStrongIsolate = 0x2068;
constexpr char16_t PopDirectionalIsolate = 0x2069;

// The invisible characters that only steer the direction of others: the Arabic letter
// mark, the left-to-right and right-to-left marks, embeddings, overrides and isolates.
bool isDirectionMark(char32_t codePoint);

// The characters that end a paragraph for the bidirectional algorithm: CR, LF, the
// information separators U+001C to U+001E, U+0085 and U+2029.
bool isParagraphSeparator(QChar c);

// Whether the text could read other than left to right as it stands: it holds a letter
// written right to left, an Arabic-script digit or a direction mark.
bool needsReordering(QStringView text);

// The field as it prints, and as an isolate of its own when it needs reordering. Every
// control character prints as a blank, a tab included; CR and LF stay, and any other line
// end (U+2028, U+2029, U+0085, U+001C to U+001E) becomes LF. Blanks at its ends stay outside
// the isolate, where they were typed to separate it from its neighbours, and each of its
// lines is an isolate of its own. Every isolate, embedding and override the field opens ends
// within it. Any other text comes back as it is.
QString isolatedField(const QString &field);
// The same for a field printed where it has one line: each line end, a CR LF pair as one,
// becomes a blank.
QString isolatedLine(const QString &field);
// The characters of a field shown where it has one line, as paper prints them: every control
// character and line end a blank (a CR LF pair one), with no isolates added.
QString oneLineCharacters(const QString &field);

// A stretch of a line drawn in one direction: [start, start + length) of the line.
struct DirectionRun {
    qsizetype start = 0;
    qsizetype length = 0;
    bool rightToLeft = false;
};

// The stretches of a line in the order they stand from the left, the line read as one
// left-to-right paragraph by the Unicode bidirectional algorithm. One left-to-right
// stretch for text that needs no reordering.
QList<DirectionRun> visualRuns(QStringView line);

// Line was cut from the front of a text and rest is what follows it. Isolates, embeddings
// and overrides the cut falls into are closed at the end of line and opened again at the
// start of rest, each isolate in the direction the whole reads, so both parts read as the
// whole did.
void carryIsolates(QString &line, QString &rest);

} // namespace platform

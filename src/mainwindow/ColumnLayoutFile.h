#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// The user's arrangement of the main grid's columns, kept between runs in
// "qncolumn.dat" in the program folder: one line per grid column after the
// selection-mark column, in column order, as
//     "caption","data field",width,alignment CR LF
// in the ANSI code page, texts quoted, numbers with a point whatever the locale.
class ColumnLayoutFile {
  public:
    // One stored column. Alignment codes: 0 left, 1 right, 2 centre, 3 general.
    struct Column {
        QString caption;
        QString dataField;
        double width = 0; // twips
        int alignment = 0;

        bool operator==(const Column &) const = default;
    };

    static QString path();

    // The columns to rebuild, at most maxColumns of them (the grid's column count
    // less one). A missing file gives none. Reading stops quietly at the first entry
    // that is incomplete or unusable, at a caption that reads as a number, or at
    // the end of the file; what came before it is returned.
    static QList<Column> read(int maxColumns);
    static QList<Column> parse(const QByteArray &bytes, int maxColumns);

    // Replaces the file with these columns; false when it cannot be written (the
    // old file then stays as it was), with the reason in why, one sentence that does not
    // name the file.
    static bool write(const QList<Column> &columns, QString *why = nullptr);
    // What tells the user that the layout could not be kept, and why.
    static QString notSavedText(const QString &why);
    static QByteArray format(const QList<Column> &columns);

    // A number as the file holds it: single precision, at most 7 significant digits,
    // a point and fraction digits only when not whole, no leading blank.
    static QString numberText(double value);
};

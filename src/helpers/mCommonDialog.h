#pragma once

#include <QString>

class QWidget;

// Shows the open-file dialog. In: the initial file name and title (at most 260
// characters each), the dialog options, the filter ("Description|pattern|..."), the
// 1-based filter shown first, the initial folder, the caption and the default
// extension. Out, when the user chose a file (true): its full path and bare name, the
// read-only choice, the chosen filter pair (description NUL pattern) and its index,
// and the flags the dialog returned. On Cancel (false): empty names and filter, index
// -1 and flags 0. With multiple selection on, the first file chosen is returned.
bool ShowOpenFileDialog(QString &fileName, QString &fileTitle, bool fileMustExist, bool multipleSelection,
                        bool &readOnly, bool hideReadOnly, QString &filter, int &filterIndex,
                        const QString &initialFolder, const QString &dialogTitle,
                        const QString &defaultExtension, QWidget *owner, int &extraFlags);

// The n-th (1-based) description and pattern of a NUL-separated filter text, with the
// NUL between them kept; "" when there is no such pair.
QString GetNullField(const QString &nulFilter, int n);

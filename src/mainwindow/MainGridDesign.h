#pragma once

#include "mainwindow/ColumnLayoutFile.h"

#include <QList>

// The main grid's columns as designed: column 0 shows the selection mark; columns 1 to
// 59 show the contact fields most worth a glance, names first. The saved column layout
// rebuilds columns 1 onwards over this design.
QList<ColumnLayoutFile::Column> designedGridColumns();

constexpr int DesignedGridColumnCount = 60;

#pragma once

#include "mainwindow/ColumnLayout.h"
#include "mainwindow/DisplayModes.h"
#include "mainwindow/GridEvents.h"
#include "mainwindow/ListViewCommands.h"
#include "mainwindow/LocateBox.h"
#include "mainwindow/NameList.h"
#include "mainwindow/PictureCommands.h"
#include "mainwindow/ProgramCommands.h"
#include "mainwindow/RecordCommands.h"
#include "mainwindow/ReportCommands.h"
#include "platform/db/DataControl.h"
#include "FormControls.h" // beside this file, so the benchmarks find it too

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTableView>

// clang-format off
inline platform::DataControl *Data1(const NameList &w) { return controlOf<platform::DataControl>(w, "Data1"); }
inline QTableView *Table1(const NameList &w) { return controlOf<QTableView>(w, "Table1"); }
inline QLineEdit *txtLocate(const NameList &w) { return controlOf<QLineEdit>(w, "txtLocate"); }
inline QComboBox *cmbSort(const NameList &w) { return controlOf<QComboBox>(w, "cmbSort"); }
inline QPlainTextEdit *txtName(const NameList &w) { return controlOf<QPlainTextEdit>(w, "txtName"); }
inline QPlainTextEdit *txtPhone(const NameList &w) { return controlOf<QPlainTextEdit>(w, "txtPhone"); }
inline QFrame *TextBackground(const NameList &w) { return controlOf<QFrame>(w, "TextBackground"); }
inline QWidget *client(const NameList &w) { return controlOf<QWidget>(w, "client"); }
inline QMenuBar *menuBar(const NameList &w) { return controlOf<QMenuBar>(w, "menuBar"); }
// A menu of the menu bar (FileMenu, EditMenu, ReportsMenu, OptionsMenu, HelpMenu).
inline QMenu *menu(const NameList &w, const char *name) { return controlOf<QMenu>(w, name); }
// A label over or under the grid (lblCategory, lblFilterMsg, lblSelectedCount, lblNotice, ...).
inline QLabel *label(const NameList &w, const char *name) { return controlOf<QLabel>(w, name); }
// clang-format on

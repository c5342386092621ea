#pragma once

#include "helpers/GLOBAL.h"
#include "mainwindow/NameList.h"
#include "platform/db/DataControl.h"
#include "platform/db/Database.h"
#include "platform/db/NewDatabase.h"
#include "platform/db/Recordset.h"
#include "start/modMain.h"
#include "support/ContactGenerator.h"
#include "support/DialogScript.h"
#include "support/MainWindowControls.h"
#include "support/StartedProgram.h"

#include <QApplication>
#include <QHeaderView>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>

// The real main window, started on a database of its own beside a program folder of its
// own, driven offscreen through its controls.
class MainWindowFixture : public ::testing::Test {
  protected:
    void TearDown() override { gTabletMode = false; }

    // The database file: `contacts` generated contacts, none marked.
    void prepare(int contacts)
    {
        path = program.folder().filePath("Quiltern.mdb");
        platform::createDatabaseFromSchema(path);
        auto db = platform::Database::open(path);
        if (contacts > 0)
            ContactGenerator::insert(*db, contacts, 11);
        db->execute("Update tblContacts Set Selected=' '");
    }

    // Runs a statement on the file before the program opens it.
    void before(const QString &sql)
    {
        auto db = platform::Database::open(path);
        db->execute(sql);
    }

    NameList &start()
    {
        gTabletMode = false;
        program.setCommandLine(path);
        EXPECT_TRUE(program.start());
        NameList *w = StartedProgram::window();
        if (!w)
            throw std::runtime_error("the main window did not open");
        QApplication::setActiveWindow(w);
        QCoreApplication::processEvents();
        return *w;
    }

    static platform::Recordset &shown(NameList &w) { return *Data1(w)->recordset(); }

    // The current contact's field, as the list holds it.
    static QVariant current(NameList &w, const QString &field) { return shown(w).value(field); }

    qint64 count(const QString &sql)
    {
        auto rs = gDb->openRecordset(sql);
        return rs->value(0).toLongLong();
    }

    static QPoint cellCentre(NameList &w, int row, int column)
    {
        return Table1(w)->visualRect(Table1(w)->model()->index(row, column)).center();
    }

    static void clickCell(NameList &w, int row, int column)
    {
        QTest::mouseClick(Table1(w)->viewport(), Qt::LeftButton, {}, cellCentre(w, row, column));
        QCoreApplication::processEvents();
    }

    static void clickHeading(NameList &w, int column)
    {
        QHeaderView *header = Table1(w)->horizontalHeader();
        const int x = header->sectionViewportPosition(column) + header->sectionSize(column) / 2;
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(x, header->height() / 2));
        QCoreApplication::processEvents();
    }

    StartedProgram program;
    DialogScript script;
    QString path;
};

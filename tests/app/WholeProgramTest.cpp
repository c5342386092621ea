// The program used as a person uses it: started by the start routine on a database of
// generated contacts, driven through the main window's buttons and menus and the windows
// they open, checked by what the windows show and what the database holds afterwards.
#include "app/modMain.h"
#include "mainwindow/NameList.h"
#include "platform/db/DataControl.h"
#include "platform/db/Database.h"
#include "platform/db/NewDatabase.h"
#include "platform/db/Recordset.h"
#include "platform/ui/Twips.h"
#include "support/ContactGenerator.h"
#include "support/DialogScript.h"
#include "support/StartedProgram.h"

#include <QAbstractItemModel>
#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <gtest/gtest.h>

namespace {

class WholeProgramTest : public ::testing::Test {
  protected:
    void SetUp() override
    {
        path = program.folder().filePath("Quiltern.mdb");
        platform::createDatabaseFromSchema(path);
        auto db = platform::Database::open(path);
        ContactGenerator::insert(*db, 30, 7);
    }

    NameList &start()
    {
        program.setCommandLine(path);
        EXPECT_TRUE(program.start());
        NameList *w = StartedProgram::window();
        EXPECT_NE(w, nullptr);
        return *w;
    }

    static void run(NameList &w, const QString &command)
    {
        QAction *item = w.menuItem(command);
        if (item) {
            ASSERT_TRUE(item->isEnabled()) << qPrintable(command);
            item->trigger();
        } else {
            QPushButton *b = w.button(command);
            ASSERT_NE(b, nullptr) << qPrintable(command);
            ASSERT_TRUE(b->isEnabled()) << qPrintable(command);
            b->click();
        }
    }

    // The texts of one grid column, top to bottom.
    static QStringList column(NameList &w, const QString &caption)
    {
        QAbstractItemModel *model = w.Table1->model();
        int c = 0;
        while (c < model->columnCount() && model->headerData(c, Qt::Horizontal).toString() != caption)
            ++c;
        QStringList texts;
        for (int r = 0; r < model->rowCount(); ++r)
            texts.append(model->index(r, c).data().toString());
        return texts;
    }

    StartedProgram program;
    DialogScript script;
    QString path;
};

} // namespace

TEST_F(WholeProgramTest, MainWindowOpensWithEveryToolbarButtonInView)
{
    NameList &w = start();
    const QRect client = w.rect();
    for (const char *name : {"cmdFind", "cmdNotes", "cmdPictures", "cmdHelp", "cmdShowAll", "cmdExitSign"}) {
        QPushButton *b = w.button(QString::fromLatin1(name));
        ASSERT_NE(b, nullptr) << name;
        const QRect inWindow(b->mapTo(&w, QPoint(0, 0)), b->size());
        EXPECT_TRUE(client.contains(inWindow)) << name << " is cut off by the window's right edge";
    }
}

TEST_F(WholeProgramTest, GeneratedContactsShowTheirNamesInTheGrid)
{
    NameList &w = start();
    const QStringList lastNames = column(w, "Last Name");
    ASSERT_EQ(lastNames.size(), 30);
    EXPECT_GT(lastNames.count(QString()), 0) << "organisations have no last name";
    EXPECT_LT(lastNames.count(QString()), 10) << "people have one";
    EXPECT_EQ(lastNames.last(), lastNames.last().trimmed());
}

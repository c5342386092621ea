#include "selection/CatgAssignAll.h"

#include "helpers/DatabaseState.h"
#include "helpers/MainWindowFlags.h"
#include "helpers/MainWindowLink.h"
#include "helpers/ValueHelpers.h"
#include "platform/RuntimeError.h"
#include "platform/db/DataControl.h"
#include "platform/db/Database.h"
#include "platform/db/Recordset.h"
#include "platform/grid/DataGrid.h"
#include "platform/ui/MousePointer.h"
#include "platform/ui/MsgBox.h"
#include "platform/ui/Twips.h"
#include "selection/CategoryGrid.h"
#include "selection/SelectionFailure.h"

#include <QCoreApplication>
#include <QPushButton>
#include <QTableView>

using platform::BusyPointer;
using platform::RuntimeError;

namespace {

QPushButton *addButton(QWidget *parent, const char *name, const char *caption, const char *tip, int top)
{
    auto *b = new QPushButton(QString::fromLatin1(caption), parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setToolTip(QString::fromLatin1(tip));
    b->setAutoDefault(false);
    platform::setGeometryTwips(b, 4560, top, 2295, 420);
    return b;
}

const QString NoRecordsMessage =
    QStringLiteral("There are no records displayed, so there are no records to assign to or remove from a "
                   "category.  Add some records or change the Category or Selection Criteria to display records "
                   "first.");

} // namespace

CatgAssignAll &CatgAssignAll::instance()
{
    static QPointer<CatgAssignAll> form;
    return platform::instanceOf(form);
}

void CatgAssignAll::open()
{
    CatgAssignAll &form = instance();
    form.showModal();
    if (form.isLoaded())
        form.unload();
}

CatgAssignAll::CatgAssignAll()
{
    setObjectName(QStringLiteral("CatgAssignAll"));
    setWindowTitle(QStringLiteral("Assign or Remove all displayed records to/from a Cateogry"));
    platform::setClientSizeTwips(this, 7080, 4560);
    // Fixed at the size just set.
    setDialogBorder(true);

    CatgData = new platform::DataControl(this);
    CatgData->setObjectName(QStringLiteral("CatgData"));
    CatgGridBinding =
        makeCategoryGrid(this, QStringLiteral("CatgGrid"), CatgData,
                         {{QStringLiteral("CategoryNumber"), QStringLiteral("CategoryNumber"), 0},
                          {QStringLiteral("List of all Categories"), QStringLiteral("CategoryDesc"), 3600}});
    CatgGrid = findChild<QTableView *>(QStringLiteral("CatgGrid"));
    CatgGrid->setColumnHidden(0, true);
    platform::setGeometryTwips(CatgGrid, 120, 120, 4200, 4200);

    cmdAssign = addButton(this, "cmdAssign", "&Assign to Category",
                          "Assigns the selected Category to EVERY record displayed on the previous screen.  Be "
                          "careful!",
                          120);
    cmdDelete = addButton(this, "cmdDelete", "&Remove from Category",
                          "Removes the selected Category from EVERY record displayed on the previous screen.  Be "
                          "careful!",
                          660);
    cmdExit = addButton(this, "cmdExit", "E&xit", "Returns to the previous screen.", 3900);
    // The walk traps the database's errors itself; a failure before it starts is shown
    // the same way as in the other windows of categories, and the window stays open.
    connect(cmdAssign, &QPushButton::clicked, this, [this] { reportingFailure([this] { cmdAssign_Click(); }); });
    connect(cmdDelete, &QPushButton::clicked, this, [this] { reportingFailure([this] { cmdDelete_Click(); }); });
    connect(cmdExit, &QPushButton::clicked, this, &CatgAssignAll::cmdExit_Click);
    setCancelButton(cmdExit);
}

CatgAssignAll::~CatgAssignAll() = default;

void CatgAssignAll::Form_Load()
{
    platform::centerWindowOnScreen(this);
    CatgData->setDatabase(gDb.get());
    CatgData->setRecordSource(QStringLiteral("Select * from tblCategoryDesc Order By CategoryDesc"));
    CatgData->refresh();
}

bool CatgAssignAll::confirm(bool assign)
{
    QString text;
    const QString &source = MainWindowLink::Data1().recordSource();
    if (gMainWindow.gSelectedCount >= 1 && !source.contains(QLatin1String("Selected"))) {
        text =
            (assign ? QStringLiteral("All displayed records will be assigned to this category, not just the ")
                    : QStringLiteral(
                          "All displayed records will be removed from this category, not just the ")) +
            QString::number(gMainWindow.gSelectedCount) +
            (assign
                 ? QStringLiteral(" you have selected.  To assign just the selected records, press Cancel, ")
                 : QStringLiteral(" you have selected.  To un-assign just the selected records, press "
                                  "Cancel, ")) +
            QStringLiteral("exit this screen, and click the \"Show Selected Records Only\" button on the "
                           "previous screen or choose that option from the Edit menu.\r\n\r\n");
    }
    text += assign ? QStringLiteral("Click on the OK button to assign ALL displayed records to this category, or "
                                    "Cancel if this is not what you want.")
                   : QStringLiteral("Click on the OK button to remove ALL displayed records from this category, or "
                                    "Cancel if this is not what you want.");
    return platform::MsgBox(text, platform::vbOKCancel | platform::vbExclamation | platform::vbDefaultButton2,
                            QStringLiteral("Warning")) == platform::vbOK;
}

void CatgAssignAll::cmdAssign_Click()
{
    walk(true);
}

void CatgAssignAll::cmdDelete_Click()
{
    walk(false);
}

void CatgAssignAll::walk(bool assign)
{
    platform::Recordset *shown = MainWindowLink::Data1().recordset();
    // An empty list is told before anything is asked.
    if (!shown || shown->recordCount() < 1) {
        platform::MsgBox(NoRecordsMessage, platform::vbInformation, QStringLiteral("No records displayed"));
        return;
    }
    if (!confirm(assign))
        return;
    platform::Recordset *categories = CatgData->recordset();
    if (!categories || categories->recordCount() < 1 || categories->eof() || categories->bof())
        return;

    BusyPointer busy;
    // The answered warning leaves a hole in the windows under it; they fill it before the
    // work, which gives the user no turn.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    qint64 done = 0, skipped = 0;
    bool inTransaction = false;
    QString description;
    try {
        const qint64 number = categories->value(QStringLiteral("CategoryNumber")).toLongLong();
        description = NullToString(categories->value(QStringLiteral("CategoryDesc"))).toString();
        // The list's rows as they stand, read without moving its current row.
        const QVariantList contacts = shown->valuesOf(shown->fieldIndex(QStringLiteral("RecordID")));
        const platform::Database::FieldValues category{{QStringLiteral("CategoryNumber"), number}};
        gDb->beginTrans();
        inTransaction = true;
        if (assign) {
            done = gDb->addRows(QStringLiteral("tblCategoryID"), QStringLiteral("ID"), contacts, category,
                                &skipped);
        } else {
            done = gDb->deleteRows(QStringLiteral("tblCategoryID"), QStringLiteral("ID"), contacts, category);
            skipped = contacts.size() - done;
        }
        gDb->commitTrans();
        inTransaction = false;
    } catch (const RuntimeError &error) {
        // Every link stays as it was, and so does the list.
        if (inTransaction) {
            try {
                gDb->rollback();
            } catch (const RuntimeError &) {
                // A commit that failed on the file has ended the transaction itself.
            }
        }
        busy.release();
        if (error.number() != platform::err::SyntaxError)
            platform::MsgBox(error.description(), platform::vbOKOnly, gAppName);
        return;
    }
    busy.release();
    QString text;
    if (assign) {
        text = QStringLiteral("Number of records assigned to Category \"") + description +
               QStringLiteral("\" (") + QString::number(done) + QStringLiteral(").");
        if (skipped > 0)
            text += QStringLiteral("\nNumber of records already assigned to this Category (") +
                    QString::number(skipped) + QStringLiteral(").");
    } else {
        text = QStringLiteral("Number of records removed from Category \"") + description + QStringLiteral("\" (") +
               QString::number(done) + QStringLiteral(").");
        if (skipped > 0)
            text += QStringLiteral("\nNumber of records not found assigned to this Category (") +
                    QString::number(skipped) + QStringLiteral(").");
    }
    platform::MsgBox(text, platform::vbOKOnly | platform::vbInformation,
                     assign ? QStringLiteral("Assignment Statistics") : QStringLiteral("Un-Assignment Statistics"));
}

void CatgAssignAll::cmdExit_Click()
{
    unload();
}

#include "reminders/CurrentReminders.h"

#include "helpers/DatabaseState.h"
#include "helpers/ValueHelpers.h"
#include "platform/base/DateText.h"
#include "platform/db/DataControl.h"
#include "platform/db/Database.h"
#include "platform/db/Recordset.h"
#include "platform/grid/DataGrid.h"
#include "platform/ui/MsgBox.h"
#include "platform/ui/Twips.h"
#include "reminders/ReminderRecords.h"

#include <QDate>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>

namespace {

QString fieldText(platform::Recordset &rs, const QString &field)
{
    return NullToString(rs.value(field)).toString();
}

// A date as the database engine reads a date literal: month/day/year, whatever the
// user's own date settings are.
QString engineDateLiteral(const QDate &date)
{
    return QStringLiteral("%1/%2/%3").arg(date.month()).arg(date.day()).arg(date.year());
}

} // namespace

void CurrentReminders::open(platform::Database &db)
{
    platform::showModalOnce(new CurrentReminders(db));
}

CurrentReminders::CurrentReminders(platform::Database &db) : mDb(db)
{
    setObjectName(QStringLiteral("CurrentReminders"));
    setWindowTitle(QStringLiteral("Current Reminders"));
    platform::setClientSizeTwips(this, 9720, 6000);
    setDialogBorder(true);

    Data1 = new platform::DataControl(this);
    Data1->setDatabase(&mDb);
    Data1->setRecordSource(QStringLiteral("qryCurrentReminders"));
    DBGrid1 = new QTableView(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    DBGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    DBGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    platform::setGeometryTwips(DBGrid1, 120, 120, 9480, 3000);
    DBGrid1Binding = new platform::DataGrid(
        DBGrid1, Data1, this, 255,
        {{QStringLiteral("TblRemindRecordID"), QStringLiteral("TblRemindRecordID"), 0},
         {QStringLiteral("Reminder"), QStringLiteral("Description"), 4200},
         {QStringLiteral("Date"), QStringLiteral("RemindDate"), 1300},
         {QStringLiteral("Notes"), QStringLiteral("Notes"), 2400},
         {QStringLiteral("RecordID"), QStringLiteral("RecordID"), 0},
         {QStringLiteral("WarnDate"), QStringLiteral("WarnDate"), 1300}});
    // The keys only tie a row to its reminder and contact: they are not for reading.
    DBGrid1->setColumnHidden(0, true);
    DBGrid1->setColumnHidden(4, true);
    DBGrid1->installEventFilter(this);

    lblName = new QLabel(QStringLiteral("Name"), this);
    lblName->setObjectName(QStringLiteral("lblName"));
    platform::setGeometryTwips(lblName, 120, 3240, 6000, 285);
    lblOrganization = new QLabel(QStringLiteral("Org"), this);
    lblOrganization->setObjectName(QStringLiteral("lblOrganization"));
    platform::setGeometryTwips(lblOrganization, 120, 3540, 6000, 285);
    txtNotes = new QPlainTextEdit(this);
    txtNotes->setObjectName(QStringLiteral("txtNotes"));
    // The due list is a snapshot that only loses rows; its notes are for reading.
    txtNotes->setReadOnly(true);
    platform::setGeometryTwips(txtNotes, 120, 3900, 9480, 1320);
    cmdDelete = new QPushButton(QStringLiteral("&Remove Reminder"), this);
    cmdDelete->setObjectName(QStringLiteral("cmdDelete"));
    cmdDelete->setAutoDefault(false);
    platform::setGeometryTwips(cmdDelete, 6240, 5400, 1800, 420);
    cmdExit = new QPushButton(QStringLiteral("E&xit"), this);
    cmdExit->setObjectName(QStringLiteral("cmdExit"));
    cmdExit->setAutoDefault(false);
    platform::setGeometryTwips(cmdExit, 8160, 5400, 1440, 420);

    connect(cmdDelete, &QPushButton::clicked, this, &CurrentReminders::cmdDelete_Click);
    connect(cmdExit, &QPushButton::clicked, this, &CurrentReminders::cmdExit_Click);
    setCancelButton(cmdExit);
    connect(Data1, &platform::DataControl::reposition, this, &CurrentReminders::Data1_Reposition);
}

CurrentReminders::~CurrentReminders() = default;

void CurrentReminders::Form_Load()
{
    // Placed by nobody, the window would stand wherever the window manager puts a new window
    // (the top left corner after the main window was opened again): it stands centred, as the
    // other windows of the program do.
    platform::centerWindowOnScreen(this);
    Data1->refresh();
    Data1_Reposition();
    // The list a read-only file keeps is for looking: removing a reminder would change it.
    cmdDelete->setEnabled(!mDb.readOnly());
}

void CurrentReminders::Data1_Reposition()
{
    platform::Recordset *rs = Data1->recordset();
    if (!rs || rs->bof() || rs->eof())
        return;
    const QVariant notes = rs->value(QStringLiteral("Notes"));
    txtNotes->setPlainText(NullToString(notes).toString());
    txtNotes->setVisible(!IsNull(notes) && notes.toString() > QStringLiteral(" "));
    lblName->setText(fieldText(*rs, QStringLiteral("FirstName")) + QLatin1Char(' ') +
                     fieldText(*rs, QStringLiteral("MiddleName")) + QLatin1Char(' ') +
                     fieldText(*rs, QStringLiteral("LastName")));
    lblOrganization->setText(fieldText(*rs, QStringLiteral("Organization")));
}

void CurrentReminders::cmdDelete_Click()
{
    platform::Recordset *rs = Data1->recordset();
    if (!rs || rs->recordCount() < 1)
        return;
    if (platform::MsgBox(QStringLiteral("Are you sure?"), platform::vbYesNo | platform::vbQuestion,
                         QStringLiteral("Remove current reminder")) != platform::vbYes)
        return;
    const QVariant remindDate = rs->value(QStringLiteral("RemindDate"));
    const QVariant reminderID = rs->value(QStringLiteral("TblRemindRecordID"));
    // A due row whose reminder has since been deleted or given another date is only removed.
    if (!IsNull(remindDate) && !IsNull(reminderID)) {
        // A date the program cannot store (written by another program) cannot be looked up
        // either: removing the due row would leave the reminder where it was.
        if (platform::isUnreadableDate(remindDate)) {
            // A year of five digits is as far outside as a year of two, though it reads as no date.
            const QString fault = platform::dateFieldYear(remindDate)
                                      ? QStringLiteral("lies outside the years 100 to 9999")
                                      : QStringLiteral("cannot be read");
            platform::MsgBox(
                QStringLiteral("The date of this reminder ") + fault +
                    QStringLiteral(".  Change it in the reminder window, then remove the reminder."),
                platform::vbCritical, InvalidDateTitle);
            return;
        }
        gSql = QStringLiteral("Select * from tblRemind where RemindDate=#") +
               engineDateLiteral(remindDate.toDate()) + QStringLiteral("# and RecordID=") +
               QString::number(reminderID.toLongLong());
        std::unique_ptr<platform::Recordset> reminder = mDb.openRecordset(gSql);
        if (!reminder->eof() && !AdvanceOnePeriod(*reminder)) {
            platform::MsgBox(QStringLiteral("Moving this reminder on by its frequency would take its date "
                                            "outside the years 100 to 9999.  Change its date or frequency in "
                                            "the reminder window, then remove the reminder."),
                             platform::vbCritical, InvalidDateTitle);
            return;
        }
    }
    rs->deleteRecord();
    moveAfterDelete(*rs);
    if (rs->eof()) {
        lblName->clear();
        lblOrganization->clear();
        // The notes belonged to the reminder just removed.
        txtNotes->clear();
        txtNotes->hide();
        cmdDelete->hide();
        Data1->refresh();
    }
}

void CurrentReminders::cmdExit_Click()
{
    unload();
}

void CurrentReminders::deleteGridRow()
{
    platform::Recordset *rs = Data1->recordset();
    if (!rs || rs->bof() || rs->eof() || mDb.readOnly())
        return;
    rs->deleteRecord();
    if (!rs->eof())
        rs->moveNext();
    if (rs->eof() && !rs->bof())
        rs->movePrevious();
}

bool CurrentReminders::eventFilter(QObject *watched, QEvent *event)
{
    if (DBGrid1 && watched == DBGrid1 && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent *>(event)->key() == Qt::Key_Delete) {
        deleteGridRow();
        return true;
    }
    return platform::Form::eventFilter(watched, event);
}

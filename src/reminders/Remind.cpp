#include "reminders/Remind.h"

#include "helpers/MainWindowFlags.h"
#include "helpers/NotesText.h"
#include "helpers/ValueHelpers.h"
#include "platform/RuntimeError.h"
#include "platform/base/Clock.h"
#include "platform/base/DateText.h"
#include "platform/db/DataControl.h"
#include "platform/db/Database.h"
#include "platform/db/Recordset.h"
#include "platform/db/SqliteError.h"
#include "platform/grid/DataGrid.h"
#include "platform/ui/ButtonCaption.h"
#include "platform/ui/MsgBox.h"
#include "platform/ui/Twips.h"
#include "reminders/CurrentReminders.h"
#include "reminders/ReminderDates.h"
#include "reminders/ReminderRecords.h"

#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>

#include <cmath>

namespace {

// The window's designed size, and its row of buttons: from the left margin, one after the
// other with a small gap, at the foot of the window; in twips.
constexpr int DesignWidth = 9720;
constexpr int DesignHeight = 7740;
constexpr int ButtonRowLeft = 120;
constexpr int ButtonRowTop = 7200;
constexpr int ButtonRowHeight = 420;
constexpr int ButtonGap = 60;

const QString InvalidNumberTitle = QStringLiteral("Invalid number");

// A text the platform reads as a number.
bool isNumeric(const QString &text, double *number = nullptr)
{
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (!ok)
        return false;
    if (number)
        *number = value;
    return true;
}

// Whether a text fits the whole-number fields as it is, without rounding.
enum class WholeNumberFit { Fits, NotWhole, TooLarge };

WholeNumberFit wholeNumberFit(const QString &text)
{
    bool fits = false;
    text.trimmed().toInt(&fits);
    if (fits)
        return WholeNumberFit::Fits;
    double value = 0;
    if (isNumeric(text, &value) && std::trunc(value) == value)
        return WholeNumberFit::TooLarge;
    return WholeNumberFit::NotWhole;
}

// Tells the user when a box's text does not fit a whole-number field, naming the box as
// `name`; false then, with the focus on the box.
bool fitsWholeNumberField(QLineEdit *box, const QString &name)
{
    const WholeNumberFit fit = wholeNumberFit(box->text());
    if (fit == WholeNumberFit::Fits)
        return true;
    platform::MsgBox(name + (fit == WholeNumberFit::TooLarge ? QStringLiteral(" is too large a number.")
                                                             : QStringLiteral(" must be a whole number.")),
                     platform::vbCritical, InvalidNumberTitle);
    box->setFocus();
    return false;
}

// A box's text against a field, the way the classic comparison of a text with a value
// works: a number or date field compares by value ("1" equals 1); a Null field counts
// as no difference unless the caller reads Null as empty text.
bool textDiffers(const QString &text, const QVariant &field, bool nullAsEmpty)
{
    if (IsNull(field))
        return nullAsEmpty ? !text.isEmpty() : false;
    switch (field.typeId()) {
    case QMetaType::QDateTime:
    case QMetaType::QDate: {
        const QDateTime typed = platform::parseDateText(text);
        return !typed.isValid() || typed != platform::plainDateTimeOf(field);
    }
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::Double: {
        double typed = 0;
        return !isNumeric(text, &typed) || typed != field.toDouble();
    }
    default:
        return text != field.toString();
    }
}

QString fieldText(platform::Recordset &rs, const QString &field)
{
    return NullToString(rs.value(field)).toString();
}

QString amountCaptionFor(const QString &period)
{
    return QStringLiteral("Number of ") + period + QStringLiteral(" between warnings");
}

} // namespace

void Remind::open(platform::Database &db, const std::optional<EditedContact> &contact)
{
    platform::showModalOnce(new Remind(db, contact));
}

Remind::Remind(platform::Database &db, const std::optional<EditedContact> &contact)
    : mDb(db), mContact(contact), mFromEditor(contact.has_value())
{
    setObjectName(QStringLiteral("Remind"));
    setWindowTitle(QStringLiteral("Reminders"));
    setKeyPreview(true);
    platform::setClientSizeTwips(this, DesignWidth, DesignHeight);

    auto label = [this](const QString &name, const QString &caption, int left, int top, int width) {
        auto *l = new QLabel(caption, this);
        l->setObjectName(name);
        platform::setGeometryTwips(l, left, top, width, 285);
        return l;
    };
    auto lineEdit = [this](const QString &name, int left, int top, int width, const QString &tip) {
        auto *e = new QLineEdit(this);
        e->setObjectName(name);
        e->setToolTip(tip);
        platform::setGeometryTwips(e, left, top, width, 315);
        return e;
    };

    Label1 = new QLabel(QStringLiteral("You are now in the process of adding a new reminder.  Enter the reminder "
                                       "Description (the message you want displayed), along with the Date of "
                                       "the event, etc., then press the Save Reminder button."),
                        this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setWordWrap(true);
    Label1->setAlignment(Qt::AlignCenter);
    platform::setGeometryTwips(Label1, 120, 120, 9480, 2400);

    Data1 = new platform::DataControl(this);
    Data1->setDatabase(&mDb);
    Data1->setRecordSource(QStringLiteral("qryRemind"));
    DBGrid1 = new QTableView(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    DBGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    DBGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    platform::setGeometryTwips(DBGrid1, 120, 120, 9480, 2400);
    DBGrid1Binding = new platform::DataGrid(
        DBGrid1, Data1, this, 255,
        {{QStringLiteral("Description"), QStringLiteral("Description"), 2600},
         {QStringLiteral("Date"), QStringLiteral("RemindDate"), 1300},
         {QStringLiteral("Warning Days"), QStringLiteral("WarningDays"), 1100, Qt::AlignRight},
         {QStringLiteral("Status"), QStringLiteral("Status"), 800},
         {QStringLiteral("Notes"), QStringLiteral("Notes"), 2000},
         {QStringLiteral("Frequency Period"), QStringLiteral("FrequencyPeriod"), 1300},
         {QStringLiteral("Frequency Amount"), QStringLiteral("FrequencyAmount"), 1300, Qt::AlignRight},
         {QStringLiteral("Warn Date"), QStringLiteral("WarnDate"), 1300},
         {QStringLiteral("Linked Record ID"), QStringLiteral("LinkedRecordID"), 1300, Qt::AlignRight}});
    DBGrid1->viewport()->installEventFilter(this);

    Calendar1 = new QCalendarWidget(this);
    Calendar1->setObjectName(QStringLiteral("Calendar1"));
    Calendar1->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    platform::setGeometryTwips(Calendar1, 120, 2640, 4080, 2880);

    lblDescr = label(QStringLiteral("lblDescr"), QStringLiteral("Description:"), 4380, 2680, 1080);
    txtDescr = lineEdit(QStringLiteral("txtDescr"), 5520, 2640, 4080,
                        QStringLiteral("The description of the event to be reminded of, such as \"Joe's "
                                       "Birthday\"."));
    lblDate = label(QStringLiteral("lblDate"), QStringLiteral("Date:"), 4380, 3070, 1080);
    txtRemindDate = lineEdit(QStringLiteral("txtRemindDate"), 5520, 3030, 1560,
                             QStringLiteral("This is the date of the event you want to be reminded of."));
    lblWarnme = label(QStringLiteral("lblWarnme"), QStringLiteral("Warn me"), 4380, 3460, 1080);
    txtWarningDays = lineEdit(QStringLiteral("txtWarningDays"), 5520, 3420, 600,
                              QStringLiteral("Number of days ahead of time to be reminded."));
    txtWarningDays->setText(QStringLiteral("0"));
    lblInAdvance = label(QStringLiteral("lblInAdvance"), QStringLiteral("days in advance."), 6200, 3460, 2400);
    lblStatus = label(QStringLiteral("lblStatus"), QStringLiteral("Status:"), 4380, 3850, 1080);
    cmbStatus = new QComboBox(this);
    cmbStatus->setObjectName(QStringLiteral("cmbStatus"));
    cmbStatus->addItems({ActiveStatus, InactiveStatus});
    cmbStatus->setCurrentIndex(-1);
    cmbStatus->setToolTip(QStringLiteral("Setting status to \"Inactive\" allows you to keep reminder in database, "
                                         "but not be reminded of this event."));
    platform::setGeometryTwips(cmbStatus, 5520, 3810, 1560, 315);
    lblFreqPeriod = label(QStringLiteral("lblFreqPeriod"), QStringLiteral("Frequency:"), 4380, 4240, 1080);
    cmbFreqPeriod = new QComboBox(this);
    cmbFreqPeriod->setObjectName(QStringLiteral("cmbFreqPeriod"));
    cmbFreqPeriod->addItems({OneTimePeriod, QStringLiteral("Days"), QStringLiteral("Months"),
                             QStringLiteral("Years")});
    // Nothing is chosen at design, so that the window's first choice raises its click.
    cmbFreqPeriod->setCurrentIndex(-1);
    cmbFreqPeriod->setToolTip(QStringLiteral("Should reminder recur at specified intervals, or only once?"));
    platform::setGeometryTwips(cmbFreqPeriod, 5520, 4200, 1560, 315);
    lblFreqAmt =
        label(QStringLiteral("lblFreqAmt"), QStringLiteral("Number of Months between warnings:"), 4380, 4630, 3300);
    txtFreqAmt = lineEdit(QStringLiteral("txtFreqAmt"), 7740, 4590, 600, QString());
    lblName = label(QStringLiteral("lblName"), QString(), 4380, 5020, 5220);
    lblOrganization = label(QStringLiteral("lblOrganization"), QString(), 4380, 5320, 5220);
    txtLinkedRecordID = lineEdit(QStringLiteral("txtLinkedRecordID"), 8700, 4590, 900, QString());
    txtLinkedRecordID->setText(QStringLiteral("txtLinkedRecordID"));
    // It carries the contact's key from the row to the save; nobody types it.
    txtLinkedRecordID->hide();

    lblNotes = label(QStringLiteral("lblNotes"), QStringLiteral("Notes:"), 120, 5620, 1080);
    txtNotes = new QPlainTextEdit(this);
    txtNotes->setObjectName(QStringLiteral("txtNotes"));
    platform::setGeometryTwips(txtNotes, 120, 5900, 9480, 840);
    lblTodaysDate = label(QStringLiteral("lblTodaysDate"), QString(), 120, 6800, 4000);
    cbDisplayRemind = new QCheckBox(QStringLiteral("At program start-up, display reminders that are due."), this);
    cbDisplayRemind->setObjectName(QStringLiteral("cbDisplayRemind"));
    platform::setGeometryTwips(cbDisplayRemind, 4380, 6780, 5220, 285);

    // The buttons stand in a row, each as wide as its caption needs; the window widens when
    // the row does not fit.
    int nextLeft = ButtonRowLeft;
    auto button = [this, &nextLeft](const QString &name, const QString &caption, int width) {
        auto *b = new QPushButton(caption, this);
        b->setObjectName(name);
        b->setAutoDefault(false);
        platform::setGeometryTwips(b, nextLeft, ButtonRowTop, width, ButtonRowHeight);
        platform::widenToCaption(b);
        nextLeft += qRound(platform::pixelsToTwipsX(b->width())) + ButtonGap;
        return b;
    };
    cmdAdd = button(QStringLiteral("cmdAdd"), QStringLiteral("&Add new reminder"), 1500);
    cmdSave = button(QStringLiteral("cmdSave"), QStringLiteral("&Save reminder"), 1500);
    cmdCancel = button(QStringLiteral("cmdCancel"), QStringLiteral("&Cancel"), 1200);
    cmdDelete = button(QStringLiteral("cmdDelete"), QStringLiteral("&Delete reminder"), 1500);
    cmdViewCurrent = button(QStringLiteral("cmdViewCurrent"), QStringLiteral("&View Current Reminders"), 2100);
    cmdExit = button(QStringLiteral("cmdExit"), QStringLiteral("E&xit"), 960);
    if (nextLeft + ButtonGap > DesignWidth)
        platform::setClientSizeTwips(this, nextLeft + ButtonGap, DesignHeight);
    setDialogBorder(true);
    // A click gives the button the focus, as the platform's buttons take it: activation and
    // closing decide by the focused control.
    const auto connectButton = [this](QPushButton *b, void (Remind::*handler)()) {
        connect(b, &QPushButton::clicked, this, [this, b, handler] {
            b->setFocus();
            (this->*handler)();
        });
    };
    connectButton(cmdAdd, &Remind::cmdAdd_Click);
    connectButton(cmdSave, &Remind::cmdSave_Click);
    connectButton(cmdCancel, &Remind::cmdCancel_Click);
    setCancelButton(cmdCancel);
    connectButton(cmdDelete, &Remind::cmdDelete_Click);
    connectButton(cmdViewCurrent, &Remind::cmdViewCurrent_Click);
    connectButton(cmdExit, &Remind::cmdExit_Click);
    connect(cbDisplayRemind, &QCheckBox::toggled, this, [this] { cbDisplayRemind_Click(); });
    connect(cmbFreqPeriod, &QComboBox::currentIndexChanged, this, [this] { cmbFreqPeriod_Click(); });
    connect(txtRemindDate, &QLineEdit::textChanged, this, [this] { txtRemindDate_Change(); });
    connect(Calendar1, &QCalendarWidget::clicked, this, [this] { Calendar1_Click(); });
    connect(Calendar1, &QCalendarWidget::activated, this, [this] { Calendar1_DblClick(); });
    connect(Data1, &platform::DataControl::reposition, this, [this] {
        Data1_Reposition();
        DBGrid1_RowColChange();
    });
}

Remind::~Remind() = default;

platform::Recordset *Remind::rows() const
{
    return Data1->recordset();
}

bool Remind::hasRows() const
{
    platform::Recordset *rs = rows();
    return rs && rs->recordCount() >= 1;
}

bool Remind::focusIs(const QWidget *widget) const
{
    return focusWidget() == widget;
}

void Remind::Form_Load()
{
    Data1->refresh();
    // The boxes come first, so that what the user types goes into the description; the
    // list is a Shift+Tab away.
    txtDescr->setFocus();
    Data1_Reposition();
    DBGrid1_RowColChange();
    if (mDb.readOnly())
        openForLooking();
}

void Remind::openForLooking()
{
    // A file that takes no changes shows its reminders, the due list and the start-up
    // option (kept for this run); nothing here can be typed, added, saved or deleted.
    for (QLineEdit *box : {txtDescr, txtRemindDate, txtWarningDays, txtFreqAmt})
        box->setReadOnly(true);
    txtNotes->setReadOnly(true);
    for (QWidget *control : std::initializer_list<QWidget *>{cmbStatus, cmbFreqPeriod, Calendar1, cmdAdd, cmdSave,
                                                             cmdDelete})
        control->setEnabled(false);
}

bool Remind::refuseNewReminder()
{
    if (!mToldReadOnly) {
        mToldReadOnly = true;
        platform::MsgBox(platform::readOnlyDatabaseText(mDb.name()), platform::vbExclamation, windowTitle());
    }
    if (hasRows())
        return false;
    unload();
    return true;
}

void Remind::Form_Activate()
{
    const bool startNew = (!hasRows() || mFromEditor) && !focusIs(cmdViewCurrent);
    if (startNew && mDb.readOnly()) {
        // A file that cannot be written takes no new reminder: the user is told why, once,
        // and looks at the reminders there are; with none the window closes.
        if (refuseNewReminder())
            return;
    } else if (startNew) {
        cmdAdd_Click();
        if (mFromEditor) {
            txtLinkedRecordID->setText(QString::number(mContact->recordID));
            const QDateTime date = platform::parseDateText(mContact->dateText);
            if (date.isValid()) {
                txtRemindDate->setText(platform::shortDateText(nextAnniversary(date.date(), platform::today())));
                txtDescr->setText(mContact->dateDescription);
            }
            txtWarningDays->setText(QStringLiteral("15"));
            setPeriod(QStringLiteral("Years"));
            lblFreqAmt->setText(QStringLiteral("Number of Years between warnings:"));
            txtFreqAmt->setText(QStringLiteral("1"));
            lblFreqAmt->show();
            txtFreqAmt->show();
        }
    }
    cbDisplayRemind->setChecked(gMainWindow.gReminderStartup != 0);
    lblTodaysDate->setText(QStringLiteral("Today's date is ") + platform::shortDateText(platform::today()));
}

bool Remind::SaveEdits()
{
    if (txtFreqAmt->text() <= QStringLiteral(" "))
        txtFreqAmt->setText(QStringLiteral("0"));
    double amount = 0;
    if (!isNumeric(txtFreqAmt->text(), &amount)) {
        platform::MsgBox(lblFreqAmt->text() + QStringLiteral(" must be numeric"), platform::vbOKOnly,
                         InvalidNumberTitle);
        txtFreqAmt->setFocus();
        return false;
    }
    if (amount <= 0 && cmbFreqPeriod->currentText() != OneTimePeriod) {
        platform::MsgBox(lblFreqAmt->text() + QStringLiteral(" must be greater than zero."), platform::vbCritical,
                         InvalidNumberTitle);
        txtFreqAmt->setFocus();
        return false;
    }
    // The amount is stored as a whole number: a fraction would be rounded on the way in,
    // and 0.4 months would become a reminder that never moves on.
    if (cmbFreqPeriod->currentText() != OneTimePeriod &&
        !fitsWholeNumberField(txtFreqAmt, lblFreqAmt->text()))
        return false;
    if (txtDescr->text().isEmpty()) {
        platform::MsgBox(QStringLiteral("Description cannot be blank."), platform::vbCritical,
                         QStringLiteral("Invalid Description"));
        txtDescr->setFocus();
        return false;
    }
    if (!platform::parseDateText(txtRemindDate->text()).isValid()) {
        platform::MsgBox(QStringLiteral("You must enter a valid date before saving this reminder"),
                         platform::vbCritical, InvalidDateTitle);
        txtRemindDate->setFocus();
        return false;
    }
    // The warning days go into a whole-number field: a blank means none, anything else
    // that is not a whole number is told here rather than failing the write.
    if (txtWarningDays->text().trimmed().isEmpty())
        txtWarningDays->setText(QStringLiteral("0"));
    if (!fitsWholeNumberField(txtWarningDays, QStringLiteral("Warning days")))
        return false;
    // Every date the reminder will hold, now and once moved on, must be one the program can
    // store and show.
    const ReminderPeriod period = reminderPeriodOf(cmbFreqPeriod->currentText());
    switch (reminderDatesFault(platform::parseDateText(txtRemindDate->text()).date(),
                               txtWarningDays->text().trimmed().toInt(), period,
                               period == ReminderPeriod::OneTime ? 0 : txtFreqAmt->text().trimmed().toInt())) {
    case ReminderDateFault::RemindDate:
        platform::MsgBox(QStringLiteral("You must enter a date in the years 100 to 9999 before saving this reminder"),
                         platform::vbCritical, InvalidDateTitle);
        txtRemindDate->setFocus();
        return false;
    case ReminderDateFault::WarnDate:
        platform::MsgBox(QStringLiteral("Warning days must leave the warning date in the years 100 to 9999."),
                         platform::vbCritical, InvalidNumberTitle);
        txtWarningDays->setFocus();
        return false;
    case ReminderDateFault::NextDate:
        platform::MsgBox(lblFreqAmt->text() + QStringLiteral(" must leave the next date in the years 100 to 9999."),
                         platform::vbCritical, InvalidNumberTitle);
        txtFreqAmt->setFocus();
        return false;
    case ReminderDateFault::None:
        break;
    }
    return true;
}

bool Remind::HasPendingChanges()
{
    platform::Recordset *rs = rows();
    if (!rs || mDb.readOnly())
        return false;
    if (rs->editMode() != platform::EditMode::None)
        return true;
    if (rs->bof() || rs->eof())
        return false;
    const QVariant remindDate = rs->value(QStringLiteral("RemindDate"));
    const QDate readable = platform::readableDateOf(remindDate);
    const bool calendarDiffers = readable.isValid() && Calendar1->selectedDate() != readable;
    // A date that cannot be read shows as an empty box, and counts as unchanged while the box
    // stays empty: the user can leave the row, and is asked for a date only on Save.
    const bool dateDiffers = platform::isUnreadableDate(remindDate)
                                 ? !txtRemindDate->text().isEmpty()
                                 : textDiffers(txtRemindDate->text(), remindDate, true);
    return textDiffers(txtDescr->text(), rs->value(QStringLiteral("Description")), true) || dateDiffers ||
           calendarDiffers ||
           textDiffers(txtWarningDays->text(), rs->value(QStringLiteral("WarningDays")), false) ||
           textDiffers(cmbStatus->currentText(), rs->value(QStringLiteral("Status")), false) ||
           textDiffers(cmbFreqPeriod->currentText(), rs->value(QStringLiteral("FrequencyPeriod")), false) ||
           textDiffers(txtFreqAmt->text(), rs->value(QStringLiteral("FrequencyAmount")), false) ||
           textDiffers(textToStore(*txtNotes), rs->value(QStringLiteral("Notes")), true);
}

bool Remind::saveIfPending()
{
    if (!HasPendingChanges())
        return true;
    if (!SaveEdits())
        return false;
    cmdSave_Click();
    return true;
}

void Remind::setPeriod(const QString &period)
{
    cmbFreqPeriod->setCurrentIndex(cmbFreqPeriod->findText(period, Qt::MatchFixedString | Qt::MatchCaseSensitive));
}

void Remind::showAmountFor(const QString &period)
{
    const bool recurs = period != OneTimePeriod;
    if (recurs)
        lblFreqAmt->setText(amountCaptionFor(period));
    lblFreqAmt->setVisible(recurs);
    txtFreqAmt->setVisible(recurs);
}

void Remind::setCommandsEnabled(bool enabled)
{
    cmdDelete->setEnabled(enabled && !mDb.readOnly());
    cmdViewCurrent->setEnabled(enabled);
    cmdAdd->setEnabled(enabled && !mDb.readOnly());
    cmdExit->setEnabled(enabled);
}

void Remind::cmdAdd_Click()
{
    if (!mFromEditor && hasRows() && !saveIfPending())
        return;
    mFillingBoxes = true;
    txtDescr->clear();
    txtRemindDate->setText(platform::shortDateText(platform::today()));
    Calendar1->setSelectedDate(platform::today());
    txtWarningDays->setText(QStringLiteral("0"));
    cmbStatus->setCurrentIndex(cmbStatus->findText(ActiveStatus));
    setPeriod(OneTimePeriod);
    lblFreqAmt->clear();
    txtFreqAmt->setText(QStringLiteral("0"));
    showStoredText(*txtNotes, QString());
    if (mFromEditor)
        txtLinkedRecordID->setText(QString::number(mContact->recordID));
    else
        txtLinkedRecordID->setText(QStringLiteral("0"));
    txtDescr->setFocus();
    if (platform::Recordset *rs = rows()) {
        if (rs->editMode() != platform::EditMode::None)
            rs->cancelUpdate();
        rs->addNew();
    }
    mFillingBoxes = false;
    if (mFromEditor) {
        lblName->setText(mContact->firstName + QLatin1Char(' ') + mContact->middleName + QLatin1Char(' ') +
                         mContact->lastName);
        lblOrganization->setText(mContact->organization);
    }
    DBGrid1->setEnabled(false);
    setCommandsEnabled(false);
    cmdSave->setEnabled(true);
    cmdCancel->setEnabled(true);
    DBGrid1->hide();
}

void Remind::cmdSave_Click()
{
    if (!SaveEdits())
        return;
    DBGrid1->show();
    setCommandsEnabled(true);
    platform::Recordset *rs = rows();
    if (rs->editMode() == platform::EditMode::None)
        rs->edit();
    const QDate remindDate = platform::parseDateText(txtRemindDate->text()).date();
    const int warningDays = txtWarningDays->text().trimmed().toInt();
    rs->setValue(QStringLiteral("Description"), txtDescr->text());
    rs->setValue(QStringLiteral("RemindDate"), remindDate);
    rs->setValue(QStringLiteral("WarningDays"), warningDays);
    rs->setValue(QStringLiteral("Status"), cmbStatus->currentText());
    rs->setValue(QStringLiteral("Notes"), EmptyToNull(textToStore(*txtNotes)));
    rs->setValue(QStringLiteral("WarnDate"), warnDateOf(remindDate, warningDays));
    rs->setValue(QStringLiteral("FrequencyPeriod"), cmbFreqPeriod->currentText());
    rs->setValue(QStringLiteral("FrequencyAmount"), txtFreqAmt->text().trimmed());
    rs->setValue(QStringLiteral("LinkedRecordID"), txtLinkedRecordID->text().trimmed());
    DBGrid1->setEnabled(true);
    DBGrid1->setFocus();
    rs->update();
    rs->setBookmark(rs->lastModified());
    mLastSavedReminderID = rs->value(QStringLiteral("RecordID")).toLongLong();
    Data1->refresh();
    Data1->recordset()->findFirst(QStringLiteral("RecordID=") + QString::number(mLastSavedReminderID));
}

void Remind::cmdCancel_Click()
{
    DBGrid1->show();
    if (!mFromEditor && hasRows()) {
        setCommandsEnabled(true);
        if (HasPendingChanges()) {
            platform::Recordset *rs = rows();
            if (rs->editMode() != platform::EditMode::None)
                rs->cancelUpdate();
            DBGrid1->setEnabled(true);
            if (mRowBookmark.isValid())
                rs->setBookmark(mRowBookmark);
            // The boxes take the row again even when the bookmark is the row already current.
            Data1_Reposition();
            DBGrid1_RowColChange();
            return;
        }
    }
    unload();
}

void Remind::cmdDelete_Click()
{
    if (!hasRows())
        return;
    if (platform::MsgBox(QStringLiteral("Are you sure you want to delete the displayed reminder?"),
                         platform::vbYesNo | platform::vbQuestion | platform::vbDefaultButton2,
                         QStringLiteral("Are you sure?")) != platform::vbYes)
        return;
    platform::Recordset *rs = rows();
    rs->deleteRecord();
    moveAfterDelete(*rs);
    if (rs->eof())
        cmdAdd_Click();
}

void Remind::cmdViewCurrent_Click()
{
    DBGrid1->show();
    if (hasRows() && !saveIfPending())
        return;
    // A file that cannot be written keeps the due list it was last given: that list is
    // shown, and only when it is empty is the user told that no list can be built now.
    qint64 due = 0;
    try {
        due = RebuildDueReminders(mDb);
    } catch (const platform::RuntimeError &error) {
        TellDueListNotBuilt(error.description());
        return;
    }
    if (due > 0) {
        CurrentReminders::open(mDb);
        Data1->refresh();
    } else if (mDb.readOnly()) {
        TellDueListNotBuilt(platform::readOnlyDatabaseText(mDb.name()));
    } else {
        platform::MsgBox(QStringLiteral("No current reminders to display"), platform::vbOKOnly,
                         NoCurrentRemindersTitle);
    }
}

void Remind::cmdExit_Click()
{
    unload();
}

void Remind::Form_QueryUnload(bool &cancel, int unloadMode)
{
    Q_UNUSED(unloadMode);
    if (!focusIs(cmdCancel) && hasRows() && !saveIfPending())
        cancel = true;
}

void Remind::Form_Unload(bool &cancel)
{
    Q_UNUSED(cancel);
    // A new reminder that was not saved is dropped with the window.
    if (platform::Recordset *rs = rows(); rs && rs->editMode() != platform::EditMode::None)
        rs->cancelUpdate();
}

void Remind::cbDisplayRemind_Click()
{
    WriteReminderStartup(mDb, cbDisplayRemind->isChecked() ? 1 : 0);
}

void Remind::cmbFreqPeriod_Click()
{
    const QString period = cmbFreqPeriod->currentText();
    if (period != OneTimePeriod) {
        txtFreqAmt->setText(QStringLiteral("1"));
    } else {
        txtFreqAmt->setText(QStringLiteral("0"));
    }
    showAmountFor(period);
}

void Remind::txtRemindDate_Change()
{
    const QDateTime date = platform::parseDateText(txtRemindDate->text());
    if (date.isValid())
        Calendar1->setSelectedDate(date.date());
}

void Remind::Calendar1_Click()
{
    txtRemindDate->setFocus();
}

void Remind::Calendar1_DblClick()
{
    txtRemindDate->setText(platform::shortDateText(Calendar1->selectedDate()));
}

void Remind::Data1_Reposition()
{
    platform::Recordset *rs = rows();
    if (!rs || rs->editMode() == platform::EditMode::AddNew || rs->bof() || rs->eof())
        return;
    lblName->setText(fieldText(*rs, QStringLiteral("FirstName")) + QLatin1Char(' ') +
                     fieldText(*rs, QStringLiteral("MiddleName")) + QLatin1Char(' ') +
                     fieldText(*rs, QStringLiteral("LastName")));
    lblOrganization->setText(fieldText(*rs, QStringLiteral("Organization")));
}

void Remind::fillBoxesFromRow()
{
    platform::Recordset *rs = rows();
    if (!rs || rs->bof() || rs->eof())
        return;
    mFillingBoxes = true;
    txtDescr->setText(fieldText(*rs, QStringLiteral("Description")));
    const QVariant remindDate = rs->value(QStringLiteral("RemindDate"));
    txtRemindDate->setText(platform::dateFieldText(remindDate));
    showStoredText(*txtNotes, fieldText(*rs, QStringLiteral("Notes")));
    if (const QDate readable = platform::readableDateOf(remindDate); readable.isValid())
        Calendar1->setSelectedDate(readable);
    txtWarningDays->setText(fieldText(*rs, QStringLiteral("WarningDays")));
    cmbStatus->setCurrentIndex(
        cmbStatus->findText(fieldText(*rs, QStringLiteral("Status")), Qt::MatchFixedString | Qt::MatchCaseSensitive));
    setPeriod(fieldText(*rs, QStringLiteral("FrequencyPeriod")));
    txtFreqAmt->setText(NullToZero(rs->value(QStringLiteral("FrequencyAmount"))).toString());
    txtLinkedRecordID->setText(fieldText(*rs, QStringLiteral("LinkedRecordID")));
    mFillingBoxes = false;
}

void Remind::DBGrid1_RowColChange()
{
    platform::Recordset *rs = rows();
    if (mFillingBoxes || !rs || rs->editMode() == platform::EditMode::AddNew || !hasRows() || rs->bof() ||
        rs->eof())
        return;
    fillBoxesFromRow();
    showAmountFor(cmbFreqPeriod->currentText());
    mRowBookmark = rs->bookmark();
}

bool Remind::DBGrid1_MouseDown()
{
    if (!hasRows() || !HasPendingChanges())
        return true;
    if (SaveEdits()) {
        cmdSave_Click();
        return true;
    }
    DBGrid1->setEnabled(false);
    return false;
}

void Remind::Form_Click()
{
    DBGrid1->setEnabled(true);
}

void Remind::Form_KeyPress(int &keyAscii)
{
    Q_UNUSED(keyAscii);
    if (!DBGrid1->isHidden())
        DBGrid1->setEnabled(true);
}

void Remind::mousePressEvent(QMouseEvent *event)
{
    Form_Click();
    platform::Form::mousePressEvent(event);
}

namespace {

// The keys with which the grid can take another row: up and down, the paging keys, Ctrl+Home
// and Ctrl+End (alone they move along the row), Ctrl+Tab past either end of a row, and a typed
// character, which looks a row up by its first letters.
bool mayLeaveRow(const QKeyEvent &key)
{
    switch (key.key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        return true;
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return key.modifiers() & Qt::ControlModifier;
    default:
        return !(key.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) &&
               !key.text().isEmpty() && key.text().front().isPrint();
    }
}

} // namespace

bool Remind::eventFilter(QObject *watched, QEvent *event)
{
    // Leaving a changed reminder by the keyboard saves it or holds the grid, as the mouse does;
    // the window previews every key, so a key for the grid is weighed before the grid moves.
    const bool leaving =
        DBGrid1 && ((watched == DBGrid1->viewport() && event->type() == QEvent::MouseButtonPress) ||
                    (watched == DBGrid1 && event->type() == QEvent::KeyPress &&
                     mayLeaveRow(*static_cast<QKeyEvent *>(event))));
    if (leaving && !DBGrid1_MouseDown())
        return true;
    return platform::Form::eventFilter(watched, event);
}

#include "printing/ReminderReport.h"

#include "printing/ContactLines.h"
#include "printing/DisplayedRecords.h"
#include "printing/ListReport.h"
#include "printing/PrintText.h"
#include "printing/ReportRun.h"
#include "printing/frmPreview.h"

#include "platform/base/DateText.h"
#include "platform/db/Bookmark.h"
#include "platform/db/Database.h"
#include "platform/db/Recordset.h"
#include "platform/print/PrintSurface.h"
#include "platform/ui/MsgBox.h"

#include <QCoreApplication>

namespace {

// The reminders walked like displayed records, once the report has opened them.
class ReminderRows : public DisplayedRecords {
  public:
    std::unique_ptr<platform::Recordset> rs;

    qint64 recordCount() override { return rs->recordCount(); }
    QString recordSource() override { return rs->source(); }
    void moveFirst() override
    {
        rs->setWalking(true);
        rs->moveFirst();
    }
    void moveNext() override { rs->moveNext(); }
    bool eof() override { return rs->eof(); }
    QVariant value(const QString &field) override { return rs->value(field); }
    void markPosition() override { mMark = rs->bookmark(); }
    void returnToMark() override
    {
        rs->setWalking(false);
        rs->setBookmark(mMark);
    }

  private:
    platform::Bookmark mMark;
};

ListRecordTexts reminderTexts(DisplayedRecords &r)
{
    // Each field set apart in its own direction; the reminder's line is one line, the
    // description and notes wrap below it.
    const auto part = [](const QString &value) { return JoinedField(value, FieldJoin::IsolatedLine); };
    const auto field = [](const QString &value) { return JoinedField(value, FieldJoin::Isolated); };
    const QString first = FieldText(r, QStringLiteral("FirstName"));
    const QString middle = FieldText(r, QStringLiteral("MiddleName"));
    QString name = part(RTrim(first)) + (IsNonBlank(first) ? QStringLiteral(" ") : QString()) +
                   part(RTrim(middle)) + (IsNonBlank(middle) ? QStringLiteral(" ") : QString()) +
                   part(RTrim(FieldText(r, QStringLiteral("LastName"))));
    const QString organization = FieldText(r, QStringLiteral("Organization"));
    if (IsNonBlank(organization))
        name += QStringLiteral("    ") + part(organization) + QStringLiteral("  ");
    else
        name += QStringLiteral(" ");

    ListRecordTexts texts;
    // A date that cannot be read prints blank, as the grids show it.
    texts.name =
        platform::dateFieldText(r.value(QStringLiteral("RemindDate"))) + QStringLiteral("     ") + name;
    // A reminder without a description prints its reminder line only, notes or not.
    const QString description = FieldText(r, QStringLiteral("Description"));
    if (IsNonBlank(description))
        texts.detail = field(description) + QStringLiteral("     ") + field(FieldText(r, QStringLiteral("Notes")));
    return texts;
}

bool confirmReminders()
{
    const QString prompt =
        PreviewSurface().preview()
            ? QStringLiteral("Click on the OK button to preview, or Cancel if you do not want to preview all "
                             "reminders.")
            : QStringLiteral(
                  "Click on the OK button to start printing, or Cancel if you do not want to print "
                  "all reminders.");
    return platform::MsgBox(prompt, platform::vbOKCancel, QStringLiteral("Confirmation")) == platform::vbOK;
}

} // namespace

void PrintReminderReport(platform::Database &Db)
{
    ReminderRows reminders;
    const auto open = [&] {
        reminders.rs = Db.openRecordset(QStringLiteral("qryRemind"), platform::RecordsetType::Snapshot);
        if (reminders.rs->recordCount() > 0)
            return true;
        platform::MsgBox(QStringLiteral("No reminders found in database."), platform::vbInformation,
                         QStringLiteral("No reminders to print"));
        return false;
    };
    RunListReport(reminders, QStringLiteral("Reminders"),
                  {QStringLiteral("Reminder Report"), ListLayout::NameAboveDetail, false, false},
                  &reminderTexts, open);
}

void RemindersReportMenu_Click(platform::Database &Db)
{
    // A report already drawing is not interrupted by a second one.
    if (ReportRun::running())
        return;
    if (!confirmReminders())
        return;
    QCoreApplication::processEvents();
    PrintReminderReport(Db);
}

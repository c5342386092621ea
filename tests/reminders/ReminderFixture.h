#pragma once

#include "platform/base/Clock.h"
#include "platform/db/Database.h"
#include "platform/db/Recordset.h"
#include "support/TempDatabase.h"

#include <QDate>
#include <gtest/gtest.h>

// A fresh database and a clock stopped on a chosen day, with helpers that write reminder
// rows the way a saved reminder looks.
class ReminderFixture : public ::testing::Test {
  protected:
    ReminderFixture() { setToday(QDate(2026, 3, 1)); }
    ~ReminderFixture() override { platform::setClockForTesting({}); }

    void setToday(const QDate &day)
    {
        platform::setClockForTesting([day] { return QDateTime(day, QTime(9, 30)); });
    }

    platform::Database &db() { return temp.db(); }

    qint64 addContact(const QString &first, const QString &last, const QString &organization = QString())
    {
        auto rs = db().openRecordset("tblContacts", platform::RecordsetType::Table);
        rs->addNew();
        rs->setValue("FirstName", first);
        rs->setValue("LastName", last);
        if (!organization.isEmpty())
            rs->setValue("Organization", organization);
        rs->update();
        rs->setBookmark(rs->lastModified());
        return rs->value("RecordID").toLongLong();
    }

    qint64 addReminder(const QString &description, const QDate &date, int warningDays = 0,
                       const QString &period = "One time", int amount = 0, const QString &status = "Active",
                       qint64 linked = 0, const QVariant &notes = QVariant())
    {
        auto rs = db().openRecordset("tblRemind", platform::RecordsetType::Table);
        rs->addNew();
        rs->setValue("Description", description);
        rs->setValue("RemindDate", date);
        rs->setValue("WarningDays", warningDays);
        rs->setValue("WarnDate", date.addDays(-warningDays));
        rs->setValue("Status", status);
        rs->setValue("FrequencyPeriod", period);
        rs->setValue("FrequencyAmount", amount);
        rs->setValue("LinkedRecordID", linked);
        rs->setValue("Notes", notes);
        rs->update();
        rs->setBookmark(rs->lastModified());
        return rs->value("RecordID").toLongLong();
    }

    // The reminder's row, or an empty record set when it is gone.
    std::unique_ptr<platform::Recordset> reminder(qint64 id)
    {
        return db().openRecordset(QStringLiteral("Select * from tblRemind Where RecordID=%1").arg(id));
    }
    QDate dateOf(qint64 id, const char *field = "RemindDate")
    {
        auto rs = reminder(id);
        return rs->eof() ? QDate() : rs->value(field).toDate();
    }
    qint64 count(const QString &sql)
    {
        auto rs = db().openRecordset(sql);
        return rs->value(0).toLongLong();
    }

    TempDatabase temp;
};

#pragma once

#include "printing/DisplayedRecords.h"

#include "platform/db/Bookmark.h"

#include <QPointer>

namespace platform {
class DataControl;
class Recordset;
} // namespace platform

// The displayed records of a data control (the main window's Data1) for the reports:
// its record set walked in place, and its record source text for the confirmation.
// From markPosition to returnToMark the record set moves without telling anyone, so
// the grid and the detail boxes bound to it stay on the marked record instead of
// following (and repainting) every record of the walk; putting the mark back tells
// them once. From moveFirst to returnToMark the record set is walked: it keeps its query
// through the events the report lets run (see Recordset::setWalking).
class DataControlRecords : public DisplayedRecords {
  public:
    explicit DataControlRecords(platform::DataControl &control);
    ~DataControlRecords() override;
    DataControlRecords(const DataControlRecords &) = delete;
    DataControlRecords &operator=(const DataControlRecords &) = delete;

    qint64 recordCount() override;
    QString recordSource() override;
    void moveFirst() override;
    void moveNext() override;
    bool eof() override;
    QVariant value(const QString &field) override;
    int fieldIndex(const QString &field) override;
    QVariant valueAt(int index) override;
    void markPosition() override;
    void returnToMark() override;

  private:
    // The open record set; "no current record" when the control has none.
    platform::Recordset &records();

    void release();

    platform::DataControl &mControl;
    platform::Bookmark mMark;
    // The record set held quiet during the walk.
    QPointer<platform::Recordset> mHeld;
    // The record set walked since moveFirst.
    QPointer<platform::Recordset> mWalked;
};

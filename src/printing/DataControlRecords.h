#pragma once

#include "printing/DisplayedRecords.h"

#include "platform/db/Bookmark.h"

namespace platform {
class DataControl;
class Recordset;
} // namespace platform

// The displayed records of a data control (the main window's Data1) for the reports:
// its record set walked in place, so the grid bound to it follows, and its record
// source text for the confirmation.
class DataControlRecords : public DisplayedRecords {
  public:
    explicit DataControlRecords(platform::DataControl &control);

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

    platform::DataControl &mControl;
    platform::Bookmark mMark;
};

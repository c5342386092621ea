#pragma once

#include "platform/db/Database.h"
#include "platform/db/Recordset.h"

#include <QObject>
#include <QPointer>
#include <memory>

namespace platform {

// A data control in the manner of a form's Data1: a record source text on a database,
// a record set opened from it by refresh(), and a signal whenever its current row moves.
// Grids and other bound views follow it.
class DataControl : public QObject {
    Q_OBJECT
  public:
    explicit DataControl(QObject *parent = nullptr);
    ~DataControl() override;

    void setDatabase(Database *database);
    Database *database() const { return mDatabase; }
    // Takes effect at the next refresh().
    void setRecordSource(const QString &source) { mRecordSource = source; }
    const QString &recordSource() const { return mRecordSource; }
    void setRecordsetType(RecordsetType type) { mType = type; }
    RecordsetType recordsetType() const { return mType; }

    // Opens the record source again (closing the record set it had); the first row is current.
    void refresh();
    // The open record set, or nullptr before the first refresh.
    Recordset *recordset() const { return mRecordset.get(); }
    // Closes the record set (for instance before the database closes).
    void clear();
    // How many record sets refresh() has opened since the control was made.
    int refreshCount() const { return mRefreshCount; }

  signals:
    void reposition();             // the current row moved
    void recordsetAboutToChange(); // refresh or clear is about to replace the record set
    void recordsetChanged();

  private:
    Database *mDatabase = nullptr;
    QString mRecordSource;
    RecordsetType mType = RecordsetType::Dynaset;
    std::unique_ptr<Recordset> mRecordset;
    int mRefreshCount = 0;
};

} // namespace platform

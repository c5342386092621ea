#pragma once

#include "printing/DisplayedRecords.h"

#include "platform/RuntimeError.h"

#include <QSet>
#include <QVariantMap>
#include <vector>

// Displayed records held in memory, with the record set's refusals: moving or marking
// without a current record is "no current record", an unknown field an error.
class MemoryRecords : public DisplayedRecords {
  public:
    MemoryRecords(QStringList fields, std::vector<QVariantMap> rows, QString source = QString())
        : mFields(fields.begin(), fields.end()), mRows(std::move(rows)), mSource(std::move(source))
    {
    }

    qint64 recordCount() override { return static_cast<qint64>(mRows.size()); }
    QString recordSource() override { return mSource; }
    void moveFirst() override
    {
        if (mRows.empty())
            noCurrent();
        mCurrent = 0;
    }
    void moveNext() override
    {
        if (eof())
            noCurrent();
        ++mCurrent;
        ++moves;
    }
    bool eof() override { return mCurrent >= mRows.size(); }
    QVariant value(const QString &field) override
    {
        if (!mFields.contains(field))
            throw platform::RuntimeError(3265, QStringLiteral("Item not found in this collection."));
        if (eof())
            noCurrent();
        return mRows[mCurrent].value(field);
    }
    void markPosition() override
    {
        if (eof())
            noCurrent();
        mMark = mCurrent;
    }
    void returnToMark() override { mCurrent = mMark; }

    void setCurrent(std::size_t row) { mCurrent = row; }
    std::size_t current() const { return mCurrent; }

    int moves = 0;

  private:
    [[noreturn]] static void noCurrent()
    {
        throw platform::RuntimeError(platform::err::NoCurrentRecord, QStringLiteral("No current record."));
    }

    QSet<QString> mFields;
    std::vector<QVariantMap> mRows;
    QString mSource;
    std::size_t mCurrent = 0;
    std::size_t mMark = 0;
};

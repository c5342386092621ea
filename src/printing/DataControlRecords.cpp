#include "printing/DataControlRecords.h"

#include "platform/RuntimeError.h"
#include "platform/db/DataControl.h"
#include "platform/db/Recordset.h"

DataControlRecords::DataControlRecords(platform::DataControl &control) : mControl(control) {}

DataControlRecords::~DataControlRecords()
{
    release();
}

void DataControlRecords::release()
{
    if (mHeld)
        mHeld->blockSignals(false);
    mHeld = nullptr;
    if (mWalked)
        mWalked->setWalking(false);
    mWalked = nullptr;
}

platform::Recordset &DataControlRecords::records()
{
    platform::Recordset *set = mControl.recordset();
    if (!set)
        throw platform::RuntimeError(platform::err::NoCurrentRecord, QStringLiteral("No current record."));
    return *set;
}

qint64 DataControlRecords::recordCount()
{
    platform::Recordset *set = mControl.recordset();
    return set ? set->recordCount() : 0;
}

QString DataControlRecords::recordSource()
{
    return mControl.recordSource();
}

void DataControlRecords::moveFirst()
{
    platform::Recordset &set = records();
    if (mWalked != &set) {
        if (mWalked)
            mWalked->setWalking(false);
        set.setWalking(true);
        mWalked = &set;
    }
    set.moveFirst();
}

void DataControlRecords::moveNext()
{
    records().moveNext();
}

bool DataControlRecords::eof()
{
    return records().eof();
}

QVariant DataControlRecords::value(const QString &field)
{
    return records().value(field);
}

int DataControlRecords::fieldIndex(const QString &field)
{
    return records().fieldIndex(field);
}

QVariant DataControlRecords::valueAt(int index)
{
    return records().value(index);
}

void DataControlRecords::markPosition()
{
    platform::Recordset &set = records();
    mMark = set.bookmark();
    release();
    if (!set.signalsBlocked()) {
        set.blockSignals(true);
        mHeld = &set;
    }
}

void DataControlRecords::returnToMark()
{
    release();
    records().setBookmark(mMark);
}

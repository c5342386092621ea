#pragma once

#include "printing/DisplayedRecords.h"

#include <benchmark/benchmark.h>

#include <QStringList>

// What a report's layout is measured against: a walk over the displayed records that reads
// the fields the report reads, and nothing more, ending on the record it started from.
inline qint64 walkFields(DisplayedRecords &records, const QStringList &fields)
{
    qint64 seen = 0;
    records.markPosition();
    records.moveFirst();
    while (!records.eof()) {
        for (const QString &field : fields)
            seen += records.value(field).isNull() ? 0 : 1;
        records.moveNext();
        ++seen;
    }
    records.returnToMark();
    benchmark::DoNotOptimize(seen);
    return seen;
}

#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>

// What the list reports need of the records the main window displays: the count and
// the record source for the confirmation, a walk from first to last, field values by
// name, and the current record kept and put back around the walk. The main window
// hands its data control's record set in through this, so the reports never reach
// into the window itself.
class DisplayedRecords {
  public:
    virtual ~DisplayedRecords() = default;

    virtual qint64 recordCount() = 0;
    // Contains "Selected" whenever only the selected records are shown.
    virtual QString recordSource() = 0;

    virtual void moveFirst() = 0;
    virtual void moveNext() = 0;
    virtual bool eof() = 0;
    // Null (an invalid QVariant) for a missing value; a field the records lack raises
    // a RuntimeError.
    virtual QVariant value(const QString &field) = 0;

    // A walk that reads the same fields of every record looks each name up once: the
    // number given here reads the field through valueAt. A field the records lack raises
    // a RuntimeError here or at the first read.
    virtual int fieldIndex(const QString &field)
    {
        mIndexedFields.append(field);
        return int(mIndexedFields.size() - 1);
    }
    virtual QVariant valueAt(int index) { return value(mIndexedFields.at(index)); }

    // Remembers the current record (raises "no current record" when there is none);
    // returnToMark makes it current again.
    virtual void markPosition() = 0;
    virtual void returnToMark() = 0;

  private:
    QStringList mIndexedFields;
};

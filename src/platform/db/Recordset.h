#pragma once

#include "platform/db/Bookmark.h"
#include "platform/db/Database.h"
#include "platform/db/FieldValue.h"
#include "platform/db/Fields.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QString>
#include <QVariant>
#include <QVector>

namespace platform {

enum class EditMode { None, Edit, AddNew };

// The rows of a table or query with a current row, in DAO's model. Writes go to the row
// of the table the record set's first column comes from (for a stored query such as
// qryContacts, the contact row), identified by that row's key.
class Recordset : public QObject {
    Q_OBJECT
  public:
    ~Recordset() override;

    RecordsetType type() const { return mType; }
    const QString &source() const { return mSource; }
    bool isOpen() const { return mDatabase != nullptr; }
    void close();
    bool updatable() const { return mUpdatable; }

    virtual bool bof() const = 0;
    virtual bool eof() const = 0;
    virtual void moveFirst() = 0;
    virtual void moveLast() = 0;
    virtual void moveNext() = 0;
    virtual void movePrevious() = 0;
    // The exact number of rows (deleted ones no longer counted).
    virtual qint64 recordCount() = 0;
    virtual void requery() = 0;
    virtual Bookmark bookmark() = 0;                // 3021 without a current row
    virtual void setBookmark(const Bookmark &) = 0; // 3159 for a mark of another record set or requery
    Bookmark lastModified() const { return mLastModified; }
    bool noMatch() const { return mNoMatch; }

    // Table-type record sets (3251 for the others).
    virtual QString index() const;
    virtual void setIndex(const QString &name);
    // comparison: "=", ">=", ">", "<=" or "<"; one key per field of the index, or fewer.
    virtual void seek(const QString &comparison, const QVariant &key1, const QVariant &key2 = QVariant());

    // Dynasets and snapshots (3251 for table-type). A criterion is a Jet condition; when no
    // row matches, noMatch() is true and the current row stays where it was.
    virtual void findFirst(const QString &criterion);
    virtual void findNext(const QString &criterion);
    virtual void findLast(const QString &criterion);
    virtual void findPrevious(const QString &criterion);
    // The current row's place among the rows, from 0; -1 without a current row.
    virtual qint64 absolutePosition();
    virtual void setAbsolutePosition(qint64 ordinal);
    // A value of any row, without moving the current row (for grids).
    virtual QVariant valueAt(qint64 ordinal, int field);
    // Dynasets and snapshots: the value of one field in every row, in the rows' order,
    // without moving the current row; for commands over a whole list.
    virtual QVariantList valuesOf(int field);
    // Reads ahead up to `rows` more of the rows not yet reached, so that a later jump or find
    // does not wait for them all at once; false once every row is known.
    virtual bool collectMoreRows(int rows)
    {
        Q_UNUSED(rows);
        return false;
    }

    // A command that walks every row (a report, an export) may let window events run between
    // rows. While it walks, a list that steps its query from row to row keeps it: letting go
    // of the file between those events would leave every row after to be fetched by its key.
    // Once the walk ends, the list lets go as the program next waits.
    virtual void setWalking(bool walking) { Q_UNUSED(walking); }

    Fields fields() { return Fields(this); }
    int fieldCount() const { return int(mFields.size()); }
    const FieldInfo &fieldInfo(int index) const; // 3265 out of range
    int fieldIndex(const QString &name) const;   // 3265 for an unknown name
    QVariant value(int field);
    QVariant value(const QString &field) { return value(fieldIndex(field)); }
    void setValue(int field, const QVariant &value);
    void setValue(const QString &field, const QVariant &value) { setValue(fieldIndex(field), value); }

    void addNew();
    void edit();
    void update();
    void cancelUpdate();
    void deleteRecord();
    EditMode editMode() const { return mEditMode; }

    // Called by the database before anything writes to it.
    virtual void settleBeforeWrite() {}
    // False only when a write to `table` cannot change the rows this record set reads.
    virtual bool mayRead(const QString &table) const
    {
        Q_UNUSED(table);
        return true;
    }

  signals:
    void currentChanged();           // the current row moved
    void rowChanged(qint64 ordinal); // a row's values changed
    void rowsAboutToChange();        // rows are about to be added, removed or re-read
    void rowsChanged();

  protected:
    Recordset(Database *database, RecordsetType type, QString source);

    virtual bool hasCurrent() const = 0;
    virtual qint64 currentKey() = 0;             // 3021 without a current row
    virtual QVariant readCurrent(int field) = 0; // 3021, 3167 for a deleted row
    virtual void afterUpdate(qint64 key, bool added) = 0;
    virtual void afterDelete() = 0;
    virtual void closing() {}

    void requireOpen() const;
    [[noreturn]] static void raiseNoCurrent();
    [[noreturn]] static void raiseDeleted();
    [[noreturn]] static void raiseNotSupported(const char *what);
    quint64 bookmarkOwner() const { return mBookmarkOwner; }
    void renewBookmarkOwner();

    Database *mDatabase;
    QList<FieldInfo> mFields;
    QString mPrimaryTable;
    bool mUpdatable = false;
    bool mNoMatch = false;
    Bookmark mLastModified;

  private:
    RecordsetType mType;
    QString mSource;
    // Field numbers by case-folded name, the first field of each name, made at the first
    // look-up: a screen reads a contact's fields by name, some thirty times a move.
    mutable QHash<QString, int> mFieldByName;
    mutable qsizetype mNamedFields = -1;
    quint64 mBookmarkOwner = 0;
    EditMode mEditMode = EditMode::None;
    QVector<QVariant> mBuffer;
    QVector<bool> mDirty;
    qint64 mEditKey = 0;
};

} // namespace platform

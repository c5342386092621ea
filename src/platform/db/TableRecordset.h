#pragma once

#include "platform/db/Recordset.h"
#include "platform/db/SqlStatement.h"
#include "platform/db/TableDef.h"

namespace platform {

// A table-type record set: the rows of one table in the order of its current index, moved
// through by key so that it opens at once on any number of rows. Seek finds a row by the
// index's fields; a bookmark is the row's key.
class TableRecordset : public Recordset {
    Q_OBJECT
  public:
    TableRecordset(Database *database, const QString &table);

    bool bof() const override { return mState == State::Bof || mState == State::Empty; }
    bool eof() const override { return mState == State::Eof || mState == State::Empty; }
    void moveFirst() override;
    void moveLast() override;
    void moveNext() override;
    void movePrevious() override;
    qint64 recordCount() override;
    void requery() override;
    Bookmark bookmark() override;
    void setBookmark(const Bookmark &bookmark) override;

    QString index() const override { return mIndexName; }
    void setIndex(const QString &name) override;
    void seek(const QString &comparison, const QVariant &key1, const QVariant &key2 = QVariant()) override;

  protected:
    bool hasCurrent() const override { return mState == State::On; }
    qint64 currentKey() override;
    QVariant readCurrent(int field) override;
    void afterUpdate(qint64 key, bool added) override;
    void afterDelete() override;
    void closing() override;

  private:
    enum class State { Empty, Bof, On, Eof };

    QString orderBy(bool descending) const;
    QString selectKeys() const;
    // Moves to the first row the statement gives; false (and nothing moves) when none.
    bool takeRow(SqlStatement &statement);
    void loadRow();
    void moveBeyond(bool forward);
    bool neighbourAt(int level, bool forward, const QString &condition, bool bindsValue);
    void refreshEmpty();

    QString mTable;
    QString mIndexName;
    QStringList mIndexFields;
    QList<FieldInfo> mIndexInfo;
    State mState = State::Empty;
    qint64 mKey = 0;
    QVector<QVariant> mKeyValues; // the index fields of the current row, kept for moving on after a delete
    bool mDeleted = false;
    QVector<QVariant> mRow;
    bool mRowLoaded = false;
    quint64 mRowVersion = 0;
};

} // namespace platform

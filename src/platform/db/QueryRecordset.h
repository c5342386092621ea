#pragma once

#include "platform/db/Recordset.h"
#include "platform/db/SqlStatement.h"

#include <QCache>
#include <QTimer>
#include <vector>

namespace platform {

// A dynaset (or snapshot) over a query text or stored query. It keeps only the keys of its
// rows, in query order, collected as far as they are needed; rows are read while the query
// runs forward and fetched by key otherwise, a few at a time, into a small cache. Its
// membership is fixed until Requery: rows deleted meanwhile keep their place (and their
// bookmarks) but are skipped, rows it adds come last.
class QueryRecordset : public Recordset {
    Q_OBJECT
  public:
    QueryRecordset(Database *database, const QString &jetSql, bool snapshot);

    bool bof() const override;
    bool eof() const override;
    void moveFirst() override;
    void moveLast() override;
    void moveNext() override;
    void movePrevious() override;
    qint64 recordCount() override;
    void requery() override;
    Bookmark bookmark() override;
    void setBookmark(const Bookmark &bookmark) override;

    void findFirst(const QString &criterion) override;
    void findNext(const QString &criterion) override;
    void findLast(const QString &criterion) override;
    void findPrevious(const QString &criterion) override;
    qint64 absolutePosition() override;
    void setAbsolutePosition(qint64 ordinal) override;
    QVariant valueAt(qint64 ordinal, int field) override;
    QVariantList valuesOf(int field) override;
    bool collectMoreRows(int rows) override;

    void setWalking(bool walking) override;
    void settleBeforeWrite() override;
    bool mayRead(const QString &table) const override;

    // The SQLite text the query was translated to.
    const QString &sql() const { return mSql; }

  protected:
    bool hasCurrent() const override;
    qint64 currentKey() override;
    QVariant readCurrent(int field) override;
    void afterUpdate(qint64 key, bool added) override;
    void afterDelete() override;
    void closing() override;

  private:
    enum class Find { First, Next, Last, Previous };

    void start();
    // A query stepped part way holds the file's read lock, which keeps every other connection
    // from writing to it: the lock ends soon after the command that read, for once the
    // program waits for the user again, the rest of the keys are collected, a few
    // milliseconds at a time between the user's events, and the query lets go.
    void letGoWhenIdle();
    void letGoSome();
    bool stepStream();
    bool startReadingAhead(bool inTotalOrderOnly);
    bool streamHasWorked() const;
    bool stepAhead();
    void stopReadingAhead();
    void collectUpTo(qint64 position);
    void collectAll();
    qint64 countRows();
    qint64 keyCount() const { return qint64(mKeys.size()); }
    bool isDeleted(qint64 position) const;
    qint64 deletedBefore(qint64 position) const;
    qint64 nextLive(qint64 from);     // first position >= from not deleted; keyCount() when none
    qint64 previousLive(qint64 from); // last position <= from not deleted; -1 when none
    void moveTo(qint64 position);
    QVariant readAt(qint64 position, int field);
    const QVector<QVariant> &rowAt(qint64 position);
    void fetchAround(qint64 position);
    void placeRepeatedRows(const QList<qint64> &wanted,
                           const std::vector<std::pair<qint64, QVector<QVariant>>> &fetched);
    void find(const QString &criterion, Find direction);
    qint64 positionForOrdinal(qint64 ordinal);
    void buildKeyIndex();
    // Calls `visit` with each position holding `key`, in increasing order, until it says stop.
    template <typename Visit> void forPositionsOfKey(qint64 key, Visit visit) const;
    qint64 occurrenceAt(qint64 position) const;                       // rows of its key before it
    qint64 positionOfOccurrence(qint64 key, qint64 occurrence) const; // -1 when none
    SqlStatement &findStatement(const QString &shape, bool everyRow);

    QString mSql;      // translated query
    QString mKeyedSql; // the query with the key column it is read by
    QString mKeyName;
    QStringList mTables;
    bool mMaterialized = false;
    bool mSimple = false; // every column is a column of the primary table
    // The list's order ends with its key, so no two rows tie and any query over the list
    // text returns matches in list order.
    bool mTotalOrder = false;
    int mStreamKeyColumn = -1;

    SqlStatement mStream;
    bool mStreamDone = true;
    bool mStreamLive = false;
    qint64 mStreamPosition = -1;

    // The rest of the keys read by the query asked for its keys alone (often answered from an
    // index alone), once its first rows have been checked against the keys known: all at
    // once when every key is needed, or ahead a step at a time.
    SqlStatement mAhead;
    bool mReadingAhead = false;
    bool mAheadRefused = false;
    QTimer mLetGo;
    bool mWalking = false;

    std::vector<qint64> mKeys;
    bool mKeysComplete = false;
    // The rows the query gives, counted before their keys are all collected; -1 when not
    // counted. Nothing is added or deleted meanwhile: a write collects every key first.
    qint64 mCountedRows = -1;
    std::vector<qint64> mDeleted; // sorted positions
    // Where each key stands in the list. Keys are row ids, nearly always close together and
    // each in one row: then a table from key to position, made in one pass; otherwise
    // (key, position) pairs sorted.
    std::vector<qint64> mPositionOfKey; // position of key mKeyBase + i; -1 for none
    qint64 mKeyBase = 0;
    std::vector<std::pair<qint64, qint64>> mKeyIndex; // (key, position), sorted
    bool mKeyIndexValid = false;
    bool mKeysRepeat = false;             // some key stands in several rows
    std::vector<QVector<QVariant>> mRows; // all rows of a query that has no key

    qint64 mPosition = -1; // -1 before the first row; keyCount() after the last
    bool mEmptyAtStart = false;

    SqlStatement mFetch;
    SqlStatement mFallback;
    // The last finds' statements, with their texts as parameters, the latest first: a locate
    // box asks the same few shapes of question at every key, and compiling one anew cost
    // more than answering it.
    std::vector<std::pair<QString, SqlStatement>> mFinds;
    QCache<qint64, QVector<QVariant>> mCache;
    quint64 mCacheVersion = 0;
    QVector<QVariant> mMissingRow; // marks a row that is gone
};

} // namespace platform

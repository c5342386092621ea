#include "JetTestDatabase.h"

#include "platform/RuntimeError.h"
#include "platform/db/SqliteError.h"

#include <gtest/gtest.h>

using platform::JetColumn;
using platform::JetType;

namespace {

struct TableSpec {
    const char *name;
    QList<JetColumn> columns;
    const char *key; // the first column's declaration
};

QString declaredType(JetType type)
{
    switch (type) {
    case JetType::Text:
    case JetType::Memo:
        return QStringLiteral("TEXT COLLATE jet_text");
    case JetType::DateTime:
        return QStringLiteral("TEXT");
    case JetType::Single:
    case JetType::Double:
    case JetType::Currency:
        return QStringLiteral("REAL");
    case JetType::Binary:
        return QStringLiteral("BLOB");
    default:
        return QStringLiteral("INTEGER");
    }
}

} // namespace

JetTestDatabase::JetTestDatabase()
{
    EXPECT_EQ(sqlite3_open(":memory:", &mDb), SQLITE_OK);
    platform::registerJetFunctions(mDb);

    const JetType T = JetType::Text, D = JetType::DateTime, L = JetType::Long, Y = JetType::YesNo;
    const QList<TableSpec> tables = {
        {"tblContacts",
         {{"RecordID", JetType::Counter},
          {"FirstName", T, 255},
          {"LastName", T, 255},
          {"Organization", T, 255},
          {"City", T, 50},
          {"Selected", T, 1},
          {"Notes", JetType::Memo},
          {"Date1", D},
          {"DateUpdated", D},
          {"PrintNotes", Y},
          {"AddressForLabels", JetType::Integer},
          {"Code", T, 50},
          {"PicturePath1", T, 255},
          {"PicturePath2", T, 255},
          {"Score", JetType::Double}},
         "INTEGER PRIMARY KEY AUTOINCREMENT"},
        {"tblSettings",
         {{"Type", T, 50}, {"Name", T, 255}, {"Setting1", T, 255}, {"Setting8", JetType::Memo}},
         "TEXT COLLATE jet_text"},
        {"tblCategoryDesc",
         {{"CategoryNumber", JetType::Counter}, {"CategoryDesc", T, 50}},
         "INTEGER PRIMARY KEY AUTOINCREMENT"},
        {"tblCategoryID", {{"ID", L}, {"CategoryNumber", L}}, "INTEGER"},
        {"tblRemind",
         {{"RecordID", JetType::Counter},
          {"LinkedRecordID", L},
          {"Description", T, 255},
          {"RemindDate", D},
          {"WarningDays", L},
          {"WarnDate", D},
          {"Status", T, 10},
          {"Notes", JetType::Memo}},
         "INTEGER PRIMARY KEY AUTOINCREMENT"},
        {"tblCurrentReminders",
         {{"RemindDate", D},
          {"RecordID", L},
          {"TblRemindRecordID", L},
          {"Description", T, 255},
          {"Notes", JetType::Memo},
          {"WarnDate", D}},
         "TEXT"},
    };
    for (const TableSpec &t : tables) {
        QStringList defs;
        for (const JetColumn &c : t.columns)
            defs << c.name + u' ' + (defs.isEmpty() ? QString::fromLatin1(t.key) : declaredType(c.type));
        exec(QStringLiteral("CREATE TABLE %1 (%2)").arg(QString::fromLatin1(t.name), defs.join(u", ")));
        mTables.insert(QString::fromLatin1(t.name).toLower(), t.columns);
    }

    exec("CREATE VIEW qryContacts AS SELECT tblContacts.*, tblCategoryID.CategoryNumber FROM tblContacts "
         "JOIN tblCategoryID ON tblCategoryID.ID = tblContacts.RecordID");
    QList<JetColumn> contactView = mTables.value("tblcontacts");
    contactView.append({"CategoryNumber", L});
    mTables.insert("qrycontacts", contactView);
    exec("CREATE VIEW qryNewReminders AS SELECT RemindDate, LinkedRecordID, RecordID AS TblRemindRecordID, "
         "Description, Notes, WarnDate FROM tblRemind WHERE Status = 'Active' AND WarnDate <= jet_date()");
    mTables.insert("qrynewreminders", {{"RemindDate", D},
                                       {"LinkedRecordID", L},
                                       {"TblRemindRecordID", L},
                                       {"Description", T, 255},
                                       {"Notes", JetType::Memo},
                                       {"WarnDate", D}});

    exec("INSERT INTO tblContacts (FirstName, LastName, Organization, City, Selected, Notes, Date1, "
         "DateUpdated, "
         "PrintNotes, AddressForLabels, Code, PicturePath1, PicturePath2, Score) VALUES "
         "('John', 'Smith', 'Acme', 'Boston', 'x', 'Likes 100% cotton', '2024-12-25', '2024-03-05 13:30:00', "
         "-1, 1,"
         " 'A1', 'john.jpg', NULL, 7.5),"
         "('Waylon', 'smithers', 'Plant', 'Springfield', ' ', 'snake_case fan', NULL, '2024-03-15', 0, 2, "
         "'B2',"
         " NULL, 'T', 2),"
         "('Seán', 'O''Brien', NULL, 'Cork', NULL, 'He said \"hi\"', '2023-07-04', '2023-11-05', 0, 1, NULL,"
         " NULL, NULL, NULL),"
         "('Élodie', 'Écrivain', 'Café Zoë', 'Paris', 'X', NULL, NULL, '2024-12-25 08:00:00', -1, 1, 'c3', "
         "'T',"
         " NULL, 10),"
         "('Mary', 'Jones', '', 'Boston', ' ', '', '1999-01-31', NULL, 0, 1, '', NULL, NULL, 0)");
    exec("INSERT INTO tblSettings (Type, Name, Setting1, Setting8) VALUES "
         "('CATEGORY', 'Friends', ' CategoryNumber = 2 ', NULL),"
         "('NOTE', 'Shopping', NULL, 'milk'),"
         "('NOTE', 'Apples', NULL, 'red'),"
         "('LASTNOTE', '1', NULL, NULL),"
         "('REPORT', 'Envelope Orientation', 'Portrait', NULL),"
         "('REPORT', 'Pocket Report', '0', NULL),"
         "('REPORTdefault', 'Pocket Report', '0', NULL),"
         "('RETURNADDRESSCHOICE', '1', NULL, NULL),"
         "('RETURNADDRESS1', 'Home', '1 Main St', NULL),"
         "('FILTER', 'Boston people', NULL, 'City = \"Boston\"'),"
         "('COMMSETTINGS', 'COM1', '', NULL),"
         "('REMINDERSTARTUP', '1', NULL, NULL)");
    exec("INSERT INTO tblCategoryDesc (CategoryDesc) VALUES ('Family'), ('Friends'), ('Work')");
    exec("INSERT INTO tblCategoryID VALUES (1, 2), (2, 2), (1, 3), (4, 1)");
    exec("INSERT INTO tblRemind (LinkedRecordID, Description, RemindDate, WarningDays, WarnDate, Status, "
         "Notes) "
         "VALUES (1, 'Birthday', '2024-12-25', 5, '2024-12-20', 'Active', 'cake'),"
         "(0, 'Taxes', '2025-04-15', 10, '2025-04-05', 'Active', NULL),"
         "(2, 'Old', '2024-01-01', 0, '2024-01-01', 'Inactive', NULL)");

    mCatalog = [this](const QString &name) -> const QList<JetColumn> * {
        const auto it = mTables.constFind(name.toLower());
        return it == mTables.constEnd() ? nullptr : &it.value();
    };
}

JetTestDatabase::~JetTestDatabase()
{
    sqlite3_close(mDb);
}

void JetTestDatabase::exec(const QString &sql)
{
    char *error = nullptr;
    const int rc = sqlite3_exec(mDb, sql.toUtf8().constData(), nullptr, nullptr, &error);
    EXPECT_EQ(rc, SQLITE_OK) << sql.toStdString() << ": " << (error ? error : "");
    sqlite3_free(error);
}

QString JetTestDatabase::prepareError(const QString &sql)
{
    sqlite3_stmt *stmt = nullptr;
    const int rc = sqlite3_prepare_v2(mDb, sql.toUtf8().constData(), -1, &stmt, nullptr);
    const QString error = rc == SQLITE_OK ? QString() : QString::fromUtf8(sqlite3_errmsg(mDb));
    sqlite3_finalize(stmt);
    return error;
}

QList<QVariantList> JetTestDatabase::query(const QString &sql)
{
    QList<QVariantList> rows;
    sqlite3_stmt *stmt = nullptr;
    const QByteArray utf8 = sql.toUtf8();
    const char *tail = nullptr;
    if (sqlite3_prepare_v2(mDb, utf8.constData(), -1, &stmt, &tail) != SQLITE_OK) {
        ADD_FAILURE() << sql.toStdString() << ": " << sqlite3_errmsg(mDb);
        return rows;
    }
    EXPECT_EQ(QByteArray(tail).trimmed(), QByteArray()) << "more than one statement: " << sql.toStdString();
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        QVariantList row;
        for (int i = 0; i < sqlite3_column_count(stmt); ++i) {
            switch (sqlite3_column_type(stmt, i)) {
            case SQLITE_NULL:
                row << QVariant();
                break;
            case SQLITE_INTEGER:
                row << QVariant(qlonglong(sqlite3_column_int64(stmt, i)));
                break;
            case SQLITE_FLOAT:
                row << QVariant(sqlite3_column_double(stmt, i));
                break;
            default:
                row << QVariant(
                    QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(stmt, i))));
            }
        }
        rows << row;
    }
    EXPECT_EQ(rc, SQLITE_DONE) << sql.toStdString() << ": " << sqlite3_errmsg(mDb);
    sqlite3_finalize(stmt);
    return rows;
}

QList<QVariantList> JetTestDatabase::select(const QString &jet)
{
    const auto t = platform::translateJetSql(jet, platform::JetTextKind::ReadOnlyQuery, mCatalog);
    return query(t.sql);
}

QStringList JetTestDatabase::column(const QString &jet, int index)
{
    QStringList out;
    for (const QVariantList &row : select(jet))
        out << (row.value(index).isNull() ? QStringLiteral("<null>") : row.value(index).toString());
    return out;
}

int JetTestDatabase::execute(const QString &jet)
{
    const auto t = platform::translateJetSql(jet, platform::JetTextKind::ActionQuery, mCatalog);
    query(t.sql);
    return sqlite3_changes(mDb);
}

QStringList JetTestDatabase::lastNamesWhere(const QString &criterion, const QString &source)
{
    const QString where = platform::translateJetCriterion(criterion, source, mCatalog);
    QStringList out;
    for (const QVariantList &row :
         query(QStringLiteral("SELECT LastName FROM %1 WHERE %2 ORDER BY RecordID").arg(source, where)))
        out << row.value(0).toString();
    return out;
}

QVariant JetTestDatabase::value(const QString &expression, int recordId)
{
    const QString sql = platform::translateJetCriterion(expression, QStringLiteral("tblContacts"), mCatalog);
    const auto rows =
        query(QStringLiteral("SELECT %1 FROM tblContacts WHERE RecordID = %2").arg(sql).arg(recordId));
    return rows.isEmpty() ? QVariant() : rows.first().value(0);
}

int JetTestDatabase::contactCount()
{
    return query(QStringLiteral("SELECT count(*) FROM tblContacts")).value(0).value(0).toInt();
}

int JetTestDatabase::errorOf(const QString &criterion)
{
    try {
        const QString where = platform::translateJetCriterion(criterion, "tblContacts", mCatalog);
        const QByteArray sql = ("SELECT RecordID FROM tblContacts WHERE " + where).toUtf8();
        sqlite3_stmt *stmt = nullptr;
        int rc = sqlite3_prepare_v2(mDb, sql.constData(), -1, &stmt, nullptr);
        while (rc == SQLITE_OK || rc == SQLITE_ROW)
            rc = sqlite3_step(stmt);
        sqlite3_finalize(stmt);
        if (rc != SQLITE_DONE)
            platform::raiseSqliteError(mDb, rc);
    } catch (const platform::RuntimeError &e) {
        return e.number();
    }
    return 0;
}

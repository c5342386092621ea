#include "platform/db/FieldValue.h"

#include "platform/RuntimeError.h"
#include "platform/base/DateText.h"
#include "platform/db/DaoError.h"
#include "platform/db/jet/JetValue.h"

#include <sqlcipher/sqlite3.h>

#include <QRegularExpression>
#include <limits>

namespace platform {

namespace {

[[noreturn]] void typeMismatch(const FieldInfo &field, const QVariant &value)
{
    throw RuntimeError(err::TypeMismatch,
                       QStringLiteral("Type mismatch: '%1' cannot be stored in the field '%2'.")
                           .arg(value.toString(), field.name));
}

qint64 wholeNumber(const FieldInfo &field, const QVariant &value)
{
    bool ok = false;
    qint64 number = 0;
    if (value.typeId() == QMetaType::Bool) {
        number = value.toBool() ? -1 : 0;
        ok = true;
    } else if (value.typeId() == QMetaType::Double || value.typeId() == QMetaType::Float) {
        const double d = value.toDouble();
        ok = d >= double(std::numeric_limits<qint64>::min()) &&
             d <= double(std::numeric_limits<qint64>::max());
        number = qRound64(d);
    } else if (value.typeId() == QMetaType::QString) {
        const QString text = value.toString().trimmed();
        number = text.toLongLong(&ok);
        if (!ok) {
            const double d = text.toDouble(&ok);
            number = qRound64(d);
        }
    } else {
        number = value.toLongLong(&ok);
    }
    if (!ok)
        typeMismatch(field, value);
    qint64 low = std::numeric_limits<qint32>::min(), high = std::numeric_limits<qint32>::max();
    if (field.type == JetType::Byte)
        low = 0, high = 255;
    else if (field.type == JetType::Integer)
        low = -32768, high = 32767;
    if (number < low || number > high)
        throw RuntimeError(
            err::Overflow,
            QStringLiteral("Overflow: %1 does not fit the field '%2'.").arg(number).arg(field.name));
    return number;
}

// The stored forms "yyyy-MM-dd" and "yyyy-MM-dd HH:mm:ss" read digit by digit: dates are
// read for every row a list shows, and the general parser is many times slower.
QDateTime quickDateFromStorage(const char *text, int length)
{
    auto digits = [text](int from, int count) {
        int value = 0;
        for (int i = from; i < from + count; ++i) {
            if (text[i] < '0' || text[i] > '9')
                return -1;
            value = value * 10 + (text[i] - '0');
        }
        return value;
    };
    if ((length != 10 && length != 19) || text[4] != '-' || text[7] != '-')
        return {};
    const QDate date(digits(0, 4), digits(5, 2), digits(8, 2));
    if (!date.isValid() || digits(0, 4) < 0)
        return {};
    if (length == 10)
        return plainDateTime(date);
    if (text[10] != ' ' || text[13] != ':' || text[16] != ':')
        return {};
    const QTime time(digits(11, 2), digits(14, 2), digits(17, 2));
    return time.isValid() ? plainDateTime(date, time) : QDateTime();
}

} // namespace

bool jetTypeOfDeclaration(const QString &declaredType, JetType &type, int &size)
{
    static const QRegularExpression sized(QStringLiteral("^\\s*([A-Za-z ]+?)\\s*\\(\\s*(\\d+)\\s*\\)"));
    QString base = declaredType.trimmed().toUpper();
    size = 0;
    const auto match = sized.match(base);
    if (match.hasMatch()) {
        base = match.captured(1);
        size = match.captured(2).toInt();
    }
    if (base == u"VARCHAR" || base == u"CHAR" || base == u"NVARCHAR" || base == u"CHARACTER VARYING" ||
        (base == u"TEXT" && size > 0)) {
        type = JetType::Text;
        if (size == 0)
            size = 255;
        return true;
    }
    size = 0;
    if (base == u"LONGTEXT" || base == u"MEMO" || base == u"TEXT" || base == u"CLOB")
        type = JetType::Memo;
    else if (base == u"SMALLINT" || base == u"SHORT")
        type = JetType::Integer;
    else if (base == u"TINYINT" || base == u"BYTE")
        type = JetType::Byte;
    else if (base == u"INTEGER" || base == u"INT" || base == u"LONG" || base == u"BIGINT" ||
             base == u"COUNTER")
        type = JetType::Long;
    else if (base == u"DATETIME" || base == u"DATE" || base == u"TIME" || base == u"TIMESTAMP")
        type = JetType::DateTime;
    else if (base == u"YESNO" || base == u"BIT" || base == u"BOOLEAN" || base == u"BOOL" ||
             base == u"LOGICAL")
        type = JetType::YesNo;
    else if (base == u"DOUBLE" || base == u"FLOAT" || base == u"NUMERIC" || base == u"DECIMAL")
        type = JetType::Double;
    else if (base == u"REAL" || base == u"SINGLE")
        type = JetType::Single;
    else if (base == u"CURRENCY" || base == u"MONEY")
        type = JetType::Currency;
    else if (base == u"BLOB" || base == u"BINARY" || base == u"LONGBINARY" || base == u"VARBINARY")
        type = JetType::Binary;
    else
        return false;
    return true;
}

bool hasTextAffinity(const QString &declaredType)
{
    const QString type = declaredType.toUpper();
    if (type.contains(QLatin1String("INT")))
        return false;
    return type.contains(QLatin1String("CHAR")) || type.contains(QLatin1String("CLOB")) ||
           type.contains(QLatin1String("TEXT"));
}

FieldInfo describeColumn(sqlite3 *db, sqlite3_stmt *stmt, int column)
{
    FieldInfo info;
    info.name = QString::fromUtf8(sqlite3_column_name(stmt, column));
    const char *table = sqlite3_column_table_name(stmt, column);
    const char *origin = sqlite3_column_origin_name(stmt, column);
    const char *database = sqlite3_column_database_name(stmt, column);
    if (table && origin) {
        info.baseTable = QString::fromUtf8(table);
        info.baseColumn = QString::fromUtf8(origin);
        const char *declared = nullptr, *collation = nullptr;
        int notNull = 0, primaryKey = 0, autoInc = 0;
        if (sqlite3_table_column_metadata(db, database, table, origin, &declared, &collation, &notNull,
                                          &primaryKey, &autoInc) == SQLITE_OK) {
            const QString decl = QString::fromUtf8(declared ? declared : "");
            info.rowidAlias = primaryKey && decl.compare(QLatin1String("INTEGER"), Qt::CaseInsensitive) == 0;
            info.autoIncrement = autoInc != 0;
        }
    }
    const char *decl = sqlite3_column_decltype(stmt, column);
    if (decl)
        info.typed = jetTypeOfDeclaration(QString::fromUtf8(decl), info.type, info.size);
    if (info.rowidAlias && info.autoIncrement) {
        info.type = JetType::Counter;
        info.typed = true;
    }
    return info;
}

QVariant readColumn(sqlite3_stmt *stmt, int column, const FieldInfo &field)
{
    if (field.typed && (field.type == JetType::Text || field.type == JetType::Memo)) {
        // Most columns read are text: one call less for each (every call takes the
        // connection's lock).
        const auto *utf8 = reinterpret_cast<const char *>(sqlite3_column_text(stmt, column));
        if (utf8)
            return QVariant(QString::fromUtf8(utf8, sqlite3_column_bytes(stmt, column)));
        // An empty blob has no text either.
        return sqlite3_column_type(stmt, column) == SQLITE_NULL ? QVariant() : QVariant(QString());
    }
    const int storage = sqlite3_column_type(stmt, column);
    if (storage == SQLITE_NULL)
        return QVariant();
    auto text = [&] {
        return QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(stmt, column)),
                                 sqlite3_column_bytes(stmt, column));
    };
    if (!field.typed) {
        switch (storage) {
        case SQLITE_INTEGER:
            return QVariant(qlonglong(sqlite3_column_int64(stmt, column)));
        case SQLITE_FLOAT:
            return QVariant(sqlite3_column_double(stmt, column));
        case SQLITE_BLOB:
            return QVariant(QByteArray(static_cast<const char *>(sqlite3_column_blob(stmt, column)),
                                       sqlite3_column_bytes(stmt, column)));
        default:
            return QVariant(text());
        }
    }
    switch (field.type) {
    case JetType::Text:
    case JetType::Memo:
        return QVariant(text());
    case JetType::Byte:
    case JetType::Integer:
    case JetType::Long:
    case JetType::Counter:
        if (storage == SQLITE_TEXT)
            return QVariant(text());
        return QVariant(int(sqlite3_column_int64(stmt, column)));
    case JetType::Single:
    case JetType::Double:
    case JetType::Currency:
        if (storage == SQLITE_TEXT)
            return QVariant(text());
        return QVariant(sqlite3_column_double(stmt, column));
    case JetType::YesNo:
        return QVariant(sqlite3_column_int64(stmt, column) != 0);
    case JetType::DateTime: {
        const QDateTime quick =
            quickDateFromStorage(reinterpret_cast<const char *>(sqlite3_column_text(stmt, column)),
                                 sqlite3_column_bytes(stmt, column));
        if (quick.isValid())
            return QVariant(quick);
        const QString stored = text();
        const QDateTime value = dateFromStorage(stored);
        return value.isValid() ? QVariant(value) : QVariant(stored);
    }
    case JetType::Binary:
        return QVariant(QByteArray(static_cast<const char *>(sqlite3_column_blob(stmt, column)),
                                   sqlite3_column_bytes(stmt, column)));
    }
    return QVariant();
}

QVariant toStorage(const FieldInfo &field, const QVariant &value)
{
    if (!value.isValid() || value.isNull())
        return QVariant();
    if (!field.typed)
        return value;
    switch (field.type) {
    case JetType::Text:
    case JetType::Memo: {
        QString text;
        if (value.typeId() == QMetaType::QDateTime)
            text = generalDateText(plainDateTimeOf(value));
        else if (value.typeId() == QMetaType::QDate)
            text = shortDateText(value.toDate());
        else if (value.typeId() == QMetaType::Bool)
            text = value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
        else
            text = value.toString();
        if (field.type == JetType::Text && field.size > 0 && text.size() > field.size)
            throw RuntimeError(err::FieldTooLong,
                               QStringLiteral("The field '%1' is too small to accept the amount of data you "
                                              "attempted to add. Try inserting or pasting less data.")
                                   .arg(field.name));
        return QVariant(text);
    }
    case JetType::Byte:
    case JetType::Integer:
    case JetType::Long:
    case JetType::Counter:
        return QVariant(qlonglong(wholeNumber(field, value)));
    case JetType::Single:
    case JetType::Double:
    case JetType::Currency: {
        bool ok = false;
        const double d = value.typeId() == QMetaType::QString ? value.toString().trimmed().toDouble(&ok)
                                                              : value.toDouble(&ok);
        if (!ok)
            typeMismatch(field, value);
        return QVariant(d);
    }
    case JetType::YesNo: {
        if (value.typeId() == QMetaType::QString) {
            const QString t = value.toString().trimmed().toLower();
            if (t == u"true" || t == u"yes" || t == u"on")
                return QVariant(qlonglong(JetTrue));
            if (t == u"false" || t == u"no" || t == u"off")
                return QVariant(qlonglong(JetFalse));
            bool ok = false;
            const double d = t.toDouble(&ok);
            if (!ok)
                typeMismatch(field, value);
            return QVariant(qlonglong(d != 0 ? JetTrue : JetFalse));
        }
        bool ok = true;
        const double d = value.typeId() == QMetaType::Bool ? (value.toBool() ? 1 : 0) : value.toDouble(&ok);
        if (!ok)
            typeMismatch(field, value);
        return QVariant(qlonglong(d != 0 ? JetTrue : JetFalse));
    }
    case JetType::DateTime: {
        if (value.typeId() == QMetaType::QDateTime)
            return QVariant(dateToStorage(value.toDateTime()));
        if (value.typeId() == QMetaType::QDate)
            return QVariant(dateToStorage(value.toDate()));
        const QString text = value.toString();
        QDateTime parsed = dateFromStorage(text);
        if (!parsed.isValid())
            parsed = parseDateText(text);
        if (!parsed.isValid())
            typeMismatch(field, value);
        return QVariant(dateToStorage(parsed));
    }
    case JetType::Binary:
        return QVariant(value.toByteArray());
    }
    return value;
}

} // namespace platform

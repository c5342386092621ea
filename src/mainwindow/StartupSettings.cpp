#include "mainwindow/StartupSettings.h"

#include "helpers/DatabaseState.h"
#include "helpers/ValueHelpers.h"
#include "platform/db/Database.h"
#include "platform/db/Recordset.h"
#include "platform/db/TextCollation.h"
#include "platform/db/jet/JetQuote.h"

#include <QVariant>

namespace {

// The order of the settings index on Name: Null first, then texts as the text collation
// orders them.
bool nameBefore(const QVariant &name, const QVariant &other)
{
    if (other.isNull())
        return false;
    return name.isNull() || platform::compareCollated(name.toString(), other.toString()) < 0;
}

} // namespace

QString StartupSettings::query(const QStringList &types)
{
    QStringList quoted;
    for (const QString &type : types)
        quoted.append(platform::jetQuote(type));
    return QStringLiteral("Select * from tblSettings Where Type In (") + quoted.join(QStringLiteral(", ")) +
           QLatin1Char(')');
}

void StartupSettings::read(platform::Database &db, const QStringList &types)
{
    if (!types.isEmpty())
        gSql = query(types);
    readAhead(db, types);
}

void StartupSettings::readAhead(platform::Database &db, const QStringList &types)
{
    mRows.clear();
    if (types.isEmpty())
        return;
    std::unique_ptr<platform::Recordset> rs = db.openRecordset(query(types));
    // An open list knows whether it has a first row; counting them all would cost a query more.
    if (rs->eof())
        return;
    // A type's own query reads its rows through the settings index: by Name and, among
    // equal names, in the order they were added, which is also the order rows of one type
    // and one name come in here. So the row it gives first is the one of the least Name
    // that is met first.
    QList<QVariant> leastName(types.size());
    QList<bool> found(types.size(), false);
    QList<Row> rows(types.size());
    for (rs->moveFirst(); !rs->eof(); rs->moveNext()) {
        const QString type = NullToString(rs->value(QStringLiteral("Type"))).toString();
        for (qsizetype i = 0; i < types.size(); ++i) {
            if (platform::compareCollated(type, types[i]) != 0)
                continue;
            const QVariant name = rs->value(QStringLiteral("Name"));
            if (found[i] && !nameBefore(name, leastName[i]))
                continue;
            found[i] = true;
            leastName[i] = name;
            rows[i] = Row{NullToString(name).toString(),
                          NullToString(rs->value(QStringLiteral("Setting1"))).toString()};
        }
    }
    for (qsizetype i = 0; i < types.size(); ++i) {
        if (found[i])
            mRows.append({types[i], rows[i]});
    }
}

std::optional<StartupSettings::Row> StartupSettings::row(const QString &type) const
{
    for (const auto &[known, values] : mRows) {
        if (known == type)
            return values;
    }
    return std::nullopt;
}

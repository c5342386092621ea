#include "helpers/SettingsRow.h"

#include "helpers/DatabaseState.h"
#include "helpers/StartRoutine.h"
#include "platform/db/Database.h"
#include "platform/db/Recordset.h"

#include <QVariant>

void storeSettingsRow(platform::Database &db, const QString &type, const QString &name)
{
    gSql = settingsRowQuery(type);
    // What the user last chose to see is kept for this run only: a read-only database
    // is still there to be looked at in every order and look.
    if (db.readOnly())
        return;
    std::unique_ptr<platform::Recordset> rs = db.openRecordset(gSql);
    if (rs->eof()) {
        rs->addNew();
    } else {
        rs->moveFirst();
        // A row that already says so is left alone: rewriting it would change nothing but
        // cost a write to the file, at every start for the restored sort order.
        const QVariant storedType = rs->value(QStringLiteral("Type"));
        const QVariant storedName = rs->value(QStringLiteral("Name"));
        if (!storedType.isNull() && !storedName.isNull() && storedType.toString() == type &&
            storedName.toString() == name)
            return;
        rs->edit();
    }
    rs->setValue(QStringLiteral("Type"), type);
    rs->setValue(QStringLiteral("Name"), name);
    rs->update();
}

#include "app/SettingsRow.h"

#include "app/modMain.h"
#include "platform/db/Database.h"
#include "platform/db/Recordset.h"

void storeSettingsRow(platform::Database &db, const QString &type, const QString &name)
{
    gSql = settingsRowQuery(type);
    std::unique_ptr<platform::Recordset> rs = db.openRecordset(gSql);
    if (rs->recordCount() == 0) {
        rs->addNew();
    } else {
        rs->moveFirst();
        rs->edit();
    }
    rs->setValue(QStringLiteral("Type"), type);
    rs->setValue(QStringLiteral("Name"), name);
    rs->update();
}

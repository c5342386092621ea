#include "mainwindow/StartupSettings.h"

#include "helpers/SettingsRow.h"
#include "helpers/ValueHelpers.h"
#include "platform/db/Recordset.h"
#include "support/TempDatabase.h"

#include <QVariant>
#include <gtest/gtest.h>

namespace {

// What a type's own settings query gives first, read the way the window read each setting.
std::optional<StartupSettings::Row> ownQueryRow(platform::Database &db, const QString &type)
{
    std::unique_ptr<platform::Recordset> rs = db.openRecordset(settingsRowQuery(type));
    if (rs->recordCount() <= 0)
        return std::nullopt;
    rs->moveFirst();
    return StartupSettings::Row{NullToString(rs->value("Name")).toString(),
                                NullToString(rs->value("Setting1")).toString()};
}

} // namespace

TEST(StartupSettings, EachTypeAnswersAsItsOwnQueryDoes)
{
    TempDatabase temp;
    platform::Database &db = temp.db();
    db.execute("Delete from tblSettings");
    // Rows added out of their names' order, names equal but for case, a Null name, a type
    // spelt in another case, and types with no row at all.
    const char *rows[] = {
        "('TABLET', 'True', 'second by name')", "('TABLET', '0', 'first by name')",
        "('CATEGORY', 'guild', ' CategoryNumber = 2 ')", "('CATEGORY', 'Guild', ' CategoryNumber = 3 ')",
        "('CATEGORY', 'Zoo', ' CategoryNumber = 1 ')", "('ASSIGNCATGONADD', '4', '')",
        "('ASSIGNCATGONADD', Null, 'null name')", "('backcolor', '255', Null)",
        "('VERSION', '3.0', '')", "('GRIDSORTORDER', 'City', '')", "('OTHER', 'a', 'b')",
    };
    for (const char *row : rows)
        db.execute(QStringLiteral("INSERT INTO tblSettings (Type, Name, Setting1) VALUES %1").arg(row));

    const QStringList types = {"TABLET", "CATEGORY", "ASSIGNCATGONADD", "BACKCOLOR", "VERSION",
                               "GRIDSORTORDER", "TEMPLATE RecordID", "REMINDERSTARTUP"};
    StartupSettings settings;
    settings.read(db, types);
    for (const QString &type : types) {
        SCOPED_TRACE(type.toStdString());
        const std::optional<StartupSettings::Row> expected = ownQueryRow(db, type);
        const std::optional<StartupSettings::Row> read = settings.row(type);
        ASSERT_EQ(read.has_value(), expected.has_value());
        if (read) {
            EXPECT_EQ(read->name, expected->name);
            EXPECT_EQ(read->setting1, expected->setting1);
        }
    }
    // What those queries give, spelt out.
    EXPECT_EQ(settings.row("TABLET")->setting1, "first by name");
    EXPECT_EQ(settings.row("CATEGORY")->setting1, " CategoryNumber = 2 ") << "the first added of equal names";
    EXPECT_EQ(settings.row("ASSIGNCATGONADD")->setting1, "null name");
    EXPECT_EQ(settings.row("ASSIGNCATGONADD")->name, "");
    EXPECT_EQ(settings.row("BACKCOLOR")->name, "255");
    EXPECT_FALSE(settings.row("TEMPLATE RecordID"));
    EXPECT_FALSE(settings.row("OTHER")) << "only the types asked for are read";
}

TEST(StartupSettings, ADatabaseWithoutRowsOrAReadAgainForgetsWhatWasRead)
{
    TempDatabase temp;
    platform::Database &db = temp.db();
    StartupSettings settings;
    settings.read(db, {"VERSION"});
    EXPECT_TRUE(settings.row("VERSION")) << "the shipped database has a VERSION row";
    db.execute("Delete from tblSettings");
    settings.read(db, {"VERSION"});
    EXPECT_FALSE(settings.row("VERSION"));
}

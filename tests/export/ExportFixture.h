#pragma once

#include "printing/DataControlRecords.h"
#include "support/DialogScript.h"
#include "support/FileBytes.h"
#include "support/TempDatabase.h"

#include "platform/db/DataControl.h"
#include "platform/db/Recordset.h"
#include "platform/ui/CommonDialog.h"
#include "platform/ui/MsgBox.h"

#include <QDir>
#include <QTemporaryDir>
#include <QVariantMap>
#include <functional>
#include <gtest/gtest.h>

// Contacts in a database of their own, displayed through a data control as the main
// window displays them, and a folder to export into.
class ExportFixture : public ::testing::Test {
  protected:
    using Export = std::function<void(DisplayedRecords &, platform::CommonDialog &)>;

    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        Data1.setDatabase(&temp.db());
    }
    void TearDown() override { Data1.clear(); }

    // Adds a contact with these fields; the others keep their defaults.
    void add(const QVariantMap &fields)
    {
        auto rs = temp.db().openRecordset(QStringLiteral("tblContacts"));
        rs->addNew();
        for (auto it = fields.begin(); it != fields.end(); ++it)
            rs->setValue(it.key(), it.value());
        rs->update();
    }

    void
    show(const QString &source = QStringLiteral("Select * From tblContacts Order By LastName, FirstName"))
    {
        Data1.setRecordSource(source);
        Data1.refresh();
    }

    QString target(const QString &name = QStringLiteral("NameOut.txt")) const
    {
        return folder.filePath(name);
    }

    // Runs an export answered Yes, saved as `path` and acknowledged; the file's bytes.
    QByteArray run(const Export &exportTo, const QString &path)
    {
        DialogScript script;
        script.answerMessage(platform::vbYes).answerSaveFile(path).answerMessage(platform::vbOK);
        DataControlRecords records(Data1);
        exportTo(records, CMDialog1);
        shown = script.shown();
        return readFileBytes(path);
    }
    QByteArray run(const Export &exportTo) { return run(exportTo, target()); }

    // The contacts of a single-contact export, after its first line.
    static QByteArray afterFirstLine(const QByteArray &bytes) { return bytes.mid(bytes.indexOf("\r\n") + 2); }

    QTemporaryDir folder;
    TempDatabase temp;
    platform::DataControl Data1;
    platform::CommonDialog CMDialog1;
    std::vector<platform::DialogRequest> shown;
};

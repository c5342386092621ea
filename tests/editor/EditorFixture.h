#pragma once

#include "editor/ContactFields.h"
#include "editor/ContactTransfer.h"
#include "editor/DateChecks.h"
#include "editor/DataControlLink.h"
#include "editor/GLOBAL.h"
#include "editor/MainListLink.h"
#include "editor/NameEdit.h"
#include "editor/PictureStrip.h"
#include "helpers/RecordSource.h"
#include "helpers/SettingsRow.h"
#include "pictures/PictureHandOver.h"
#include "platform/base/Clock.h"
#include "platform/db/DataControl.h"
#include "platform/db/Database.h"
#include "platform/db/Recordset.h"
#include "platform/ui/Twips.h"
#include "support/DialogScript.h"
#include "support/FormControls.h"
#include "support/TempDatabase.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <QVariantMap>
#include <gtest/gtest.h>
#include <memory>

// The main list as the editor sees it: a data control over a fresh database, whose record
// source a test may change before the next Refresh.
class TestList : public DataControlLink {
  public:
    explicit TestList(platform::Database &db)
        : DataControlLink(mData1,
                          {[this] { return caption; }, [this] { return selectedOnly; },
                           [this] { return isFindResultCaption(caption); }, [this] { return category; }})
    {
        mData1.setDatabase(&db);
        mData1.setRecordSource(source);
    }

    void Refresh() override
    {
        mData1.setRecordSource(source);
        DataControlLink::Refresh();
    }

    QString source = QStringLiteral("Select * from  tblContacts Order By LastName, FirstName ");
    QString caption;
    bool selectedOnly = false;
    qint64 category = -1;

    qint64 currentId() { return Recordset().value(QStringLiteral("RecordID")).toLongLong(); }
    void moveTo(qint64 recordId)
    {
        Recordset().findFirst(QStringLiteral("RecordID = ") + QString::number(recordId));
    }

  private:
    platform::DataControl mData1;
};

// A database with a few contacts, the editor state at its start values, and the clock fixed.
class EditorTest : public ::testing::Test {
  protected:
    void SetUp() override
    {
        gEditor.reset();
        gPictureHandOver.reset();
        platform::setClockForTesting([] { return QDateTime(QDate(2024, 3, 5), QTime(14, 30, 15)); });
        list = std::make_unique<TestList>(temp.db());
    }
    void TearDown() override
    {
        editor.reset();
        platform::setClockForTesting({});
    }

    // Adds a contact with the given fields and returns its RecordID.
    qint64 addContact(const QVariantMap &fields)
    {
        auto rs = temp.db().openRecordset(QStringLiteral("tblContacts"), platform::RecordsetType::Table);
        rs->addNew();
        for (auto it = fields.cbegin(); it != fields.cend(); ++it)
            rs->setValue(it.key(), it.value());
        rs->update();
        rs->setBookmark(rs->lastModified());
        return rs->value(QStringLiteral("RecordID")).toLongLong();
    }
    qint64 addPerson(const QString &first, const QString &last)
    {
        return addContact({{QStringLiteral("FirstName"), first}, {QStringLiteral("LastName"), last}});
    }

    // The stored value of one field of a contact.
    QVariant stored(qint64 recordId, const QString &field)
    {
        auto rs = temp.db().openRecordset(QStringLiteral("Select * from tblContacts Where RecordID = ") +
                                          QString::number(recordId));
        return rs->value(field);
    }
    bool exists(qint64 recordId)
    {
        return temp.db()
                   .openRecordset(QStringLiteral("Select * from tblContacts Where RecordID = ") +
                                  QString::number(recordId))
                   ->recordCount() > 0;
    }
    qint64 contactCount()
    {
        auto rs = temp.db().openRecordset(QStringLiteral("Select * from tblContacts"));
        return rs->recordCount();
    }

    // Opens the editor (not modally) on the list's current row or on a new contact.
    NameEdit &openEditor(bool existing)
    {
        list->Refresh();
        return openEditorHere(existing);
    }
    NameEdit &openEditorHere(bool existing)
    {
        gEditor.gEditExistingRecord = existing;
        editor = std::make_unique<NameEdit>(*list);
        editor->load();
        editor->show();
        return *editor;
    }

    QLineEdit *box(const QString &name) { return editor->findChild<QLineEdit *>(name); }
    QString text(const QString &name) { return box(name)->text(); }
    // A control of the open editor by its name; the test stops when there is none.
    template <class W> W *widget(const char *name) { return controlOf<W>(*editor, name); }

    TempDatabase temp;
    std::unique_ptr<TestList> list;
    std::unique_ptr<NameEdit> editor;
};

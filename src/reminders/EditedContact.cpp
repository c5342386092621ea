#include "reminders/EditedContact.h"

#include "editor/GLOBAL.h"
#include "editor/NameEdit.h"
#include "helpers/MainWindowLink.h"
#include "platform/db/DataControl.h"
#include "platform/db/Recordset.h"

#include <QLineEdit>

namespace {

QString boxText(NameEdit *editor, const QString &name)
{
    QLineEdit *box = editor ? editor->box(name) : nullptr;
    return box ? box->text() : QString();
}

} // namespace

EditedContact EditedContact::fromEditor()
{
    EditedContact contact;
    if (platform::DataControl *data1 = MainWindowLink::LoadedData1()) {
        platform::Recordset *rs = data1->recordset();
        if (rs && !rs->bof() && !rs->eof())
            contact.recordID = rs->value(QStringLiteral("RecordID")).toLongLong();
    }
    NameEdit *editor = NameEdit::loaded();
    contact.firstName = boxText(editor, QStringLiteral("txtFirstName"));
    contact.middleName = boxText(editor, QStringLiteral("txtMiddleName"));
    contact.lastName = boxText(editor, QStringLiteral("txtLastName"));
    contact.organization = boxText(editor, QStringLiteral("txtOrganization"));
    if (gEditor.gLastDateBox >= 1 && gEditor.gLastDateBox <= 5) {
        contact.dateText = boxText(editor, QStringLiteral("txtDate%1").arg(gEditor.gLastDateBox));
        contact.dateDescription = boxText(editor, QStringLiteral("txtDate%1_Desc").arg(gEditor.gLastDateBox));
    }
    return contact;
}

#include "dialing/CommSettingsForm.h"

#include "helpers/DatabaseState.h"
#include "helpers/SettingsRow.h"
#include "helpers/ValueHelpers.h"
#include "platform/RuntimeError.h"
#include "platform/db/Database.h"
#include "platform/db/Recordset.h"
#include "platform/ui/MsgBox.h"
#include "platform/ui/Twips.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>

namespace {

const QString CommSettingsType = QStringLiteral("COMMSETTINGS");
constexpr int PortCount = 9;

std::unique_ptr<platform::Recordset> openCommSettings(const QString &missing)
{
    gSql = settingsRowQuery(CommSettingsType);
    std::unique_ptr<platform::Recordset> settings = gDb->openRecordset(gSql);
    if (settings->recordCount() <= 0)
        throw platform::RuntimeError(platform::err::NoCurrentRecord, missing);
    settings->moveFirst();
    return settings;
}

void showError(const QString &description)
{
    platform::MsgBox(description, platform::vbExclamation, QStringLiteral("Error"));
}

} // namespace

CommSettingsForm::CommSettingsForm()
{
    setObjectName(QStringLiteral("CommSettingsForm"));
    setWindowTitle(QStringLiteral("Modem Communications Settings"));
    platform::setClientSizeTwips(this, 4950, 3105);
    setDialogBorder(true);

    lblCommPort = new QLabel(QStringLiteral("Comm Port"), this);
    lblCommPort->setObjectName(QStringLiteral("lblCommPort"));
    platform::setGeometryTwips(lblCommPort, 240, 120, 1455, 255);
    lbCommPort = new QListWidget(this);
    lbCommPort->setObjectName(QStringLiteral("lbCommPort"));
    platform::setGeometryTwips(lbCommPort, 240, 420, 1455, 2085);

    Label1 = new QLabel(QStringLiteral("Dialing Prefix"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    platform::setGeometryTwips(Label1, 2040, 120, 2655, 255);
    txtDialingPrefix = new QLineEdit(this);
    txtDialingPrefix->setObjectName(QStringLiteral("txtDialingPrefix"));
    platform::setGeometryTwips(txtDialingPrefix, 2040, 420, 2655, 315);
    lblCommPort->setBuddy(lbCommPort);
    Label1->setBuddy(txtDialingPrefix);

    cmdSave = new QPushButton(QStringLiteral("&Save Settings and Exit"), this);
    cmdSave->setObjectName(QStringLiteral("cmdSave"));
    platform::setGeometryTwips(cmdSave, 2040, 1320, 2655, 495);
    cmdCancel = new QPushButton(QStringLiteral("&Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    platform::setGeometryTwips(cmdCancel, 2040, 2010, 2655, 495);

    connect(cmdSave, &QPushButton::clicked, this, &CommSettingsForm::cmdSave_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &CommSettingsForm::cmdCancel_Click);
    setCancelButton(cmdCancel);
    setTabOrder(lbCommPort, txtDialingPrefix);
    setTabOrder(txtDialingPrefix, cmdSave);
    setTabOrder(cmdSave, cmdCancel);
}

void CommSettingsForm::open()
{
    QPointer<CommSettingsForm> form = new CommSettingsForm;
    form->load();
    if (!form->isUnloaded())
        form->showModal();
    if (form)
        form->deleteLater();
}

void CommSettingsForm::Form_Load()
{
    platform::centerWindowOnScreen(this);
    for (int port = 1; port <= PortCount; ++port)
        lbCommPort->addItem(QStringLiteral("COM%1").arg(port));
    lbCommPort->setCurrentRow(-1);
    try {
        std::unique_ptr<platform::Recordset> settings = openCommSettings(
            QStringLiteral("The modem settings are missing from this database."));
        const QString name = NullToString(settings->value(QStringLiteral("Name"))).toString();
        const int index = name.isEmpty() ? -1 : name.right(1).toInt() - 1;
        if (index >= 0 && index < PortCount)
            lbCommPort->setCurrentRow(index);
        txtDialingPrefix->setText(NullToString(settings->value(QStringLiteral("Setting1"))).toString());
    } catch (const platform::RuntimeError &error) {
        showError(error.description());
    }
}

void CommSettingsForm::cmdSave_Click()
{
    QListWidgetItem *chosen = lbCommPort->currentItem();
    if (chosen && chosen->isSelected()) {
        try {
            std::unique_ptr<platform::Recordset> settings = openCommSettings(
                QStringLiteral("The modem settings are missing from this database, so nothing was saved."));
            settings->edit();
            settings->setValue(QStringLiteral("Name"), chosen->text());
            settings->setValue(QStringLiteral("Setting1"), txtDialingPrefix->text());
            settings->update();
        } catch (const platform::RuntimeError &error) {
            // Stay open, so the user sees the choice was not kept.
            showError(error.description());
            return;
        }
    }
    unload();
}

void CommSettingsForm::cmdCancel_Click()
{
    unload();
}

#include "printing/ReturnAddress.h"

#include "helpers/DatabaseState.h"
#include "helpers/SettingsRow.h"
#include "helpers/ValueHelpers.h"

#include "platform/RuntimeError.h"
#include "platform/db/Database.h"
#include "platform/db/Recordset.h"
#include "platform/ui/ClassicFont.h"
#include "platform/ui/MsgBox.h"
#include "platform/ui/Twips.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {

// The boxes of one group in the order of their row's fields Setting1 to Setting7.
const char *const AddressFields[] = {"Address1", "Address2", "Address3", "City", "State", "PostalCode", "Country"};
constexpr int DescriptionLength = 25;
// The second group stands this much lower than the first.
constexpr int GroupOffset = 1890;
// Tops of the rows of the first address group, in twips; the boxes and their labels share them.
constexpr int DescriptionTop = 1065;
constexpr int AddressLineTops[] = {1290, 1575, 1860};
constexpr int CityLineTop = 2145;
constexpr int CountryLineTop = 2415;

std::unique_ptr<platform::Recordset> openRow(const QString &type)
{
    gSql = settingsRowQuery(type);
    std::unique_ptr<platform::Recordset> rs = gDb->openRecordset(gSql);
    if (rs->recordCount() <= 0)
        throw platform::RuntimeError(platform::err::NoCurrentRecord,
                                     QStringLiteral("The settings row %1 is missing from this database.").arg(type));
    rs->moveFirst();
    return rs;
}

QString groupType(int row)
{
    return QStringLiteral("RETURNADDRESS%1").arg(row);
}

void showError(const platform::RuntimeError &error)
{
    platform::MsgBox(error.description(), platform::vbCritical, QStringLiteral("Error"));
}

} // namespace

ReturnAddress::ReturnAddress()
{
    setObjectName(QStringLiteral("ReturnAddress"));
    setWindowTitle(QStringLiteral("Return Address"));
    setFont(platform::classicFont(QStringLiteral("MS Sans Serif"), 8));
    platform::setClientSizeTwips(this, 7368, 5904);
    setDialogBorder(true);

    Frame1 = new QGroupBox(QStringLiteral("Choose the address to print on envelopes:"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    platform::setGeometryTwips(Frame1, 465, 180, 6405, 720);
    rbFirst = new QRadioButton(QStringLiteral("First Return Address"), Frame1);
    rbFirst->setObjectName(QStringLiteral("rbFirst"));
    platform::setGeometryTwips(rbFirst, 210, 375, 2205, 240);
    rbSecond = new QRadioButton(QStringLiteral("Second Return Address"), Frame1);
    rbSecond->setObjectName(QStringLiteral("rbSecond"));
    platform::setGeometryTwips(rbSecond, 2595, 375, 2400, 240);
    rbNone = new QRadioButton(QStringLiteral("None"), Frame1);
    rbNone->setObjectName(QStringLiteral("rbNone"));
    platform::setGeometryTwips(rbNone, 5280, 360, 870, 240);

    QList<QWidget *> tabOrder{rbFirst, rbSecond, rbNone};
    QList<QLineEdit *> descriptions;
    for (int row = 1; row <= 2; ++row) {
        const QString group = row == 1 ? QStringLiteral("First") : QStringLiteral("Second");
        const int down = (row - 1) * GroupOffset;
        const int left = row == 1 ? 2265 : 2280;
        QLineEdit *description = addBox(QStringLiteral("txt%1_Address_Desc").arg(group), left,
                                        DescriptionTop + down, row == 1 ? 1935 : 2250, 225);
        description->setMaxLength(DescriptionLength);
        description->setText(group + QStringLiteral(" Return Address"));
        QPalette dark = description->palette();
        dark.setColor(QPalette::Text, QColor(0, 0, 128));
        description->setPalette(dark);
        descriptions << description;
        for (int i = 0; i < 3; ++i)
            tabOrder << addBox(QStringLiteral("txt%1_%2").arg(group, QLatin1String(AddressFields[i])), left,
                               AddressLineTops[i] + down, 3555, 300);
        const int cityTop = CityLineTop + down;
        tabOrder << addBox(QStringLiteral("txt%1_City").arg(group), left, cityTop, 1785, 300);
        tabOrder << addBox(QStringLiteral("txt%1_State").arg(group), left + 1770, cityTop, 885, 300);
        tabOrder << addBox(QStringLiteral("txt%1_PostalCode").arg(group), left + 2640, cityTop, 915, 300);
        tabOrder << addBox(QStringLiteral("txt%1_Country").arg(group), left, CountryLineTop + down, 3555,
                           300);
        const struct {
            const char *name;
            const char *caption;
            int top;
        } labels[] = {{"Address1", "Address 1", AddressLineTops[0]},
                      {"Address2", "Address 2", AddressLineTops[1]},
                      {"Address3", "Address 3", AddressLineTops[2]},
                      {"City", "City State Zip", CityLineTop},
                      {"Country", "Country", CountryLineTop}};
        for (const auto &l : labels) {
            auto *label = new QLabel(QString::fromLatin1(l.caption), this);
            label->setObjectName(QStringLiteral("lbl%1_%2").arg(group, QLatin1String(l.name)));
            label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            platform::setGeometryTwips(label, 465, l.top + down, left - 585, 300);
        }
    }
    connect(descriptions[0], &QLineEdit::textChanged, rbFirst, &QRadioButton::setText);
    connect(descriptions[1], &QLineEdit::textChanged, rbSecond, &QRadioButton::setText);

    cmdSave = new QPushButton(QStringLiteral("&Save and Exit"), this);
    cmdSave->setObjectName(QStringLiteral("cmdSave"));
    platform::setGeometryTwips(cmdSave, 2205, 4815, 1605, 315);
    cmdCancel = new QPushButton(QStringLiteral("&Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    platform::setGeometryTwips(cmdCancel, 3930, 4815, 1605, 315);
    tabOrder << cmdSave << cmdCancel << descriptions[0] << descriptions[1];
    for (int i = 1; i < tabOrder.size(); ++i)
        setTabOrder(tabOrder[i - 1], tabOrder[i]);

    connect(cmdSave, &QPushButton::clicked, this, &ReturnAddress::cmdSave_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &ReturnAddress::cmdCancel_Click);
    setCancelButton(cmdCancel);
}

QLineEdit *ReturnAddress::addBox(const QString &name, int left, int top, int width, int height)
{
    auto *box = new QLineEdit(this);
    box->setObjectName(name);
    platform::setGeometryTwips(box, left, top, width, height);
    return box;
}

void ReturnAddress::showFromMenu()
{
    QPointer<ReturnAddress> form = new ReturnAddress;
    form->load();
    if (!form->isUnloaded())
        form->showModal();
    if (form)
        form->deleteLater();
}

ReturnAddress *ReturnAddress::showFromEnvelope(QWidget *envelopeWindow)
{
    auto *form = new ReturnAddress;
    form->mEnvelopeWindow = envelopeWindow;
    connect(form, &platform::Form::wasUnloaded, form, &QObject::deleteLater);
    form->load();
    if (envelopeWindow)
        envelopeWindow->setEnabled(false);
    form->showModeless();
    return form;
}

int ReturnAddress::choiceFrom(const QString &stored)
{
    const QString choice = Trim(stored);
    return choice == QLatin1String("1") ? 1 : choice == QLatin1String("2") ? 2 : 0;
}

void ReturnAddress::Form_Load()
{
    platform::centerWindowOnScreen(this);
    try {
        const int choice =
            choiceFrom(NullToString(openRow(QStringLiteral("RETURNADDRESSCHOICE"))->value(QStringLiteral("Name")))
                           .toString());
        (choice == 1 ? rbFirst : choice == 2 ? rbSecond : rbNone)->setChecked(true);
        fillGroup(QStringLiteral("First"), 1);
        fillGroup(QStringLiteral("Second"), 2);
    } catch (const platform::RuntimeError &error) {
        showError(error);
    }
}

void ReturnAddress::fillGroup(const QString &group, int row)
{
    std::unique_ptr<platform::Recordset> rs = openRow(groupType(row));
    findChild<QLineEdit *>(QStringLiteral("txt%1_Address_Desc").arg(group))
        ->setText(NullToString(rs->value(QStringLiteral("Name"))).toString());
    for (int i = 0; i < 7; ++i)
        findChild<QLineEdit *>(QStringLiteral("txt%1_%2").arg(group, QLatin1String(AddressFields[i])))
            ->setText(NullToString(rs->value(QStringLiteral("Setting%1").arg(i + 1))).toString());
}

void ReturnAddress::saveGroup(const QString &group, int row)
{
    std::unique_ptr<platform::Recordset> rs = openRow(groupType(row));
    rs->edit();
    rs->setValue(QStringLiteral("Name"),
                 findChild<QLineEdit *>(QStringLiteral("txt%1_Address_Desc").arg(group))->text());
    for (int i = 0; i < 7; ++i)
        rs->setValue(QStringLiteral("Setting%1").arg(i + 1),
                     findChild<QLineEdit *>(QStringLiteral("txt%1_%2").arg(group, QLatin1String(AddressFields[i])))
                         ->text());
    rs->update();
}

void ReturnAddress::cmdSave_Click()
{
    // All three rows or none: a missing row leaves the others as they were.
    gDb->beginTrans();
    try {
        std::unique_ptr<platform::Recordset> choice = openRow(QStringLiteral("RETURNADDRESSCHOICE"));
        choice->edit();
        choice->setValue(QStringLiteral("Name"), rbFirst->isChecked()    ? QStringLiteral("1")
                                                 : rbSecond->isChecked() ? QStringLiteral("2")
                                                                         : QStringLiteral("3"));
        choice->update();
        choice.reset();
        saveGroup(QStringLiteral("First"), 1);
        saveGroup(QStringLiteral("Second"), 2);
        gDb->commitTrans();
    } catch (const platform::RuntimeError &error) {
        try {
            gDb->rollback();
        } catch (const platform::RuntimeError &) {
        }
        showError(error);
        return;
    }
    unload();
}

void ReturnAddress::cmdCancel_Click()
{
    unload();
}

void ReturnAddress::Form_Unload(bool &cancel)
{
    Q_UNUSED(cancel);
    if (mEnvelopeWindow)
        mEnvelopeWindow->setEnabled(true);
}

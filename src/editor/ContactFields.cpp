#include "editor/ContactFields.h"

#include "helpers/SettingsRow.h"
#include "helpers/ValueHelpers.h"
#include "platform/base/DateText.h"
#include "platform/db/Database.h"
#include "platform/db/Recordset.h"

#include <QHash>

namespace {

QStringList addressFields(const QString &prefix)
{
    QStringList fields;
    for (const char *part :
         {"Address_Desc", "Address1", "Address2", "Address3", "City", "State", "PostalCode", "Country"})
        fields << prefix + QString::fromLatin1(part);
    return fields;
}

QStringList numbered(const QString &pattern, int count)
{
    QStringList fields;
    for (int n = 1; n <= count; ++n)
        fields << pattern.arg(n);
    return fields;
}

// Every field but the phones, pictures and the three that close each list.
QStringList buildOrder(bool forSave)
{
    QStringList fields = {QStringLiteral("FirstName"), QStringLiteral("MiddleName"),
                          QStringLiteral("LastName"), QStringLiteral("Organization")};
    fields << addressFields(QStringLiteral("First_"));
    fields << QStringLiteral("Prefix") << QStringLiteral("Suffix") << QStringLiteral("Nickname")
           << QStringLiteral("Title") << QStringLiteral("AddressForLabels");
    fields << addressFields(QStringLiteral("Second_"));
    for (int n = 1; n <= 6; ++n) {
        const QString phone = QStringLiteral("Phone%1").arg(n);
        const QString desc = phone + QStringLiteral("_Desc");
        if (forSave)
            fields << desc << phone;
        else
            fields << phone << desc;
    }
    for (int n = 1; n <= 5; ++n)
        fields << QStringLiteral("Date%1").arg(n) << QStringLiteral("Date%1_Desc").arg(n);
    fields << QStringLiteral("Email_Address");
    for (int n = 1; n <= 3; ++n)
        fields << QStringLiteral("UserField%1_Desc").arg(n) << QStringLiteral("UserField%1").arg(n);
    fields << QStringLiteral("Code") << QStringLiteral("DateUpdated");
    if (forSave) {
        fields << QStringLiteral("Notes") << QStringLiteral("PrintNotes");
        fields << numbered(QStringLiteral("PicturePath%1"), 8);
    } else {
        fields << numbered(QStringLiteral("PicturePath%1"), 8);
        fields << QStringLiteral("Notes") << QStringLiteral("PrintNotes");
    }
    return fields;
}

} // namespace

const QStringList &saveOrder()
{
    static const QStringList order = buildOrder(true);
    return order;
}

const QStringList &loadOrder()
{
    static const QStringList order = buildOrder(false);
    return order;
}

bool isPictureField(const QString &field)
{
    return field.startsWith(QLatin1String("PicturePath"));
}

bool isDateField(const QString &field)
{
    return field.size() == 5 && field.startsWith(QLatin1String("Date"));
}

QString boxNameOf(const QString &field)
{
    if (isPictureField(field))
        return QStringLiteral("txtPic") + field.mid(11) + QStringLiteral("File");
    return QStringLiteral("txt") + field;
}

int designMaxLength(const QString &boxName)
{
    static const QHash<QString, int> limits = [] {
        QHash<QString, int> l;
        for (const char *name : {"txtFirstName", "txtMiddleName", "txtLastName", "txtOrganization",
                                 "txtEmail_Address", "txtUserField1", "txtUserField2", "txtUserField3"})
            l.insert(QString::fromLatin1(name), 255);
        l.insert(QStringLiteral("txtPrefix"), 50);
        l.insert(QStringLiteral("txtSuffix"), 20);
        l.insert(QStringLiteral("txtNickname"), 25);
        l.insert(QStringLiteral("txtTitle"), 30);
        l.insert(QStringLiteral("txtCode"), 20);
        for (const QString &prefix : {QStringLiteral("txtFirst_"), QStringLiteral("txtSecond_")}) {
            for (const char *part : {"Address1", "Address2", "Address3", "City", "Country"})
                l.insert(prefix + QString::fromLatin1(part), 50);
            l.insert(prefix + QStringLiteral("State"), 25);
            l.insert(prefix + QStringLiteral("PostalCode"), 20);
            l.insert(prefix + QStringLiteral("Address_Desc"), 25);
        }
        for (int n = 1; n <= 6; ++n) {
            l.insert(QStringLiteral("txtPhone%1").arg(n), 30);
            l.insert(QStringLiteral("txtPhone%1_Desc").arg(n), 20);
        }
        for (int n = 1; n <= 5; ++n)
            l.insert(QStringLiteral("txtDate%1_Desc").arg(n), 25);
        for (int n = 1; n <= 3; ++n)
            l.insert(QStringLiteral("txtUserField%1_Desc").arg(n), 25);
        return l;
    }();
    return limits.value(boxName, 0);
}

const QList<QPair<QString, int>> &shortLimits()
{
    static const QList<QPair<QString, int>> limits = {
        {QStringLiteral("txtUserField1"), 50}, {QStringLiteral("txtUserField2"), 50},
        {QStringLiteral("txtUserField3"), 50}, {QStringLiteral("txtEmail_Address"), 50},
        {QStringLiteral("txtLastName"), 40},   {QStringLiteral("txtMiddleName"), 25},
        {QStringLiteral("txtFirstName"), 40},  {QStringLiteral("txtOrganization"), 60}};
    return limits;
}

QString fieldText(const QVariant &value)
{
    const QVariant v = NullToString(value);
    if (v.typeId() == QMetaType::QDateTime)
        return platform::generalDateText(v.toDateTime());
    if (v.typeId() == QMetaType::QDate)
        return platform::shortDateText(v.toDate());
    return v.toString();
}

void writeTemplateSetting(platform::Database &db, qint64 recordId)
{
    std::unique_ptr<platform::Recordset> rs =
        db.openRecordset(settingsRowQuery(QStringLiteral("TEMPLATE RecordID")));
    if (rs->recordCount() == 0)
        rs->addNew();
    else
        rs->edit();
    rs->setValue(QStringLiteral("Type"), QStringLiteral("TEMPLATE RecordID"));
    rs->setValue(QStringLiteral("Name"), QString::number(recordId));
    rs->update();
    rs->close();
}

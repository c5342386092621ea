#include "editor/FieldRules.h"

#include "helpers/ValueHelpers.h"
#include "platform/base/DateText.h"

#include <QRegularExpression>

bool isWordCapitalBox(const QString &boxName)
{
    static const QStringList boxes = {
        QStringLiteral("txtPrefix"),          QStringLiteral("txtFirstName"),
        QStringLiteral("txtMiddleName"),      QStringLiteral("txtLastName"),
        QStringLiteral("txtSuffix"),          QStringLiteral("txtNickname"),
        QStringLiteral("txtTitle"),           QStringLiteral("txtOrganization"),
        QStringLiteral("txtFirst_Address1"),  QStringLiteral("txtFirst_Address2"),
        QStringLiteral("txtFirst_Address3"),  QStringLiteral("txtFirst_City"),
        QStringLiteral("txtFirst_Country"),   QStringLiteral("txtSecond_Address1"),
        QStringLiteral("txtSecond_Address2"), QStringLiteral("txtSecond_Address3"),
        QStringLiteral("txtSecond_City"),     QStringLiteral("txtSecond_Country")};
    return boxes.contains(boxName);
}

bool isStateBox(const QString &boxName)
{
    return boxName == QLatin1String("txtFirst_State") || boxName == QLatin1String("txtSecond_State");
}

static bool isSmallLetter(int keyAscii)
{
    return keyAscii >= 'a' && keyAscii <= 'z';
}

int wordStartKey(const QString &boxText, int keyAscii)
{
    if (!isSmallLetter(keyAscii))
        return keyAscii;
    if (boxText.isEmpty() || boxText.endsWith(QLatin1Char(' ')))
        return keyAscii - ('a' - 'A');
    return keyAscii;
}

int stateKey(int keyAscii)
{
    return isSmallLetter(keyAscii) ? keyAscii - ('a' - 'A') : keyAscii;
}

int dateBoxNumber(const QString &boxName)
{
    static const QRegularExpression pattern(QStringLiteral("^txtDate([1-5])$"));
    const QRegularExpressionMatch match = pattern.match(boxName);
    return match.hasMatch() ? match.captured(1).toInt() : 0;
}

bool isDateText(const QString &text)
{
    return platform::parseDateText(text).isValid();
}

bool isLinkBox(const QString &boxName)
{
    return boxName == QLatin1String("txtEmail_Address") || boxName == QLatin1String("txtCode") ||
           boxName == QLatin1String("txtUserField1") || boxName == QLatin1String("txtUserField2") ||
           boxName == QLatin1String("txtUserField3");
}

LinkTarget linkTargetOf(const QString &linkText)
{
    if (linkText.contains(QLatin1Char('@')))
        return {LinkTarget::Mail, QStringLiteral("mailto:") + linkText};
    if (!linkText.contains(QLatin1Char('.')))
        return {};
    const QString lower = linkText.toLower();
    if (lower.startsWith(QLatin1String("http://")) || lower.startsWith(QLatin1String("https://")))
        return {LinkTarget::Web, linkText};
    return {LinkTarget::Web, QStringLiteral("http://") + linkText};
}

bool contactHasNoName(const QString &lastName, const QString &firstName, const QString &organization)
{
    auto blank = [](const QString &text) {
        for (QChar c : text) {
            if (c != QLatin1Char(' '))
                return false;
        }
        return true;
    };
    return blank(lastName) && blank(firstName) && blank(organization);
}

QString deleteConfirmationName(const QVariant &first, const QVariant &middle, const QVariant &last,
                               const QVariant &organization)
{
    const QString text = NullToString(first).toString() + QLatin1Char(' ') + NullToString(middle).toString() +
                         QLatin1Char(' ') + NullToString(last).toString() + QStringLiteral("  ") +
                         NullToString(organization).toString();
    return Trim(text);
}

qint64 categoryNumberOf(const QString &categoryClause)
{
    if (categoryClause.isEmpty())
        return -1;
    const qsizetype at = categoryClause.indexOf(QLatin1Char('='));
    if (at < 0)
        return -1;
    bool ok = false;
    const qint64 number = Trim(categoryClause.mid(at + 1)).toLongLong(&ok);
    return ok ? number : -1;
}

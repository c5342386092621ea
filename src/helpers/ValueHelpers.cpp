#include "helpers/ValueHelpers.h"

#include <QComboBox>

bool IsNull(const QVariant &value)
{
    return !value.isValid() || value.isNull();
}

QVariant NullToString(const QVariant &value)
{
    return IsNull(value) ? QVariant(QString()) : value;
}

QVariant EmptyToNull(const QVariant &value)
{
    if (IsNull(value))
        return QVariant();
    if (value.typeId() == QMetaType::QString && value.toString().isEmpty())
        return QVariant();
    return value;
}

QVariant NullToZero(const QVariant &value)
{
    return IsNull(value) ? QVariant::fromValue<qint16>(0) : value;
}

void ReplaceAll(QString &target, const QString &find, const QString &replacement)
{
    if (find.isEmpty())
        return;
    qsizetype from = 0;
    for (;;) {
        const qsizetype at = target.indexOf(find, from, Qt::CaseSensitive);
        if (at < 0)
            return;
        target.replace(at, find.size(), replacement);
        from = at + replacement.size();
    }
}

QString LTrim(const QString &text)
{
    qsizetype first = 0;
    while (first < text.size() && text.at(first) == QLatin1Char(' '))
        ++first;
    return text.mid(first);
}

QString RTrim(const QString &text)
{
    qsizetype last = text.size();
    while (last > 0 && text.at(last - 1) == QLatin1Char(' '))
        --last;
    return text.left(last);
}

QString Trim(const QString &text)
{
    return LTrim(RTrim(text));
}

QString listed(QStringList items)
{
    const QString last = items.takeLast();
    return items.isEmpty() ? last : items.join(QStringLiteral(", ")) + QStringLiteral(" and ") + last;
}

void ShowComboDropDown(QComboBox *combo)
{
    if (combo && combo->count() > 0)
        combo->showPopup();
}

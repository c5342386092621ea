#include "addressbooks/BookBlock.h"

#include "printing/ContactLines.h"
#include "printing/DisplayedRecords.h"
#include "printing/GLOBAL.h"
#include "printing/PrintText.h"

#include "helpers/ValueHelpers.h"

#include <QVariant>

namespace {

// Every field of a book is printed set apart in its own direction, on its one row.
QString field(const QString &value)
{
    return JoinedField(value, FieldJoin::IsolatedLine);
}

// "label  value" for a field and its label field, both without trailing blanks.
QString labelled(DisplayedRecords &r, const QString &labelField, const QString &value)
{
    return field(RTrim(FieldText(r, labelField))) + QStringLiteral("  ") + field(RTrim(value));
}

// Fills the six slotList of an address from the set whose fields start with prefix and
// returns its line count.
int fillAddress(DisplayedRecords &r, const QString &prefix, std::array<QString, 6> &slotList)
{
    const auto value = [&](const char *name) { return FieldText(r, prefix + QLatin1String(name)); };
    const QString description = value("Address_Desc");
    const std::array<QString, 6> items{
        field(description),
        field(value("Address1")),
        field(value("Address2")),
        field(value("Address3")),
        CityLine(value("City"), value("State"), value("PostalCode"), FieldJoin::IsolatedLine),
        field(RTrim(value("Country")))};
    std::size_t index = 0;
    for (const QString &item : items) {
        if (index >= slotList.size())
            break;
        slotList[index] = item;
        if (IsNonBlank(item))
            ++index;
    }
    // A description without an address under it is not worth a line of its own.
    if (index == 1 && IsNonBlank(description))
        slotList[0].clear();
    return static_cast<int>(index);
}

QStringList phoneItems(DisplayedRecords &r)
{
    QStringList items;
    for (int n = 1; n <= 6; ++n) {
        const QString phone = FieldText(r, QStringLiteral("Phone%1").arg(n));
        if (IsNonBlank(phone))
            items << labelled(r, QStringLiteral("Phone%1_Desc").arg(n), phone);
    }
    return items;
}

QStringList dateItems(DisplayedRecords &r)
{
    QStringList items;
    for (int n = 1; n <= 5; ++n) {
        const QString date = FieldText(r, QStringLiteral("Date%1").arg(n));
        if (IsNonBlank(date))
            items << labelled(r, QStringLiteral("Date%1_Desc").arg(n), date);
    }
    return items;
}

// E-mail, the three user fields and the code, as far as they are filled.
QStringList furtherItems(DisplayedRecords &r, BookSize size)
{
    QStringList items;
    const QString email = FieldText(r, QStringLiteral("Email_Address"));
    if (IsNonBlank(email))
        items << (size == BookSize::FullSize ? QStringLiteral("Email Address  ") : QStringLiteral("Email ")) +
                     field(RTrim(email));
    for (int n = 1; n <= 3; ++n) {
        const QString value = FieldText(r, QStringLiteral("UserField%1").arg(n));
        if (IsNonBlank(value))
            items << labelled(r, QStringLiteral("UserField%1_Desc").arg(n), value);
    }
    const QString code = FieldText(r, QStringLiteral("Code"));
    if (IsNonBlank(code))
        items << QStringLiteral("Codes  ") + field(RTrim(code));
    return items;
}

} // namespace

int PairedRows(int items)
{
    return items <= 2 ? items : (items + 1) / 2;
}

int NoteWrapWidth(BookSize Size)
{
    return Size == BookSize::FullSize ? 8000 : 5400;
}

int BookBlock::reservation(BookSize size) const
{
    int lines = fullNameNonBlank ? 2 : 1;
    lines += std::max(labelAddressCount, otherAddressCount);
    lines += PairedRows(static_cast<int>(phones.size()));
    if (size == BookSize::FullSize) {
        lines += PairedRows(static_cast<int>(further.size()));
    } else {
        lines += (static_cast<int>(dates.size()) + 1) / 2;
        lines += static_cast<int>(further.size());
    }
    return lines + static_cast<int>(noteLines.size());
}

BookBlock BuildBookBlock(DisplayedRecords &Records, BookSize Size, const platform::PrintFont &NoteFont)
{
    BookBlock block;
    const QString fullName = ContactNameLine(Records, FieldJoin::IsolatedLine);
    block.fullNameNonBlank = IsNonBlank(fullName);
    block.names[0] = fullName;
    block.names[block.fullNameNonBlank ? 1 : 0] = field(FieldText(Records, QStringLiteral("Organization")));

    const QString labelSet = LabelAddressSet(Records);
    const QString otherSet = labelSet == QLatin1String("First_") ? QStringLiteral("Second_") : QStringLiteral("First_");
    block.labelAddressCount = fillAddress(Records, labelSet, block.labelAddress);
    block.otherAddressCount = fillAddress(Records, otherSet, block.otherAddress);

    block.phones = phoneItems(Records);
    if (Size == BookSize::FullSize) {
        block.further = dateItems(Records) + furtherItems(Records, Size);
    } else {
        block.dates = dateItems(Records);
        block.further = furtherItems(Records, Size);
    }

    if (NotesPrint(Records)) {
        // The notes wrap over lines of their own, their line ends kept.
        gPrinting.gPrintTextBuffer =
            JoinedField(Trim(FieldText(Records, QStringLiteral("Notes"))), FieldJoin::Isolated);
        while (!gPrinting.gPrintTextBuffer.isEmpty() && block.noteLines.size() < NoteLinesPrinted)
            block.noteLines << GetNextPrintLine(gPrinting.gPrintTextBuffer, NoteWrapWidth(Size), NoteFont);
    }
    return block;
}

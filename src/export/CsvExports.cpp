#include "export/CsvExports.h"

#include "export/ExportFile.h"
#include "export/ExportFrame.h"
#include "printing/ContactLines.h"
#include "printing/DisplayedRecords.h"
#include "printing/PrintText.h"

#include "helpers/ValueHelpers.h"
#include "platform/base/DateText.h"

#include <QDateTime>
#include <array>
#include <vector>

namespace {

const QString TextFilter = QStringLiteral("All Files (*.*)|*.*|Text Files & (*.txt)|*.txt");
const QString TextFileName = QStringLiteral("NameOut.txt");
const QString RecordsLocated = QStringLiteral("The exported records are located in file ");

// One line of the file, written value by value.
class CsvLine {
  public:
    explicit CsvLine(ExportFile &file) : mFile(file) {}
    CsvLine(const CsvLine &) = delete;
    CsvLine &operator=(const CsvLine &) = delete;

    void add(QStringView value)
    {
        mFile.write(mFirst ? QByteArrayView("\"") : QByteArrayView("\",\""));
        mFirst = false;
        mFile.write(value);
    }
    void addDate(QStringView value)
    {
        add(QStringView());
        mFile.writeDate(value);
    }
    void end()
    {
        if (!mFirst)
            mFile.write(QByteArrayView("\""));
        mFile.endLine();
    }

  private:
    ExportFile &mFile;
    bool mFirst = true;
};

void writeNames(ExportFile &file, std::initializer_list<QString> names)
{
    CsvLine line(file);
    for (const QString &name : names)
        line.add(name);
    line.end();
}

// The field's text, trimmed, with an apostrophe for each double quote.
template <typename Field> QString exportValue(DisplayedRecords &r, const Field &field)
{
    QString value = Trim(FieldText(r, field));
    ReplaceAll(value, QStringLiteral("\""), QStringLiteral("'"));
    return value;
}

// The date alone, in the system's short date; empty for Null. A stored text that is no
// date stays as it is, trimmed.
QString shortDateValue(DisplayedRecords &r, int field, bool *isDate)
{
    const QVariant value = r.valueAt(field);
    *isDate = true;
    if (value.typeId() == QMetaType::QDateTime || value.typeId() == QMetaType::QDate)
        return platform::shortDateText(value.toDateTime().date());
    const QString text = Trim(FieldText(r, field));
    const QDateTime date = platform::parseDateText(text);
    *isDate = date.isValid();
    return date.isValid() ? platform::shortDateText(date.date()) : text;
}

enum class Rule {
    Value,        // the value rules
    LabelAddress, // the value rules, on the field of the label address set
    DateOnly,     // the short date, no quote replacement
    Date,         // the date as the platform turns it into text, no quote replacement
};

struct Column {
    QString name;
    Rule rule;
    QString field; // for LabelAddress, the field of the set without its prefix
    // The field's number in the records, and the second set's for LabelAddress.
    int index = -1;
    int secondIndex = -1;
};

const std::vector<Column> &csvColumns()
{
    static const std::vector<Column> columns = [] {
        std::vector<Column> c;
        const auto value = [&](const char *name) {
            c.push_back({QLatin1String(name), Rule::Value, QLatin1String(name)});
        };
        for (const char *name : {"Prefix", "FirstName", "MiddleName", "LastName", "Suffix", "Organization"})
            value(name);
        for (const char *name :
             {"Address1", "Address2", "Address3", "City", "State", "PostalCode", "Country"})
            c.push_back({QLatin1String(name), Rule::LabelAddress, QLatin1String(name)});
        for (int n = 1; n <= 6; ++n) {
            value(qPrintable(QStringLiteral("Phone%1_Desc").arg(n)));
            value(qPrintable(QStringLiteral("Phone%1").arg(n)));
        }
        c.push_back(
            {QStringLiteral("Date Record Last Updated"), Rule::DateOnly, QStringLiteral("DateUpdated")});
        for (int n = 1; n <= 5; ++n) {
            value(qPrintable(QStringLiteral("Date%1_Desc").arg(n)));
            const QString date = QStringLiteral("Date%1").arg(n);
            c.push_back({date, Rule::Date, date});
        }
        value("Email_Address");
        for (int n = 1; n <= 3; ++n) {
            value(qPrintable(QStringLiteral("UserField%1_Desc").arg(n)));
            value(qPrintable(QStringLiteral("UserField%1").arg(n)));
        }
        for (const char *name : {"Code", "Nickname", "Title"})
            value(name);
        return c;
    }();
    return columns;
}

const Column NotesColumn{QStringLiteral("Notes"), Rule::Value, QStringLiteral("Notes")};

void addColumn(CsvLine &line, DisplayedRecords &r, const Column &column, bool second)
{
    switch (column.rule) {
    case Rule::Value:
        line.add(exportValue(r, column.index));
        return;
    case Rule::LabelAddress:
        line.add(exportValue(r, second ? column.secondIndex : column.index));
        return;
    case Rule::DateOnly: {
        bool isDate = false;
        const QString text = shortDateValue(r, column.index, &isDate);
        if (isDate)
            line.addDate(text);
        else
            line.add(text);
        return;
    }
    case Rule::Date: {
        const QString text = Trim(FieldText(r, column.index));
        const int type = r.valueAt(column.index).typeId();
        if (type == QMetaType::QDateTime || type == QMetaType::QDate)
            line.addDate(text);
        else
            line.add(text);
        return;
    }
    }
}

// Every record is read through the same fields, looked up once.
void resolve(DisplayedRecords &r, std::vector<Column> &columns, int &addressForLabels)
{
    addressForLabels = r.fieldIndex(QStringLiteral("AddressForLabels"));
    for (Column &column : columns) {
        if (column.rule == Rule::LabelAddress) {
            column.index = r.fieldIndex(QStringLiteral("First_") + column.field);
            column.secondIndex = r.fieldIndex(QStringLiteral("Second_") + column.field);
        } else {
            column.index = r.fieldIndex(column.field);
        }
    }
}

} // namespace

void ExportCsv(DisplayedRecords &Records, platform::CommonDialog &CMDialog1, bool IncludeNotes)
{
    std::vector<Column> columns = csvColumns();
    if (IncludeNotes)
        columns.push_back(NotesColumn);
    ExportPieces pieces;
    pieces.confirmation = QStringLiteral(
        "This feature will export data from all displayed records to a comma-separated-value ASCII text "
        "file.  This file can be used for mail merge with most word processors, or imported into many "
        "spreadsheet or database programs.  Proceed?");
    pieces.filter = TextFilter;
    pieces.defaultFileName = TextFileName;
    pieces.completionWords = RecordsLocated;
    pieces.firstLine = [&](ExportFile &file) {
        CsvLine line(file);
        for (const Column &column : columns)
            line.add(column.name);
        line.end();
    };
    int addressForLabels = -1;
    pieces.contact = [&](DisplayedRecords &r, ExportFile &file) {
        if (addressForLabels < 0)
            resolve(r, columns, addressForLabels);
        const bool second = PicksSecondAddress(r.valueAt(addressForLabels));
        CsvLine line(file);
        for (const Column &column : columns)
            addColumn(line, r, column, second);
        line.end();
    };
    RunExport(Records, CMDialog1, pieces);
}

void ExportEmail(DisplayedRecords &Records, platform::CommonDialog &CMDialog1)
{
    ExportPieces pieces;
    pieces.confirmation =
        QStringLiteral("This feature will export E-mail address, Name, FirstName and LastName "
                       "from all displayed records to a comma-delimited ASCII text file.") +
        QStringLiteral("\r\n\r\nProceed?");
    pieces.filter = TextFilter;
    pieces.defaultFileName = TextFileName;
    pieces.completionWords = RecordsLocated;
    pieces.firstLine = [](ExportFile &file) {
        writeNames(file, {QStringLiteral("Name"), QStringLiteral("FirstName"), QStringLiteral("LastName"),
                          QStringLiteral("Email_Address")});
    };
    pieces.contact = [](DisplayedRecords &r, ExportFile &file) {
        const QString email = exportValue(r, QStringLiteral("Email_Address"));
        if (!email.contains(u'@') || !email.contains(u'.'))
            return;
        QString name = Trim(Trim(FieldText(r, QStringLiteral("FirstName"))) + QStringLiteral(" ") +
                            Trim(FieldText(r, QStringLiteral("LastName"))));
        ReplaceAll(name, QStringLiteral("\""), QStringLiteral("'"));
        CsvLine line(file);
        line.add(name);
        line.add(exportValue(r, QStringLiteral("FirstName")));
        line.add(exportValue(r, QStringLiteral("LastName")));
        line.add(email);
        line.end();
    };
    RunExport(Records, CMDialog1, pieces);
}

void ExportVistaprint(DisplayedRecords &Records, platform::CommonDialog &CMDialog1)
{
    static const std::array<std::pair<QString, QString>, 12> columns{{
        {QStringLiteral("Salutation"), QStringLiteral("Prefix")},
        {QStringLiteral("First Name"), QStringLiteral("FirstName")},
        {QStringLiteral("Middle"), QStringLiteral("MiddleName")},
        {QStringLiteral("Last Name"), QStringLiteral("LastName")},
        {QStringLiteral("Suffix"), QStringLiteral("Suffix")},
        {QStringLiteral("Title"), QStringLiteral("Title")},
        {QStringLiteral("Company Name"), QStringLiteral("Organization")},
        {QStringLiteral("Address Line 1"), QStringLiteral("First_Address1")},
        {QStringLiteral("Address Line 2"), QStringLiteral("First_Address2")},
        {QStringLiteral("City"), QStringLiteral("First_City")},
        {QStringLiteral("State"), QStringLiteral("First_State")},
        {QStringLiteral("ZIP Code"), QStringLiteral("First_PostalCode")},
    }};
    ExportPieces pieces;
    pieces.confirmation =
        QStringLiteral(
            "This feature will export all displayed records to a CSV file for use with Vistaprint.") +
        QStringLiteral("\r\n\r\nProceed?");
    pieces.filter = QStringLiteral("All Files (*.*)|*.*|csv Files & (*.csv)|*.csv");
    pieces.defaultFileName = QStringLiteral("VistaprintOut.csv");
    pieces.completionWords = RecordsLocated;
    pieces.firstLine = [](ExportFile &file) {
        CsvLine line(file);
        for (const auto &column : columns)
            line.add(column.first);
        line.end();
    };
    pieces.contact = [](DisplayedRecords &r, ExportFile &file) {
        CsvLine line(file);
        for (const auto &column : columns)
            line.add(exportValue(r, column.second));
        line.end();
    };
    RunExport(Records, CMDialog1, pieces);
}

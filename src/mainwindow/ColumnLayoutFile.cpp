#include "mainwindow/ColumnLayoutFile.h"

#include "platform/base/AnsiText.h"
#include "platform/base/FileKind.h"
#include "platform/ui/ProgramFolder.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QSaveFile>

#include <cmath>
#include <optional>

namespace {

constexpr int MaxAlignment = 3;

// One field of a sequential file: text without its quotes, and whether it was quoted.
struct Field {
    QString text;
    bool quoted = false;
};

// Reads fields the way sequential input does: blanks before a field are skipped; a
// quoted field runs to the closing quote (a doubled quote inside stands for one
// quote) and anything after it up to the delimiter is dropped; an unquoted field
// runs to a comma or the end of the line. Fields need not be on one line.
class FieldReader {
  public:
    explicit FieldReader(const QString &text) : mText(text) {}

    std::optional<Field> next()
    {
        while (mPos < mText.size() && (mText[mPos] == QLatin1Char(' ') || mText[mPos] == QLatin1Char('\t'))) {
            ++mPos;
        }
        if (mPos >= mText.size()) {
            return std::nullopt;
        }
        Field field;
        if (mText[mPos] == QLatin1Char('"')) {
            field.quoted = true;
            ++mPos;
            while (mPos < mText.size()) {
                const QChar c = mText[mPos++];
                if (c != QLatin1Char('"')) {
                    field.text.append(c);
                } else if (mPos < mText.size() && mText[mPos] == QLatin1Char('"')) {
                    field.text.append(c);
                    ++mPos;
                } else {
                    break;
                }
            }
            while (mPos < mText.size() && !isDelimiter(mText[mPos])) {
                ++mPos;
            }
        } else {
            const qsizetype start = mPos;
            while (mPos < mText.size() && !isDelimiter(mText[mPos])) {
                ++mPos;
            }
            field.text = mText.mid(start, mPos - start).trimmed();
        }
        skipDelimiter();
        return field;
    }

  private:
    static bool isDelimiter(QChar c)
    {
        return c == QLatin1Char(',') || c == QLatin1Char('\r') || c == QLatin1Char('\n');
    }

    void skipDelimiter()
    {
        if (mPos >= mText.size()) {
            return;
        }
        if (mText[mPos] == QLatin1Char('\r')) {
            ++mPos;
            if (mPos < mText.size() && mText[mPos] == QLatin1Char('\n')) {
                ++mPos;
            }
        } else {
            ++mPos; // a comma or a lone line feed
        }
    }

    QString mText;
    qsizetype mPos = 0;
};

std::optional<double> numberFrom(const QString &text)
{
    bool ok = false;
    const double value = QLocale::c().toDouble(text.trimmed(), &ok);
    if (!ok || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

// An unquoted empty field is "no value", which counts as numeric, as does any text
// that reads as a number: such a caption means the file is not a layout from here on.
bool captionReadsAsNumber(const Field &caption)
{
    if (!caption.quoted && caption.text.isEmpty()) {
        return true;
    }
    return numberFrom(caption.text).has_value();
}

} // namespace

QString ColumnLayoutFile::path()
{
    return QDir(platform::programFolder()).filePath(QStringLiteral("qncolumn.dat"));
}

QList<ColumnLayoutFile::Column> ColumnLayoutFile::read(int maxColumns)
{
    QFile file(path());
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return parse(file.readAll(), maxColumns);
}

QList<ColumnLayoutFile::Column> ColumnLayoutFile::parse(const QByteArray &bytes, int maxColumns)
{
    QList<Column> columns;
    FieldReader reader(platform::fromAnsi(bytes));
    while (columns.size() < maxColumns) {
        const std::optional<Field> caption = reader.next();
        const std::optional<Field> dataField = reader.next();
        const std::optional<Field> width = reader.next();
        const std::optional<Field> alignment = reader.next();
        if (!alignment || captionReadsAsNumber(*caption)) {
            break;
        }
        const std::optional<double> widthValue = numberFrom(width->text);
        const std::optional<double> alignmentValue = numberFrom(alignment->text);
        if (!widthValue || *widthValue < 0 || !alignmentValue || *alignmentValue < 0 ||
            *alignmentValue > MaxAlignment || std::floor(*alignmentValue) != *alignmentValue) {
            break;
        }
        columns.append({caption->text, dataField->text, *widthValue, int(*alignmentValue)});
    }
    return columns;
}

bool ColumnLayoutFile::write(const QList<Column> &columns, QString *why)
{
    const auto fail = [why](const QString &reason) {
        if (why) {
            *why = reason.trimmed();
            if (!why->endsWith(u'.'))
                *why += u'.';
        }
        return false;
    };
    // A folder or a device of the file's name, or a folder that takes no file, is told as
    // such rather than as whatever the open makes of it.
    if (const std::optional<platform::WriteRefusal> refusal = platform::writeRefusal(path()))
        return fail(refusal->reason);
    QSaveFile file(path());
    if (!file.open(QIODevice::WriteOnly))
        return fail(file.errorString());
    const QByteArray bytes = format(columns);
    if (file.write(bytes) != bytes.size()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return fail(reason);
    }
    if (!file.commit())
        return fail(file.errorString());
    return true;
}

QString ColumnLayoutFile::notSavedText(const QString &why)
{
    return QStringLiteral(
               "The column layout file \"%1\" could not be written. %2 The columns will show as they "
               "were saved before.")
        .arg(QDir::toNativeSeparators(path()), why);
}

QByteArray ColumnLayoutFile::format(const QList<Column> &columns)
{
    // A quote inside a text is doubled: written bare, it would end the text early and
    // shift every later field of the file.
    const auto quoted = [](QString text) {
        return QLatin1Char('"') + text.replace(QLatin1Char('"'), QLatin1String("\"\"")) + QLatin1Char('"');
    };
    QString text;
    for (const Column &column : columns) {
        text += quoted(column.caption) + QLatin1Char(',') + quoted(column.dataField) + QLatin1Char(',') +
                numberText(column.width) + QLatin1Char(',') + numberText(column.alignment) +
                QLatin1String("\r\n");
    }
    return platform::toAnsi(text);
}

QString ColumnLayoutFile::numberText(double value)
{
    const float single = float(value);
    if (!std::isfinite(single) || single == 0.0f) {
        return QStringLiteral("0");
    }
    QString text = QLocale::c().toString(double(single), 'g', 7);
    // Exponent form as the classic runtime writes it: 1E+07, 1.5E-05.
    const qsizetype e = text.indexOf(QLatin1Char('e'));
    if (e >= 0) {
        const QString mantissa = text.left(e);
        const int exponent = text.mid(e + 1).toInt();
        text = mantissa + QLatin1Char('E') + (exponent < 0 ? QLatin1Char('-') : QLatin1Char('+')) +
               QStringLiteral("%1").arg(std::abs(exponent), 2, 10, QLatin1Char('0'));
    }
    return text;
}

#include "platform/base/AnsiText.h"

#include <QList>
#include <QStringDecoder>

#include <algorithm>
#include <array>
#include <optional>

namespace platform {

namespace {

// Windows-1252 agrees with Latin-1 everywhere but in 0x80..0x9F, so only those 32
// bytes need the code page's table. It is taken once from Qt's decoder; the five
// values the code page leaves unassigned map to the C1 control of the same value,
// as Windows maps them, so that every byte survives a round trip.
struct HighTable {
    std::array<char16_t, 32> chars{};

    HighTable()
    {
        QStringDecoder decoder("windows-1252");
        for (int i = 0; i < 32; ++i) {
            const QString one = decoder.decode(QByteArray(1, char(0x80 + i)));
            const bool assigned =
                one.size() == 1 && one[0] != QChar(QChar::ReplacementCharacter) && one[0].unicode() != 0x1A;
            chars[i] = assigned ? one[0].unicode() : char16_t(0x80 + i);
        }
    }
};

const HighTable &highTable()
{
    static const HighTable table;
    return table;
}

// Nothing for a character the code page lacks.
std::optional<char> encodeOne(char32_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
        return char(c);
    }
    const auto &chars = highTable().chars;
    for (int i = 0; i < 32; ++i) {
        if (chars[i] == c) {
            return char(0x80 + i);
        }
    }
    return std::nullopt;
}

// Below the first combining mark every text is in its composed form already.
constexpr char16_t FirstCombining = 0x300;

} // namespace

QByteArray toAnsi(const QString &text)
{
    QByteArray result;
    appendAnsi(result, text);
    return result;
}

qsizetype appendAnsi(QByteArray &bytes, QStringView text)
{
    const qsizetype start = bytes.size();
    bytes.resize(start + text.size());
    char *out = bytes.data() + start;
    qsizetype lacking = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        std::optional<char> byte;
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && QChar::isLowSurrogate(text[i + 1].unicode()))
            ++i; // one character beyond the code page, in two halves: one '?'
        else
            byte = encodeOne(c);
        lacking += !byte;
        *out++ = byte.value_or('?');
    }
    bytes.truncate(out - bytes.constData());
    return lacking;
}

qsizetype appendComposedAnsi(QByteArray &bytes, QStringView text)
{
    if (std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < FirstCombining; }))
        return appendAnsi(bytes, text);
    return appendAnsi(bytes, text.toString().normalized(QString::NormalizationForm_C));
}

namespace {

// Whether a character printed alone in a message would be seen.
bool showsAlone(char32_t c)
{
    switch (QChar::category(c)) {
    case QChar::Mark_NonSpacing:
    case QChar::Mark_SpacingCombining:
    case QChar::Mark_Enclosing:
        return false;
    default:
        return QChar::isPrint(c) && !QChar::isSpace(c);
    }
}

// A character as a message names it.
QString messageName(char32_t c)
{
    return showsAlone(c) ? QString::fromUcs4(&c, 1)
                         : QStringLiteral("U+%1").arg(uint(c), 4, 16, QLatin1Char('0')).toUpper();
}

QStringList charactersWhere(const QString &text, bool (*named)(char32_t))
{
    QStringList found;
    for (const char32_t c : text.toUcs4()) {
        if (!named(c))
            continue;
        const QString character = messageName(c);
        if (!found.contains(character))
            found.append(character);
    }
    return found;
}

} // namespace

QStringList ansiLacking(const QString &text)
{
    return charactersWhere(text, [](char32_t c) { return !encodeOne(c); });
}

QStringList unseenCharacters(const QString &text)
{
    return charactersWhere(text, [](char32_t c) { return QChar::category(c) == QChar::Other_Format; });
}

QString fromAnsi(const QByteArray &bytes)
{
    const auto &chars = highTable().chars;
    QString result;
    result.reserve(bytes.size());
    for (const char byte : bytes) {
        const auto code = static_cast<unsigned char>(byte);
        result.append(code >= 0x80 && code < 0xA0 ? QChar(chars[code - 0x80]) : QChar(code));
    }
    return result;
}

} // namespace platform

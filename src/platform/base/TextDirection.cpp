#include "platform/base/TextDirection.h"

#include "platform/base/TextBoundaries.h"

#include <unicode/ubidi.h>

#include <algorithm>
#include <memory>

namespace platform {

namespace {

// Nothing below the Hebrew block reads right to left or steers direction.
constexpr char16_t FirstRightToLeft = 0x0590;

bool isIsolateStart(QChar c)
{
    return c == LeftToRightIsolate || c == RightToLeftIsolate || c == FirstStrongIsolate;
}

bool isEmbeddingStart(QChar c)
{
    return c.unicode() >= 0x202A && c.unicode() <= 0x202E && c.unicode() != 0x202C;
}

constexpr char16_t PopDirectionalFormatting = 0x202C;

// Blanks a field was typed with at its ends (a tab is one by then), kept outside its
// isolate: they read as the gap they were typed for, not as part of the field.
bool isEndBlank(QChar c)
{
    return c == u' ';
}

// The direction an isolate starting just before from reads in, by its first strong letter
// (those of isolates inside it do not count); left to right when it has none.
bool readsRightToLeft(QStringView line, qsizetype from, QStringView rest)
{
    int depth = 0;
    for (QStringView text : {line.mid(from), rest}) {
        for (qsizetype i = 0; i < text.size();) {
            const QChar c = text[i];
            if (isParagraphSeparator(c))
                return false;
            if (isIsolateStart(c)) {
                ++depth;
            } else if (c == PopDirectionalIsolate) {
                if (depth == 0)
                    return false;
                --depth;
            }
            const QChar::Direction direction = QChar::direction(nextCodePoint(text, i));
            if (depth == 0 && direction == QChar::DirL)
                return false;
            if (depth == 0 && (direction == QChar::DirR || direction == QChar::DirAL))
                return true;
        }
    }
    return false;
}

// The field's own isolates, embeddings and overrides, pasted in with it, end within it,
// and the end of one it never opened is left out: otherwise the one would carry the fields
// after it into the field's order or direction and the other would let the field's words
// out among its neighbours.
QString withBalancedIsolates(QStringView core)
{
    QString balanced;
    balanced.reserve(core.size() + 2);
    // What is open, innermost last: the character that ends each.
    QString open;
    for (const QChar c : core) {
        if (isIsolateStart(c)) {
            open += QChar(PopDirectionalIsolate);
        } else if (isEmbeddingStart(c)) {
            open += QChar(PopDirectionalFormatting);
        } else if (c == PopDirectionalIsolate) {
            const qsizetype at = open.lastIndexOf(QChar(PopDirectionalIsolate));
            if (at < 0)
                continue;
            // It ends the embeddings opened inside its isolate too.
            open.truncate(at);
        } else if (c == PopDirectionalFormatting) {
            if (open.isEmpty() || open.back() != QChar(PopDirectionalFormatting))
                continue;
            open.chop(1);
        }
        balanced += c;
    }
    std::reverse(open.begin(), open.end());
    balanced += open;
    return balanced;
}

// Whether a character ends a line where a place has several: the line ends typed (CR, LF),
// the paragraph separators and the line separator U+2028.
bool endsLine(QChar c)
{
    return isParagraphSeparator(c) || c == QChar::LineSeparator;
}

// Characters that draw nothing and take no room: the C0 and C1 controls, tabs included.
bool isControl(QChar c)
{
    return c.unicode() < 0x20 || (c.unicode() >= 0x7F && c.unicode() <= 0x9F);
}

// The field as it prints: where the place has several lines, CR and LF as typed and every
// other line end as LF; where it has one, each line end a blank, a CR LF pair as one. Every
// other control character is a blank. A control drawn as nothing would leave no gap where one was
// typed (a tab), would let the books' rows take a field that starts with one for empty, and
// the bidirectional algorithm would end the field's isolate at a paragraph separator.
QString printedCharacters(const QString &field, bool severalLines)
{
    const auto replaced = [&](QChar c) {
        return (isControl(c) || endsLine(c)) && !(severalLines && (c == u'\r' || c == u'\n'));
    };
    // Every field printed comes through here, and nearly all have nothing to replace.
    const auto first = std::find_if(field.cbegin(), field.cend(), replaced);
    if (first == field.cend())
        return field;
    QString text;
    text.reserve(field.size());
    text += QStringView(field.cbegin(), first);
    for (qsizetype i = first - field.cbegin(); i < field.size(); ++i) {
        const QChar c = field[i];
        if (!replaced(c)) {
            text += c;
        } else if (!endsLine(c)) {
            text += u' ';
        } else {
            text += severalLines ? u'\n' : u' ';
            if (c == u'\r' && i + 1 < field.size() && field[i + 1] == u'\n')
                ++i;
        }
    }
    return text;
}

struct BidiCloser {
    void operator()(UBiDi *bidi) const { ubidi_close(bidi); }
};

} // namespace

bool isParagraphSeparator(QChar c)
{
    return c == u'\r' || c == u'\n' || (c.unicode() >= 0x1C && c.unicode() <= 0x1E) || c.unicode() == 0x85 ||
           c.unicode() == 0x2029;
}

bool isDirectionMark(char32_t codePoint)
{
    return codePoint == 0x061C || codePoint == 0x200E || codePoint == 0x200F ||
           (codePoint >= 0x202A && codePoint <= 0x202E) || (codePoint >= 0x2066 && codePoint <= 0x2069);
}

bool needsReordering(QStringView text)
{
    for (qsizetype i = 0; i < text.size();) {
        if (text[i] < FirstRightToLeft) {
            ++i;
            continue;
        }
        switch (QChar::direction(nextCodePoint(text, i))) {
        case QChar::DirR:
        case QChar::DirAL:
        case QChar::DirAN:
        case QChar::DirLRE:
        case QChar::DirLRO:
        case QChar::DirRLE:
        case QChar::DirRLO:
        case QChar::DirPDF:
        case QChar::DirLRI:
        case QChar::DirRLI:
        case QChar::DirFSI:
        case QChar::DirPDI:
            return true;
        default:
            break;
        }
    }
    return false;
}

QString isolatedField(const QString &value)
{
    // Lines typed with CR and LF keep them; any other line end becomes one.
    const QString field = printedCharacters(value, true);
    if (!needsReordering(field))
        return field;
    QString isolated;
    isolated.reserve(field.size() + 4);
    for (qsizetype start = 0; start <= field.size();) {
        qsizetype end = start;
        while (end < field.size() && !isParagraphSeparator(field[end]))
            ++end;
        qsizetype first = start, last = end;
        while (first < last && isEndBlank(field[first]))
            ++first;
        while (last > first && isEndBlank(field[last - 1]))
            --last;
        const QStringView core = QStringView(field).mid(first, last - first);
        isolated += QStringView(field).mid(start, first - start);
        if (needsReordering(core)) {
            isolated += QChar(FirstStrongIsolate);
            isolated += withBalancedIsolates(core);
            isolated += QChar(PopDirectionalIsolate);
        } else {
            isolated += core;
        }
        isolated += QStringView(field).mid(last, end - last);
        if (end == field.size())
            break;
        isolated += field[end];
        start = end + 1;
    }
    return isolated;
}

QString isolatedLine(const QString &field)
{
    return isolatedField(printedCharacters(field, false));
}

QString oneLineCharacters(const QString &field)
{
    return printedCharacters(field, false);
}

QList<DirectionRun> visualRuns(QStringView line)
{
    const QList<DirectionRun> asItStands{DirectionRun{0, line.size(), false}};
    if (!needsReordering(line))
        return asItStands;
    UErrorCode status = U_ZERO_ERROR;
    const std::unique_ptr<UBiDi, BidiCloser> bidi(ubidi_openSized(static_cast<int32_t>(line.size()), 0, &status));
    ubidi_setPara(bidi.get(), reinterpret_cast<const UChar *>(line.utf16()), static_cast<int32_t>(line.size()),
                  UBIDI_LTR, nullptr, &status);
    const int32_t count = ubidi_countRuns(bidi.get(), &status);
    if (U_FAILURE(status))
        return asItStands;
    QList<DirectionRun> runs;
    runs.reserve(count);
    for (int32_t i = 0; i < count; ++i) {
        int32_t start = 0, length = 0;
        const UBiDiDirection direction = ubidi_getVisualRun(bidi.get(), i, &start, &length);
        runs.append(DirectionRun{start, length, direction == UBIDI_RTL});
    }
    return runs;
}

void carryIsolates(QString &line, QString &rest)
{
    // The isolates, embeddings and overrides open at the cut, outermost first.
    QList<qsizetype> open;
    const auto closes = [&](QChar c) {
        if (c == PopDirectionalFormatting)
            return !open.isEmpty() && isEmbeddingStart(line[open.back()]);
        return c == PopDirectionalIsolate && std::any_of(open.cbegin(), open.cend(), [&](qsizetype at) {
                   return isIsolateStart(line[at]);
               });
    };
    const auto close = [&](QChar c) {
        // An isolate's end ends the embeddings opened inside it too.
        while (c == PopDirectionalIsolate && !isIsolateStart(line[open.back()]))
            open.removeLast();
        open.removeLast();
    };
    for (qsizetype i = 0; i < line.size(); ++i) {
        if (isIsolateStart(line[i]) || isEmbeddingStart(line[i]))
            open.append(i);
        else if (closes(line[i]))
            close(line[i]);
    }
    // What ends just where the line was cut ends on the line.
    while (!rest.isEmpty() && closes(rest.front())) {
        close(rest.front());
        line += rest.front();
        rest.remove(0, 1);
    }
    if (open.isEmpty())
        return;
    // A line end closes everything anyway; the text after it starts afresh.
    const bool reopen = !rest.isEmpty() && !isParagraphSeparator(rest.front());
    QString opened, closing;
    for (const qsizetype at : open) {
        if (line[at] == FirstStrongIsolate)
            line[at] = readsRightToLeft(line, at + 1, rest) ? RightToLeftIsolate : LeftToRightIsolate;
        opened += line[at];
        closing.prepend(QChar(isIsolateStart(line[at]) ? PopDirectionalIsolate : PopDirectionalFormatting));
    }
    line += closing;
    if (reopen)
        rest.prepend(opened);
}

} // namespace platform

#pragma once

#include <QString>
#include <QStringView>
#include <QTextBoundaryFinder>

namespace platform {

// Where text may be cut: between whole characters as drawn (a letter with its marks, a
// joined emoji, a surrogate pair), and where a line may end. The boundaries are Unicode's,
// as Qt finds them. Positions are UTF-16 offsets from 0 to the text's size. The text
// must outlive the object.
class TextBoundaries {
  public:
    explicit TextBoundaries(QStringView text);

    // Whether a cut at pos keeps every character whole.
    bool isCharacterBoundary(qsizetype pos) const;
    // The first character boundary at or after pos.
    qsizetype characterEnd(qsizetype pos) const;
    // Whether a line may end at pos by the line-breaking rules of the text's script.
    bool isLineBreak(qsizetype pos) const;

  private:
    QStringView mText;
    // Text of characters below the combining marks is one character a code unit; it
    // needs no character finder (and costs none).
    bool mPlain;
    mutable QTextBoundaryFinder mCharacters;
    // Made when first asked.
    mutable QTextBoundaryFinder mLines;
};

// The code point at i, i moved past it (a lone half of a pair stands for itself).
inline char32_t nextCodePoint(QStringView text, qsizetype &i)
{
    const QChar c = text[i++];
    if (c.isHighSurrogate() && i < text.size() && text[i].isLowSurrogate())
        return QChar::surrogateToUcs4(c, text[i++]);
    return c.unicode();
}

// Length, in UTF-16 units, of the first count characters as drawn: the whole text when
// it holds no more.
qsizetype leadingCharacters(QStringView text, qsizetype count);

// The first count characters as drawn of text.
inline QString leftCharacters(const QString &text, qsizetype count)
{
    return text.left(leadingCharacters(text, count));
}

} // namespace platform

#include "platform/base/TextBoundaries.h"

#include <algorithm>

namespace platform {

namespace {
// Below the combining diacritical marks every code unit is a character of its own, but
// for a carriage return with its line feed.
bool plain(QStringView text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c >= 0x300 || (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n'))
            return false;
    }
    return true;
}
} // namespace

TextBoundaries::TextBoundaries(QStringView text) : mText(text), mPlain(plain(text))
{
    if (!mPlain)
        mCharacters = QTextBoundaryFinder(QTextBoundaryFinder::Grapheme, mText);
}

bool TextBoundaries::isCharacterBoundary(qsizetype pos) const
{
    if (mPlain || pos <= 0 || pos >= mText.size())
        return true;
    mCharacters.setPosition(pos);
    return mCharacters.isAtBoundary();
}

qsizetype TextBoundaries::characterEnd(qsizetype pos) const
{
    if (isCharacterBoundary(pos))
        return std::clamp<qsizetype>(pos, 0, mText.size());
    mCharacters.setPosition(pos);
    return mCharacters.toNextBoundary();
}

bool TextBoundaries::isLineBreak(qsizetype pos) const
{
    if (pos <= 0 || pos > mText.size())
        return false;
    if (!mLines.isValid())
        mLines = QTextBoundaryFinder(QTextBoundaryFinder::Line, mText);
    mLines.setPosition(pos);
    return mLines.isAtBoundary();
}

qsizetype leadingCharacters(QStringView text, qsizetype count)
{
    if (count <= 0)
        return 0;
    // What follows the last character kept decides whether it ends there.
    if (plain(text.left(count + 1)))
        return std::min(count, text.size());
    QTextBoundaryFinder characters(QTextBoundaryFinder::Grapheme, text);
    qsizetype end = 0;
    for (qsizetype n = 0; n < count && end >= 0 && end < text.size(); ++n)
        end = characters.toNextBoundary();
    return end < 0 ? text.size() : end;
}

} // namespace platform

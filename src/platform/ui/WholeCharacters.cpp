#include "platform/ui/WholeCharacters.h"

#include <QLineEdit>
#include <QObject>

namespace platform {

namespace {

bool pairedAt(const QString &text, qsizetype i)
{
    const QChar c = text[i];
    if (c.isHighSurrogate())
        return i + 1 < text.size() && text[i + 1].isLowSurrogate();
    if (c.isLowSurrogate())
        return i > 0 && text[i - 1].isHighSurrogate();
    return true;
}

} // namespace

void keepCharactersWhole(QLineEdit *edit)
{
    QObject::connect(edit, &QLineEdit::textChanged, edit, [edit](const QString &text) {
        QString whole;
        int cursor = edit->cursorPosition();
        bool changed = false;
        for (qsizetype i = 0; i < text.size(); ++i) {
            if (pairedAt(text, i)) {
                whole += text[i];
                continue;
            }
            changed = true;
            if (i < cursor)
                --cursor;
        }
        if (!changed)
            return;
        edit->setText(whole);
        edit->setCursorPosition(cursor);
    });
}

} // namespace platform

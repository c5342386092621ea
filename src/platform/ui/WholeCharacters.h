#pragma once

class QLineEdit;

namespace platform {

// A line edit's length limit counts UTF-16 units, so cutting a text at it can leave half of
// a character made of two (an emoji), which is then stored as "?". After this call the
// box drops any such half at once: the cut goes before the character.
void keepCharactersWhole(QLineEdit *edit);

} // namespace platform

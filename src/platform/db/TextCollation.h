#pragma once

#include <QString>
#include <QStringView>

#include <string_view>

struct sqlite3;

namespace platform {

// The order text columns sort and compare in: letters first by their base letter, case and
// accents ignored (Ö with O, é with e, ß as ss); among texts equal that way, a plain letter
// comes before its accented forms. Case alone never tells two texts apart.
// Every connection registers it, and the text columns and their indexes are declared with it.
inline constexpr const char *TextCollationName = "jet_text";

// What one character reads as when letters are compared: its base letter(s), case-folded
// (empty for a combining mark).
QString primaryLetters(char32_t c);

// The single character a pattern's letter and a text's letter both fold to before they are
// matched: the base letter where there is one, else the case-folded character.
char32_t foldedLetter(char32_t c);

// Whether the order passes over the character at the first level as part of the letter
// before it: a combining mark (U+0308 after u, a vowel point after a Hebrew letter).
bool isCombiningMark(char32_t c);

// The whole text as it sorts at the first level: primaryLetters of each character.
QString primaryText(QStringView text);

// Reads the character at byte i of UTF-8 text and moves i past it. Decodes leniently: a
// byte that starts no valid sequence stands for itself.
char32_t nextUtf8Character(const unsigned char *p, size_t n, size_t &i);

// <0, 0 or >0 as the collation orders two UTF-8 texts.
int compareText(std::string_view a, std::string_view b);
// The same for two texts held as QString.
int compareCollated(const QString &a, const QString &b);

void registerTextCollation(sqlite3 *db);

} // namespace platform

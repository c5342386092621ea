#include "platform/base/TextDirection.h"

#include <gtest/gtest.h>

namespace {

// {...} stands for a first strong isolate, [...] for one set right to left, <...> for one
// set left to right, so the cases read as written.
QString marked(const char *text)
{
    QString s = QString::fromUtf8(text);
    s.replace(u'{', QChar(platform::FirstStrongIsolate));
    s.replace(u'[', QChar(platform::RightToLeftIsolate));
    s.replace(u'<', QChar(platform::LeftToRightIsolate));
    s.replace(u'}', QChar(platform::PopDirectionalIsolate));
    s.replace(u']', QChar(platform::PopDirectionalIsolate));
    s.replace(u'>', QChar(platform::PopDirectionalIsolate));
    return s;
}

TEST(TextDirectionTest, OnlyFieldsThatCouldReorderAreSetApartAndTheirBlanksStayOutside)
{
    const struct {
        const char *field;
        const char *isolated;
    } cases[] = {
        {"Hillside Manor (East) 12", "Hillside Manor (East) 12"},
        {"Zoë Łukasiewicz", "Zoë Łukasiewicz"},
        {"", ""},
        {"   ", "   "},
        {"נייד", "{נייד}"},
        {"  רחוב הרצל 12  ", "  {רחוב הרצל 12}  "},
        {"٤٥", "{٤٥}"},
        {"first line\r\nשורה שנייה\nthird", "first line\r\n{שורה שנייה}\nthird"},
        // Isolates pasted into a field end within it; the end of one never opened is left out.
        {"נייד\u2067 x", "{נייד[ x]}"},
        {"\u2066a b", "{<a b>}"},
        {"12 \u2069רחוב", "{12 רחוב}"},
        {"\u2067רחוב\u2069\u2069 12", "{[רחוב] 12}"},
        // Every paragraph separator is a line end; an override or embedding ends with its line.
        {"a\u001C\u202Eb\u2029\u202Bc\u0085d", "a\n{\u202Eb\u202C}\n{\u202Bc\u202C}\nd"},
        {"\u202Bא\u2066b\u202Ec\u2069\u202C\u202C", "{\u202Bא<b\u202Ec>\u202C}"},
        // A line separator is a line end too; a tab at a right-to-left field's end is a blank
        // outside its isolate.
        {"Spring\u2028field\t", "Spring\nfield "},
        {"נייד\t", "{נייד} "},
    };
    for (const auto &c : cases)
        EXPECT_EQ(platform::isolatedField(QString::fromUtf8(c.field)).toStdString(), marked(c.isolated).toStdString())
            << c.field;
}

// A cut inside an isolate closes it on the line and opens it again on the rest, in the
// direction the whole isolate reads, decided by its first strong letter even when that
// letter lies past the cut.
TEST(TextDirectionTest, AnIsolateCutInTwoReadsOnBothSidesAsItReadsWhole)
{
    const struct {
        const char *line, *rest;
        const char *carriedLine, *carriedRest;
    } cases[] = {
        {"Work: 555-0123  ", "Home", "Work: 555-0123  ", "Home"},
        {"{נייד}: 555-0100  {רחוב ", "הרצל 12}", "{נייד}: 555-0100  [רחוב ]", "[הרצל 12}"},
        {"{12 ", "רחוב}", "[12 ]", "[רחוב}"},
        {"{Main ", "St}", "<Main >", "<St}"},
        {"{רחוב הרצל 12", "} רמת גן", "{רחוב הרצל 12}", " רמת גן"},
        {"{a [ב ", "ג] d}", "<a [ב ]>", "<[ג] d}"},
        {"{רחוב ", "\r\nnext", "[רחוב ]", "\r\nnext"},
        {"{\u202Eab ", "cd} x", "<\u202Eab \u202C>", "<\u202Ecd} x"},
    };
    for (const auto &c : cases) {
        QString line = marked(c.line), rest = marked(c.rest);
        platform::carryIsolates(line, rest);
        EXPECT_EQ(line.toStdString(), marked(c.carriedLine).toStdString()) << c.line;
        EXPECT_EQ(rest.toStdString(), marked(c.carriedRest).toStdString()) << c.line;
    }
}

TEST(TextDirectionTest, RunsStandFromTheLeftInALeftToRightParagraph)
{
    const QString line = marked("Ann {תל אביב}, CA");
    const QList<platform::DirectionRun> runs = platform::visualRuns(line);
    QStringList shown;
    for (const platform::DirectionRun &run : runs)
        shown << (run.rightToLeft ? QStringLiteral("R:") : QStringLiteral("L:")) + line.mid(run.start, run.length);
    EXPECT_EQ(shown.join(u'|').toStdString(), marked("L:Ann {|R:תל אביב|L:}, CA").toStdString());
    EXPECT_EQ(platform::visualRuns(QStringLiteral("plain")).size(), 1);
}

} // namespace

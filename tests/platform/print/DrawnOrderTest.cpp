#include "platform/base/TextDirection.h"
#include "platform/print/FontTextMetrics.h"
#include "support/PrintedPages.h"

#include <QPainter>
#include <QTextLayout>
#include <gtest/gtest.h>

namespace {

using platform::PrintDocument;
using platform::PrintFont;
using platform::PrintRun;

const PrintFont Arial10{QStringLiteral("Arial"), 10.0, false, false};

// A line as the reports build it: each field set apart in its own direction on its one
// line, the separators between them as typed.
QString lineOf(const QStringList &fields)
{
    QString line;
    for (const QString &field : fields)
        line += platform::isolatedLine(field);
    return line;
}

PrintDocument linesAt(const QStringList &lines)
{
    PrintDocument document;
    document.pages.emplace_back();
    double y = 1440;
    for (const QString &line : lines) {
        document.pages[0].push_back(PrintRun{line, Arial10, 1440, y});
        y += 400;
    }
    return document;
}

QString withoutMarks(const QString &text)
{
    QString bare;
    for (const QChar c : text)
        if (!c.isMark())
            bare += c;
    return bare;
}

// Lines of fields, read back from the PDF glyph by glyph in the order they stand from the
// left: the fields stay in their order, each reads in its own direction, digits and
// brackets inside a right-to-left field resolve as its language expects, a box for a
// character no font holds keeps its place among the words, and Latin is as typed.
TEST(DrawnOrderTest, FieldsStandInTheirOrderEachReadingInItsOwnDirection)
{
    const struct {
        QStringList fields;
        QString drawn; // left to right, marks left out
    } cases[] = {
        {{"נייד", ": 555-0100  ", "בית", ": 555-0199"}, "דיינ: 555-0100  תיב: 555-0199"},
        {{"רחוב הרצל 12"}, "12 לצרה בוחר"},
        {{"12 רחוב הרצל"}, "לצרה בוחר 12"},
        {{"חברה (בע\"מ)"}, "(מ\"עב) הרבח"},
        {{"משרד (ראשי)", ": 555-0110"}, "(ישאר) דרשמ: 555-0110"},
        {{"רחוב הרצל 12", "  ", "רמת גן", " ", "52522"}, "12 לצרה בוחר  ןג תמר 52522"},
        {{"Ann", " ", "תל אביב", ", ", "CA", " ", "90210"}, "Ann ביבא לת, CA 90210"},
        {{"שלום 👨 עולם"}, "םלוע □ םולש"},
        {{"שָׁלוֹם לְךָ", " x"}, "ךל םולש x"},
        {{"Work", ": 555-0123  ", "Smith (Jr.)"}, "Work: 555-0123  Smith (Jr.)"},
        // Isolate marks pasted into a field, one left open, one closing nothing.
        {{"נייד\u2067", ": 555-0100  ", "בית", ": 555-0199"}, "דיינ: 555-0100  תיב: 555-0199"},
        {{"12 \u2069רחוב", " ", "רמת גן", " ", "52522"}, "בוחר 12 ןג תמר 52522"},
        // A paragraph separator, then an override or embedding, ends with the field: the
        // numbers after it keep their order.
        {{"Home\u2029\u202E", ": 555-0101  ", "Work", ": 555-0102  ", "Cell", ": 555-0103"},
         "Home : 555-0101  Work: 555-0102  Cell: 555-0103"},
        {{"Springfield\u0085\u202E", ", ", "IL", " ", "62701"}, "Springfield , IL 62701"},
        {{"בית\u001C\u202B", ": 555-0101  ", "Work", ": 555-0102"}, " תיב: 555-0101  Work: 555-0102"},
        {{"Home\u001E\u202D", ": 555-0101  ", "נייד", ": 555-0102"}, "Home : 555-0101  דיינ: 555-0102"},
        // An override or mark left open at a field's end reaches no further; letters under
        // an override read as it says, as the screen shows them.
        {{"\u202ESpringfield", ", ", "IL", " ", "62701"}, "dleifgnirpS, IL 62701"},
        {{"בית\u202E", ": 555-0101  ", "Work", ": 555-0102"}, "תיב: 555-0101  Work: 555-0102"},
        {{"שָׁלוֹם\u200F", ": 555-0101  ", "Work"}, "םולש: 555-0101  Work"},
        // A tab at a Hebrew field's end prints as its gap, after the field.
        {{"555-0101", "  ", "בית\t", ": 555-0102"}, "555-0101  תיב : 555-0102"},
        // A line break inside an address line is a blank on its one line.
        {{"Suite 5\r\nBuilding B", "  ", "רמת גן"}, "Suite 5 Building B  ןג תמר"},
    };
    QStringList lines;
    for (const auto &c : cases)
        lines << lineOf(c.fields);
    const std::vector<QString> drawn = testsupport::pdfDrawnLines(linesAt(lines), 0);
    ASSERT_EQ(drawn.size(), std::size(cases));
    for (std::size_t i = 0; i < drawn.size(); ++i)
        EXPECT_EQ(withoutMarks(drawn[i]).toStdString(), cases[i].drawn.toStdString());
}

// The share of the pixels inked in either drawing that the other leaves white.
double inkDifference(const QImage &a, const QImage &b)
{
    int inked = 0, differing = 0;
    for (int y = 0; y < std::min(a.height(), b.height()); ++y)
        for (int x = 0; x < std::min(a.width(), b.width()); ++x) {
            const bool inA = qGray(a.pixel(x, y)) < 128, inB = qGray(b.pixel(x, y)) < 128;
            inked += inA || inB;
            differing += inA != inB;
        }
    return inked ? double(differing) / inked : 1.0;
}

// Marks stay on their letters and Arabic letters keep their joined forms: the printed line
// looks as Qt's own layout of the whole line, read as one left-to-right paragraph, draws it.
TEST(DrawnOrderTest, MarksAndJoinedLettersLookAsTheWholeLineLaidOutAtOnce)
{
    constexpr int Dpi = 300;
    const auto &metrics = platform::FontTextMetrics::instance();
    for (const QStringList &fields :
         {QStringList{"שָׁלוֹם לְךָ", " x"}, QStringList{"عَلِيّ", " ", "٤٥"}, QStringList{"عَلِيّ ٤٥"},
          QStringList{"جوال", ": 555-0101  ", "منزل", ": 555-0102"}, QStringList{"شركة (مكتب)"}}) {
        const QString line = lineOf(fields);
        SCOPED_TRACE(line.toStdString());
        const QImage printed = testsupport::renderPage(linesAt({line}), 0, Dpi);

        QImage expected(printed.size(), QImage::Format_RGB32);
        expected.fill(Qt::white);
        QPainter painter(&expected);
        const double scale = Arial10.size * 20.0 / platform::FontTextMetrics::ReferencePixelSize;
        painter.scale(Dpi / 1440.0, Dpi / 1440.0);
        painter.translate(1440, 1440);
        painter.scale(scale, scale);
        QTextLayout layout(line, metrics.drawingFont(Arial10));
        QTextOption leftToRight;
        leftToRight.setTextDirection(Qt::LeftToRight);
        layout.setTextOption(leftToRight);
        layout.beginLayout();
        layout.createLine().setLineWidth(1e6);
        layout.endLayout();
        painter.setPen(Qt::black);
        layout.draw(&painter, QPointF(0, metrics.ascent(Arial10) / scale - layout.lineAt(0).ascent()));
        painter.end();
        EXPECT_LT(inkDifference(printed, expected), 0.1);
    }
}

// Isolates take no room: a line keeps its width to the twip with or without them, and a
// Latin line prints as typed, glyph for glyph.
TEST(DrawnOrderTest, IsolatesAreNeitherMeasuredNorDrawn)
{
    const auto &metrics = platform::FontTextMetrics::instance();
    const QString latin = QStringLiteral("Work: 555-0123  Hillside Manor (East), Springfield");
    EXPECT_EQ(platform::isolatedField(latin), latin);
    const QString fenced = QStringLiteral("\u2068Work\u2069: 555-0123  \u2068Hillside Manor (East)\u2069, Springfield");
    EXPECT_EQ(metrics.width(Arial10, fenced), metrics.width(Arial10, latin));
    const QString hebrew = QStringLiteral("רחוב הרצל 12");
    EXPECT_EQ(metrics.width(Arial10, platform::isolatedField(hebrew)), metrics.width(Arial10, hebrew));
    const std::vector<QString> drawn = testsupport::pdfDrawnLines(linesAt({latin, fenced}), 0);
    ASSERT_EQ(drawn.size(), 2u);
    EXPECT_EQ(drawn[0].toStdString(), latin.toStdString());
    EXPECT_EQ(drawn[1].toStdString(), latin.toStdString());
}

} // namespace

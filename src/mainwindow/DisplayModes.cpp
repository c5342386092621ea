#include "mainwindow/DisplayModes.h"

#include "helpers/DatabaseState.h"
#include "helpers/GLOBAL.h"
#include "helpers/SettingsRow.h"
#include "helpers/mCommon.h"
#include "mainwindow/ColumnLayout.h"
#include "mainwindow/MainWindowLayout.h"
#include "mainwindow/MainWindowSettings.h"
#include "mainwindow/MainControls.h"
#include "mainwindow/NameList.h"
#include "platform/RuntimeError.h"
#include "platform/db/Database.h"
#include "platform/ui/ClassicFont.h"
#include "platform/ui/CommonDialog.h"
#include "platform/ui/MsgBox.h"
#include "platform/ui/ProgramFolder.h"
#include "platform/ui/ScrollBarWidth.h"
#include "platform/ui/Twips.h"

#include <QAction>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QFontMetricsF>
#include <QLineEdit>
#include <QLocale>
#include <QTableView>

#include <cmath>
#include <optional>

using platform::RuntimeError;

namespace {

const QString TabletType = QStringLiteral("TABLET");
const QString BackColorType = QStringLiteral("BACKCOLOR");
const QString ScrollBarWorkFile = QStringLiteral("ScrollbarWidthChange.txt");

// The scroll-bar widths the program accepts, in twips.
constexpr int NarrowestScrollBar = 120;
constexpr int WidestScrollBar = 1500;

// The filter message's warning colour.
const QColor FilterMessageRed(0xc0, 0x00, 0x00);

// Rows the grid shows at the least, however small the window is made.
constexpr int MinimumRowsShown = 4;

// A Windows colour value: red in the low byte, green in the next, blue in the third.
qint32 colourValue(const QColor &colour)
{
    return qint32(colour.red() | (colour.green() << 8) | (colour.blue() << 16));
}

// The answer to the width question as the classic numeric test and conversion read it:
// any number (blanks around it allowed) counts; nothing when it is none.
std::optional<double> numericAnswer(const QString &answer)
{
    bool ok = false;
    const double value = QLocale::c().toDouble(answer.trimmed(), &ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

// How much wider than the desktop look a font sets the texts a grid column holds: the
// column widths are the desktop look's, and a larger font widens them alike.
double columnWidening(const QFont &font)
{
    const MainWindowLook desktop = mainWindowLook(false);
    const QFontMetricsF designed(platform::classicFont(desktop.fontName, desktop.fontSize, desktop.fontBold));
    const QFontMetricsF shown(font);
    double widening = 1.0;
    for (const QString &sample : {QStringLiteral("(514) 555-1234"), QStringLiteral("Phone 1 Desc"),
                                  QStringLiteral("Middle Name"), QStringLiteral("E-mail Address")})
        widening = qMax(widening, shown.horizontalAdvance(sample) / designed.horizontalAdvance(sample));
    return widening;
}

// How far apart two colours stand for the eye, as accessibility guidelines measure it:
// from 1 (none) to 21 (black on white).
double contrastRatio(const QColor &a, const QColor &b)
{
    const auto luminance = [](const QColor &c) {
        const auto channel = [](double v) {
            return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
    };
    const double la = luminance(a);
    const double lb = luminance(b);
    return (qMax(la, lb) + 0.05) / (qMin(la, lb) + 0.05);
}

// Body text wants this much contrast to read comfortably.
constexpr double ReadableContrast = 4.5;

// The labels' white stays on any background it reads on; otherwise black or white,
// whichever stands out more.
QColor labelTextOn(const QColor &background)
{
    const QColor white(Qt::white);
    const QColor black(Qt::black);
    if (contrastRatio(white, background) >= ReadableContrast)
        return white;
    return contrastRatio(black, background) > contrastRatio(white, background) ? black : white;
}

QColor colourOfValue(qint32 value)
{
    const quint32 bgr = quint32(value);
    return QColor(int(bgr & 0xff), int((bgr >> 8) & 0xff), int((bgr >> 16) & 0xff));
}

} // namespace

DisplayModes::DisplayModes(NameList &window) : mWindow(window), mUi(*window.mUi) {}

QColor DisplayModes::backColor() const
{
    return mUi.client->palette().color(QPalette::Window);
}

void DisplayModes::setBackColor(const QColor &colour)
{
    // The labels standing on the background take a text colour that reads on it; the
    // filter message keeps its warning red wherever the red reads, and always on the
    // design colour it was drawn for.
    const bool design = colour.rgb() == colourOfValue(DesignBackColor).rgb();
    const QColor text = design ? QColor(Qt::white) : labelTextOn(colour);
    const QColor warning = design || contrastRatio(FilterMessageRed, colour) >= ReadableContrast
                               ? FilterMessageRed
                               : text;
    QPalette look = mUi.client->palette();
    look.setColor(QPalette::Window, colour);
    look.setColor(QPalette::WindowText, text);
    mUi.client->setPalette(look);
    QPalette own = mUi.lblFilterMsg->palette();
    own.setColor(QPalette::WindowText, warning);
    mUi.lblFilterMsg->setPalette(own);
}

void DisplayModes::setBackColorValue(qint32 value)
{
    setBackColor(colourOfValue(value));
}

void DisplayModes::applyLook()
{
    const MainWindowLook look = mainWindowLook(gTabletMode);
    mWindow.columnLayout().setRowHeightTwips(qRound(look.gridRowHeight));
    const QFont font = platform::classicFont(look.fontName, look.fontSize, look.fontBold);
    mUi.Table1->setFont(font);
    mWindow.columnLayout().setColumnWidthScale(columnWidening(font));
    mUi.cmbSort->setFont(font);
    QLineEdit *locate = mUi.txtLocate;
    locate->setFont(font);
    const QRect box = locate->geometry();
    locate->setGeometry(box.x(), box.y(), box.width(), platform::twipsToPixelsY(look.locateBoxHeight));
    keepToolbarAndRowsShown(platform::twipsToPixelsY(look.gridRowHeight));
    mWindow.menuItem(QStringLiteral("TabletMode"))
        ->setEnabled(look.tabletModeEnabled && mWindow.hasHandler(QStringLiteral("TabletMode")));
    mWindow.menuItem(QStringLiteral("DesktopMode"))
        ->setEnabled(look.desktopModeEnabled && mWindow.hasHandler(QStringLiteral("DesktopMode")));
}

void DisplayModes::keepToolbarAndRowsShown(int rowPixels)
{
    // Wide enough for the toolbar, its exit sign last, and the narrowest layout.
    const QWidget *exitSign = mWindow.button(QStringLiteral("cmdExitSign"));
    const int margin = platform::twipsToPixelsX(120);
    const int width = qMax(platform::twipsToPixelsX(MainWindowMinimumWidth), exitSign->geometry().right() + margin);
    // High enough for the grid's heading and a few rows over the space the layout keeps
    // under the grid for the detail boxes and the record buttons.
    const QTableView *grid = mUi.Table1;
    // The heading sizes itself only once it has columns; its font tells the height before.
    const int heading = qMax(grid->horizontalHeader()->sizeHint().height(),
                             QFontMetrics(grid->font()).height() +
                                 2 * grid->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, grid) + 2);
    const int gridHeight = heading + MinimumRowsShown * rowPixels +
                           grid->horizontalScrollBar()->sizeHint().height() + 2 * grid->frameWidth();
    const int inner = gridHeight + mUi.lblHeader->height() + platform::twipsToPixelsY(80);
    const QMenuBar *menus = mWindow.findChild<QMenuBar *>(QString(), Qt::FindDirectChildrenOnly);
    mWindow.setMinimumSize(width, (menus ? menus->sizeHint().height() : 0) + inner);
}

void DisplayModes::DesktopMode_Click()
{
    gTabletMode = false;
    applyLook();
    storeSettingsRow(*gDb, TabletType, booleanSettingText(false));
}

void DisplayModes::TabletMode_Click()
{
    gTabletMode = true;
    applyLook();
    storeSettingsRow(*gDb, TabletType, booleanSettingText(true));
}

void DisplayModes::SelectColor_Click()
{
    // The colour dialog and what follows it ignore every error: the colour simply stays.
    try {
        platform::CommonDialog dialog;
        dialog.dlgCancelError = true;
        dialog.dlgColor = backColor();
        dialog.dlgFlags = platform::CommonDialog::cdlCCRGBInit;
        dialog.dlgShowColor();
        if (dialog.dlgColor.rgb() != backColor().rgb()) {
            setBackColor(dialog.dlgColor);
            storeSettingsRow(*gDb, BackColorType, QString::number(colourValue(backColor())));
        }
    } catch (const RuntimeError &) {
    }
}

void DisplayModes::RestoreColor_Click()
{
    setBackColorValue(DesignBackColor);
    storeSettingsRow(*gDb, BackColorType, QString::number(colourValue(backColor())));
}

void DisplayModes::ScrollBarWidth_Click()
{
    try {
        // A work file an earlier version left beside the program goes first.
        const QString workFile = platform::programFolder() + QLatin1Char('/') + ScrollBarWorkFile;
        if (FileExists(workFile))
            KillFile(workFile);

        // The width is this program's own setting, read when it starts: the texts say so
        // rather than speak of rebooting the system or of every other program.
        const QString answer = platform::InputBox(
            QStringLiteral(
                "Enter Scroll Bar Width.  The normal width is 252.  The higher the number,the wider "
                "the scroll bar.  A value of 500 is often a good size for a tablet computer.  You can "
                "enter values from 120 to 1500.  The new width applies to ") +
                gAppName + QStringLiteral(" from the next time you start it."),
            QStringLiteral("Enter new scroll bar width"), QStringLiteral("252"));
        if (answer.isEmpty())
            return;
        const std::optional<double> value = numericAnswer(answer);
        if (!value || *value < NarrowestScrollBar || *value > WidestScrollBar) {
            platform::MsgBox(
                QStringLiteral("The value you supplied is outside the range of allowable values."),
                platform::vbCritical, QStringLiteral("Invalid value"));
            return;
        }
        // Rounded half to even, as the classic integer conversion does.
        const int width = int(std::nearbyint(*value));
        if (!platform::storeScrollBarWidth(width))
            throw RuntimeError(75, QStringLiteral("The scroll bar width could not be stored."));
        platform::MsgBox(QStringLiteral("Scroll Bar Width changed to ") + QString::number(width) +
                         QStringLiteral(".\rThe change will take effect the next time you start ") +
                         gAppName + QStringLiteral("."));
    } catch (const RuntimeError &) {
        platform::MsgBox(QStringLiteral("The scroll bar width could not be stored for ") + gAppName +
                             QStringLiteral(", so nothing was changed."),
                         platform::vbCritical, QStringLiteral("Error - change not made"));
    }
}

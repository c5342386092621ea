#include "mainwindow/MainControls.h"

#include "mainwindow/NameList.h"
#include "platform/db/DataControl.h"
#include "platform/ui/ButtonCaption.h"
#include "platform/ui/Twips.h"

#include <QComboBox>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTextDocument>
#include <QTextOption>
#include <QPainter>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>

using platform::setGeometryTwips;

namespace {

// The exit sign: a white cross on a red plate. Drawn here rather than looked up in the
// desktop's icon themes, a search that took longer than building the rest of the window.
QIcon exitSignIcon()
{
    QPixmap sign(32, 32);
    sign.fill(Qt::transparent);
    QPainter painter(&sign);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(0x80, 0, 0), 1));
    painter.setBrush(QColor(0xd0, 0x20, 0x20));
    painter.drawRoundedRect(QRectF(1.5, 1.5, 29, 29), 5, 5);
    painter.setPen(QPen(Qt::white, 4, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(10, 10), QPointF(22, 22));
    painter.drawLine(QPointF(22, 10), QPointF(10, 22));
    painter.end();
    return QIcon(sign);
}

// Where the controls stand as designed, in twips; the layout moves most of them as the
// window's size changes.
constexpr int GridLeft = 195;
constexpr int GridTop = 1150;
constexpr int DetailHeight = 1180;
constexpr int RecordButtonWidth = 1005;
constexpr int RecordButtonHeight = 375;
constexpr int HeaderHeight = 3504; // the height kept outside the grid
constexpr int MarginWidth = 390;   // the width kept outside the grid
// The toolbar: a row of buttons widened to their captions, then the exit sign.
constexpr int ToolbarLeft = 120;
constexpr int ToolTop = 60;
constexpr int ToolWidth = 840;
constexpr int ToolHeight = 360;
constexpr int ToolGap = 30;
constexpr int ExitSignGap = 60;
constexpr int ExitSignTop = 30;
constexpr int ExitSignSize = 480;

} // namespace

QPushButton *MainControls::button(const QString &name) const
{
    return mButtons.value(name);
}

QPushButton *MainControls::addButton(const QString &name, const QString &caption, const QString &toolTip,
                                     int left, int top, int width, int height)
{
    auto *b = new QPushButton(caption, client);
    b->setObjectName(name);
    if (!toolTip.isEmpty())
        b->setToolTip(toolTip);
    setGeometryTwips(b, left, top, width, height);
    b->setEnabled(mWindow.hasHandler(name));
    QObject::connect(b, &QPushButton::clicked, &mWindow, [this, name] { mWindow.dispatch(name); });
    mButtons.insert(name, b);
    return b;
}

MainControls::MainControls(NameList &window) : mWindow(window)
{
    client = new QWidget(&window);
    client->setObjectName(QStringLiteral("client"));
    client->setAutoFillBackground(true);

    struct Tool {
        const char *name;
        const char *caption;
        const char *tip;
    };
    static const Tool tools[] = {
        {"cmdFind", "Find", "Lets you search for any text in the entire database."},
        {"cmdFilter", "Filter",
         "Displays a screen used to specify criteria for limiting the records displayed."},
        {"cmdCategory", "Category",
         "Displays a screen to define or select categories of records to display."},
        {"cmdAssignCatg", "Assign",
         "Displays a screen to assign the current record to one of your categories."},
        {"cmdReports", "Reports", "Displays the Reports menu."},
        {"cmdEnvelope", "Envelope", "Displays the envelope printing screen."},
        {"cmdClipboard", "Clipboard",
         "Copies the current name and address to the Windows clipboard, so you can paste into other "
         "programs."},
        {"cmdDial", "Phone",
         "Displays a list of all phone numbers for this record, and allows you to dial any of them."},
        {"cmdRemind", "Remind", "Displays the Reminders screen."},
        {"cmdNotes", "Notes", "Display and add notes"},
        {"cmdPictures", "Pictures", "Display or Hide Pictures"},
        {"cmdHelp", "Help", "Displays the Help file."},
        {"cmdShowAll", "Show All",
         "Shows all records in the entire database.  Useful for cancelling previous filtering or category "
         "selections."},
    };
    int left = ToolbarLeft;
    for (const Tool &tool : tools) {
        QPushButton *b = addButton(QString::fromLatin1(tool.name), QString::fromLatin1(tool.caption),
                                   QString::fromLatin1(tool.tip), left, ToolTop, ToolWidth, ToolHeight);
        platform::widenToCaption(b);
        left += qRound(platform::pixelsToTwipsX(b->width())) + ToolGap;
    }
    QPushButton *exitSign = addButton(QStringLiteral("cmdExitSign"), QString(),
                                      QStringLiteral("Ends the program, without asking for confirmation."),
                                      left + ExitSignGap, ExitSignTop, ExitSignSize, ExitSignSize);
    exitSign->setIcon(exitSignIcon());
    exitSign->setIconSize(QSize(32, 32));

    lblLocate = new QLabel(QStringLiteral("Locate:"), client);
    lblLocate->setObjectName(QStringLiteral("lblLocate"));
    setGeometryTwips(lblLocate, GridLeft, 600, 700, 255);
    txtLocate = new QLineEdit(client);
    txtLocate->setObjectName(QStringLiteral("txtLocate"));
    setGeometryTwips(txtLocate, GridLeft + 720, 560, 2400, 285);

    lblCategory = new QLabel(client);
    lblCategory->setObjectName(QStringLiteral("lblCategory"));
    setGeometryTwips(lblCategory, GridLeft + 3220, 600, 4000, 255);

    lblSort = new QLabel(QStringLiteral("Sort by:"), client);
    lblSort->setObjectName(QStringLiteral("lblSort"));
    setGeometryTwips(lblSort, 9000, 470, 2400, 230);
    cmbSort = new QComboBox(client);
    cmbSort->setObjectName(QStringLiteral("cmbSort"));
    cmbSort->setEditable(false);
    cmbSort->setMaxVisibleItems(20);
    setGeometryTwips(cmbSort, 9000, 700, 2400, 315);
    QObject::connect(cmbSort, &QComboBox::activated, &mWindow,
                     [this] { mWindow.dispatch(QStringLiteral("cmbSort")); });

    lblFilterMsg = new QLabel(QStringLiteral("Filter is limiting records displayed."), client);
    lblFilterMsg->setObjectName(QStringLiteral("lblFilterMsg"));
    // Bold warning red, set as the label's own font and text colour: a style sheet would
    // put a second style on the window just for this label.
    QFont bold = lblFilterMsg->font();
    bold.setBold(true);
    lblFilterMsg->setFont(bold);
    QPalette warning = lblFilterMsg->palette();
    warning.setColor(QPalette::WindowText, QColor(0xc0, 0x00, 0x00));
    lblFilterMsg->setPalette(warning);
    lblFilterMsg->setAlignment(Qt::AlignCenter);
    setGeometryTwips(lblFilterMsg, 4000, 900, 3600, 240);
    lblFilterMsg->setVisible(false);

    Data1 = new platform::DataControl(&window);
    Data1->setObjectName(QStringLiteral("Data1"));
    Table1 = new QTableView(client);
    Table1->setObjectName(QStringLiteral("Table1"));
    Table1->setWordWrap(false);
    Table1->setSelectionMode(QAbstractItemView::SingleSelection);
    Table1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Table1->verticalHeader()->setVisible(false);
    setGeometryTwips(Table1, GridLeft, GridTop, DesignClientWidth - MarginWidth,
                     DesignClientHeight - HeaderHeight - 80);

    TextBackground = new QFrame(client);
    TextBackground->setObjectName(QStringLiteral("TextBackground"));
    TextBackground->setFrameShape(QFrame::Panel);
    TextBackground->setFrameShadow(QFrame::Sunken);
    txtName = new QPlainTextEdit(client);
    txtName->setObjectName(QStringLiteral("txtName"));
    txtName->setReadOnly(true);
    txtPhone = new QPlainTextEdit(client);
    txtPhone->setObjectName(QStringLiteral("txtPhone"));
    txtPhone->setReadOnly(true);
    // The boxes show a contact's fields in the order paper prints them: every line reads left
    // to right, whatever its first letter, each right-to-left field in its own isolate.
    for (QPlainTextEdit *box : {txtName, txtPhone}) {
        QTextOption lines = box->document()->defaultTextOption();
        lines.setTextDirection(Qt::LeftToRight);
        box->document()->setDefaultTextOption(lines);
    }
    setGeometryTwips(txtName, 315, 0, 5000, DetailHeight);
    setGeometryTwips(txtPhone, 5000, 0, 5000, DetailHeight);
    setGeometryTwips(TextBackground, GridLeft, 0, 10000, DetailHeight + 110);

    QPushButton *showSelected = addButton(
        QStringLiteral("cmdShowSelected"), QStringLiteral("Show Selected Records Only"),
        QStringLiteral("Shows only the records you have selected; i.e. those with an \"x\" next to them."),
        GridLeft, 0, 2600, 255);
    showSelected->setVisible(false);
    lblSelectedCount = new QLabel(client);
    lblSelectedCount->setObjectName(QStringLiteral("lblSelectedCount"));
    setGeometryTwips(lblSelectedCount, GridLeft + 150, 0, 2400, 240);

    addButton(QStringLiteral("cmdDelete"), QStringLiteral("&Delete"), QString(), 0, 0, RecordButtonWidth,
              RecordButtonHeight);
    addButton(QStringLiteral("cmdAdd"), QStringLiteral("&Add"), QString(), 0, 0, RecordButtonWidth,
              RecordButtonHeight);
    addButton(QStringLiteral("cmdEdit"), QStringLiteral("&View/Edit"), QString(), 0, 0, RecordButtonWidth,
              RecordButtonHeight);
    addButton(QStringLiteral("cmdExit"), QStringLiteral("E&xit"), QString(), 0, 0, RecordButtonWidth,
              RecordButtonHeight);

    lblNotice = new QLabel(client);
    lblNotice->setObjectName(QStringLiteral("lblNotice"));
    lblNotice->setAlignment(Qt::AlignCenter);
    setGeometryTwips(lblNotice, 0, 0, 7000, 240);

    // Measures the layout keeps; never shown.
    lblHeader = new QLabel(client);
    lblHeader->setObjectName(QStringLiteral("lblHeader"));
    setGeometryTwips(lblHeader, 0, 0, 100, HeaderHeight);
    lblHeader->setVisible(false);
    lblMargin = new QLabel(client);
    lblMargin->setObjectName(QStringLiteral("lblMargin"));
    setGeometryTwips(lblMargin, 0, 0, MarginWidth, 100);
    lblMargin->setVisible(false);

    QPalette look = client->palette();
    look.setColor(QPalette::Window, QColor(0x40, 0x80, 0x80)); // the design colour, &H808040
    look.setColor(QPalette::WindowText, Qt::white);
    client->setPalette(look);
}

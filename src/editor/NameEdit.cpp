#include "editor/NameEdit.h"

#include "editor/ContactFields.h"
#include "editor/EditorHooks.h"
#include "editor/FieldRules.h"
#include "editor/GLOBAL.h"
#include "editor/MainListLink.h"
#include "editor/NotesForm.h"
#include "helpers/GLOBAL.h"
#include "helpers/MSendInput.h"
#include "helpers/ValueHelpers.h"
#include "pictures/PictureHandOver.h"
#include "platform/RuntimeError.h"
#include "platform/base/Clock.h"
#include "platform/base/DateText.h"
#include "platform/db/Database.h"
#include "platform/db/Recordset.h"
#include "platform/ui/KeyCodes.h"
#include "platform/ui/MousePointer.h"
#include "platform/ui/MsgBox.h"
#include "platform/ui/Shell.h"
#include "platform/ui/Twips.h"
#include "platform/ui/WholeCharacters.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

#include <functional>

using platform::MsgBox;

namespace {

QPointer<NameEdit> &editorSlot()
{
    static QPointer<NameEdit> slot;
    return slot;
}

const QString PhoneDescTip =
    QStringLiteral("You can change this phone description.  Just click the mouse here and "
                   "type.  Any blue text on this screen can be changed.");
const QString DateDescTip =
    QStringLiteral("You can change this date description.  Just click the mouse here and "
                   "type.  Any blue text on this screen can be changed.");
const QString UserDescTip =
    QStringLiteral("You can change this field label.  Just click the mouse here and type.  "
                   "Any blue text on this screen can be changed.");
const QString AddressDescTip =
    QStringLiteral("You can change this field label. Just click the mouse here and "
                   "type.  Any blue text on this screen can be changed.");

const QString NoNameTitle = QStringLiteral("Critical data was not supplied");
const QString ExistingCaption = QStringLiteral("View/Edit an Existing Record");
const QString NewCaption = QStringLiteral("Add a New Record");

// The key of the main list's current row.
qint64 currentRecordId(MainListLink &list)
{
    return list.Recordset().value(QStringLiteral("RecordID")).toLongLong();
}

QLabel *addLabel(QWidget *parent, const QString &text, const QString &name = QString())
{
    auto *label = new QLabel(text, parent);
    if (!name.isEmpty())
        label->setObjectName(name);
    return label;
}

// Passes the events of the editor's boxes to the editor, apart from the key preview that
// the window itself gets from the application.
class BoxEvents : public QObject {
  public:
    BoxEvents(QObject *parent, std::function<bool(QObject *, QEvent *)> handler)
        : QObject(parent), mHandler(std::move(handler))
    {
    }

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override { return mHandler(watched, event); }

  private:
    std::function<bool(QObject *, QEvent *)> mHandler;
};

// An empty text that the database stores as "" rather than Null.
QVariant storedText(const QString &text)
{
    return QVariant(text.isNull() ? QString::fromLatin1("") : text);
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Opening

void NameEdit::open(MainListLink &list, bool existing, const QString &caption)
{
    gEditor.gEditExistingRecord = existing;
    QPointer<NameEdit> &slot = editorSlot();
    if (slot) {
        slot->unload();
        slot->deleteLater();
    }
    slot = new NameEdit(list);
    slot->load();
    if (!caption.isEmpty())
        slot->setWindowTitle(caption);
    slot->showModal();
    if (slot) {
        if (slot->isLoaded())
            slot->unload();
        slot->deleteLater();
    }
}

NameEdit *NameEdit::loaded()
{
    NameEdit *editor = editorSlot();
    return editor && editor->isLoaded() ? editor : nullptr;
}

NameEdit::NameEdit(MainListLink &list) : mList(list)
{
    setObjectName(QStringLiteral("NameEdit"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    buildDesign();
    setKeyPreview(true);
}

NameEdit::~NameEdit()
{
    // The boxes outlive the editor's own members while the window goes; their events must
    // no longer reach it.
    delete mBoxEvents;
}

QLineEdit *NameEdit::box(const QString &name) const
{
    return mBoxes.value(name, nullptr);
}

QLineEdit *NameEdit::addBox(const QString &name, int maxLength, bool description, const QString &designText,
                            const QString &toolTip)
{
    auto *edit = new QLineEdit(this);
    edit->setObjectName(name);
    edit->setMaxLength(maxLength > 0 ? maxLength : 32767);
    platform::keepCharactersWhole(edit);
    if (description) {
        // Editable labels: blue text on the button face, stored with the contact.
        edit->setProperty("ForeColor", EditableLabelColor);
        edit->setFrame(false);
        QPalette colours = edit->palette();
        colours.setColor(QPalette::Text, QColor(0, 0, 0x80));
        colours.setColor(QPalette::Base, colours.color(QPalette::Button));
        edit->setPalette(colours);
        edit->setText(designText);
        edit->setToolTip(toolTip);
    } else {
        edit->setProperty("ForeColor", 0);
    }
    connect(edit, &QLineEdit::textChanged, this, [] { gEditor.gRecordChanged = true; });
    edit->installEventFilter(mBoxEvents);
    mBoxes.insert(name, edit);
    mBoxOrder.append(edit);
    return edit;
}

void NameEdit::buildDesign()
{
    mBoxEvents =
        new BoxEvents(this, [this](QObject *watched, QEvent *event) { return boxEvent(watched, event); });
    // The fields stand on a page of their own that scrolls when the screen is lower than
    // the editor; the command buttons below it stay in view (placeWindow sizes the window
    // to both, within the screen).
    mPage = new QScrollArea(this);
    mPage->setObjectName(QStringLiteral("NameEditPage"));
    mPage->setFrameShape(QFrame::NoFrame);
    // The page only holds the boxes; the tab order starts with the first of them.
    mPage->setFocusPolicy(Qt::NoFocus);
    mPage->setWidgetResizable(true);
    mPage->setWidget(new QWidget);
    mCommandRows = new QWidget(this);
    auto *shell = new QVBoxLayout(this);
    shell->setContentsMargins(0, 0, 0, 0);
    shell->setSpacing(0);
    shell->addWidget(mPage, 1);
    shell->addWidget(mCommandRows);
    auto *outer = new QVBoxLayout(mPage->widget());
    auto *rows = new QVBoxLayout(mCommandRows);
    rows->setContentsMargins(outer->contentsMargins().left(), 0, outer->contentsMargins().right(),
                             outer->contentsMargins().bottom());
    auto *top = new QHBoxLayout;
    outer->addLayout(top);

    // Names.
    auto *names = new QGroupBox(QStringLiteral("Name"), this);
    auto *namesGrid = new QGridLayout(names);
    const struct {
        const char *label;
        const char *field;
    } nameRows[] = {{"Prefix", "Prefix"},     {"First", "FirstName"},
                    {"Middle", "MiddleName"}, {"Last", "LastName"},
                    {"Suffix", "Suffix"},     {"Nickname", "Nickname"},
                    {"Title", "Title"},       {"Organization", "Organization"}};
    int row = 0;
    for (const auto &r : nameRows) {
        const QString field = QString::fromLatin1(r.field);
        namesGrid->addWidget(addLabel(names, QString::fromLatin1(r.label)), row, 0);
        QLineEdit *edit = addBox(boxNameOf(field), designMaxLength(boxNameOf(field)));
        edit->setParent(names);
        namesGrid->addWidget(edit, row, 1);
        ++row;
    }
    ProperFlag = new QCheckBox(QStringLiteral("Capitalize"), names);
    ProperFlag->setObjectName(QStringLiteral("ProperFlag"));
    namesGrid->addWidget(ProperFlag, row, 1);
    top->addWidget(names);

    // The two addresses.
    const char *addressParts[] = {"Address1", "Address2",   "Address3", "City",
                                  "State",    "PostalCode", "Country"};
    const char *addressLabels[] = {"Address", "", "", "City", "State", "Postal Code", "Country"};
    for (const QString &prefix : {QStringLiteral("First_"), QStringLiteral("Second_")}) {
        auto *group = new QGroupBox(this);
        auto *grid = new QGridLayout(group);
        const bool first = prefix == QLatin1String("First_");
        QLineEdit *desc = addBox(QStringLiteral("txt") + prefix + QStringLiteral("Address_Desc"), 25, true,
                                 first ? QStringLiteral("First Address") : QStringLiteral("Second Address"),
                                 AddressDescTip);
        desc->setParent(group);
        grid->addWidget(desc, 0, 0, 1, 2);
        for (int i = 0; i < 7; ++i) {
            const QString name = QStringLiteral("txt") + prefix + QString::fromLatin1(addressParts[i]);
            grid->addWidget(addLabel(group, QString::fromLatin1(addressLabels[i])), i + 1, 0);
            QLineEdit *edit = addBox(name, designMaxLength(name));
            edit->setParent(group);
            grid->addWidget(edit, i + 1, 1);
        }
        if (!first) {
            cbUseForLabels = new QCheckBox(QStringLiteral("Use for labels?"), group);
            cbUseForLabels->setObjectName(QStringLiteral("cbUseForLabels"));
            cbUseForLabels->setToolTip(
                QStringLiteral("When this box is checked, this address will be printed on "
                               "labels and used for exporting to text files and the "
                               "Clipboard."));
            grid->addWidget(cbUseForLabels, 8, 1);
        }
        top->addWidget(group);
    }

    auto *middle = new QHBoxLayout;
    outer->addLayout(middle);

    // Phones.
    auto *phones = new QGroupBox(QStringLiteral("Phones"), this);
    auto *phoneGrid = new QGridLayout(phones);
    const char *phoneDescs[] = {"Home Phone",   "Work Phone",  "Fax",
                                "Mobile Phone", "Other Phone", "Other Phone"};
    for (int n = 1; n <= 6; ++n) {
        QLineEdit *desc = addBox(QStringLiteral("txtPhone%1_Desc").arg(n), 20, true,
                                 QString::fromLatin1(phoneDescs[n - 1]), PhoneDescTip);
        desc->setParent(phones);
        QLineEdit *phone = addBox(QStringLiteral("txtPhone%1").arg(n), 30);
        phone->setParent(phones);
        phoneGrid->addWidget(desc, n - 1, 0);
        phoneGrid->addWidget(phone, n - 1, 1);
    }
    ImagePhone = new QToolButton(phones);
    ImagePhone->setObjectName(QStringLiteral("ImagePhone"));
    ImagePhone->setText(QStringLiteral("Dial"));
    ImagePhone->setToolTip(
        QStringLiteral("Displays a list of all 6 phone numbers, and allows you to dial any of them."));
    phoneGrid->addWidget(ImagePhone, 6, 0);
    middle->addWidget(phones);

    // Dates.
    auto *dates = new QGroupBox(QStringLiteral("Dates"), this);
    auto *dateGrid = new QGridLayout(dates);
    for (int n = 1; n <= 5; ++n) {
        QLineEdit *date = addBox(QStringLiteral("txtDate%1").arg(n), 0);
        date->setParent(dates);
        QLineEdit *desc = addBox(QStringLiteral("txtDate%1_Desc").arg(n), 25, true,
                                 QStringLiteral("Date %1").arg(n), DateDescTip);
        desc->setParent(dates);
        dateGrid->addWidget(desc, n - 1, 0);
        dateGrid->addWidget(date, n - 1, 1);
    }
    middle->addWidget(dates);

    // E-mail, user fields and code.
    auto *other = new QGroupBox(this);
    auto *otherGrid = new QGridLayout(other);
    otherGrid->addWidget(addLabel(other, QStringLiteral("E-mail")), 0, 0);
    QLineEdit *email = addBox(QStringLiteral("txtEmail_Address"), 255);
    email->setParent(other);
    otherGrid->addWidget(email, 0, 1);
    for (int n = 1; n <= 3; ++n) {
        QLineEdit *desc = addBox(QStringLiteral("txtUserField%1_Desc").arg(n), 25, true,
                                 QStringLiteral("User field %1").arg(n), UserDescTip);
        desc->setParent(other);
        QLineEdit *value = addBox(QStringLiteral("txtUserField%1").arg(n), 255);
        value->setParent(other);
        otherGrid->addWidget(desc, n, 0);
        otherGrid->addWidget(value, n, 1);
    }
    otherGrid->addWidget(addLabel(other, QStringLiteral("Code")), 4, 0);
    QLineEdit *code = addBox(QStringLiteral("txtCode"), 20);
    code->setParent(other);
    otherGrid->addWidget(code, 4, 1);
    otherGrid->addWidget(addLabel(other, QStringLiteral("Today's date:"), QStringLiteral("lblToday")), 5, 0);
    lblTodaysDate = addLabel(other, QString(), QStringLiteral("lblTodaysDate"));
    otherGrid->addWidget(lblTodaysDate, 5, 1);
    otherGrid->addWidget(
        addLabel(other, QStringLiteral("Last updated"), QStringLiteral("lblDateUpdated_Desc")), 6, 0);
    lblDateUpdated = addLabel(other, QString(), QStringLiteral("lblDateUpdated"));
    otherGrid->addWidget(lblDateUpdated, 6, 1);
    middle->addWidget(other);

    // Notes and pictures.
    auto *bottom = new QHBoxLayout;
    outer->addLayout(bottom);
    auto *notes = new QVBoxLayout;
    notes->addWidget(addLabel(this, QStringLiteral("Double-click inside the text box to expand notes."),
                              QStringLiteral("lblNotesInstruction")));
    txtNotes = new QPlainTextEdit(this);
    txtNotes->setObjectName(QStringLiteral("txtNotes"));
    txtNotes->setProperty("Tag", QStringLiteral("txtNotes"));
    txtNotes->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtNotes->setTabChangesFocus(true);
    txtNotes->viewport()->installEventFilter(mBoxEvents);
    connect(txtNotes, &QPlainTextEdit::textChanged, this, [] { gEditor.gRecordChanged = true; });
    notes->addWidget(txtNotes);
    cbPrintNotes = new QCheckBox(QStringLiteral("Print notes"), this);
    cbPrintNotes->setObjectName(QStringLiteral("cbPrintNotes"));
    cbPrintNotes->setChecked(true);
    cbPrintNotes->setToolTip(
        QStringLiteral("Uncheck this box if you do not want this record's Notes printed on reports."));
    notes->addWidget(cbPrintNotes);
    bottom->addLayout(notes, 2);

    auto *pictures = new QGridLayout;
    for (int n = 1; n <= 8; ++n) {
        auto *button = new QPushButton(QStringLiteral("Picture %1").arg(n), this);
        button->setObjectName(QStringLiteral("cmdPicture%1").arg(n));
        button->setAutoDefault(false);
        button->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(button, &QPushButton::clicked, this, [this, n] { cmdPicture_Click(n); });
        connect(button, &QPushButton::customContextMenuRequested, this, [this, n, button](const QPoint &at) {
            cmdPicture_MouseDown(n, Qt::RightButton, button->mapToGlobal(at));
        });
        cmdPicture.append(button);
        QLineEdit *file = addBox(QStringLiteral("txtPic%1File").arg(n), 0);
        pictures->addWidget(button, (n - 1) % 4 * 2, (n - 1) / 4);
        pictures->addWidget(file, (n - 1) % 4 * 2 + 1, (n - 1) / 4);
    }
    bottom->addLayout(pictures, 1);
    mnuFile = new QMenu(QStringLiteral("File"), this);
    mnuFile->setObjectName(QStringLiteral("mnuFile"));
    mnuFilePasteImage = mnuFile->addAction(QStringLiteral("Paste image"));
    mnuFilePasteImage->setObjectName(QStringLiteral("mnuFilePasteImage"));
    connect(mnuFilePasteImage, &QAction::triggered, this, &NameEdit::mnuFilePasteImage_Click);

    // Commands.
    auto *commands = new QHBoxLayout;
    rows->addLayout(commands);
    auto button = [this, commands](const QString &name, const QString &caption) {
        auto *b = new QPushButton(caption, this);
        b->setObjectName(name);
        b->setAutoDefault(false);
        commands->addWidget(b);
        return b;
    };
    cmdPrev = new QToolButton(this);
    cmdPrev->setObjectName(QStringLiteral("cmdPrev"));
    cmdPrev->setIcon(style()->standardIcon(QStyle::SP_ArrowLeft));
    commands->addWidget(cmdPrev);
    cmdNext = new QToolButton(this);
    cmdNext->setObjectName(QStringLiteral("cmdNext"));
    cmdNext->setIcon(style()->standardIcon(QStyle::SP_ArrowRight));
    commands->addWidget(cmdNext);
    cmdSave = button(QStringLiteral("cmdSave"), QStringLiteral("&Save"));
    cmdCancel = button(QStringLiteral("cmdCancel"), QStringLiteral("&Cancel"));
    cmdAddNew = button(QStringLiteral("cmdAddNew"), QStringLiteral("&Add New"));
    cmdAddNew->setToolTip(
        QStringLiteral("Saves your changes, then blanks out the fields so you can add a new record."));
    cmdDelete = button(QStringLiteral("cmdDelete"), QStringLiteral("&Delete"));
    cmdCategories = button(QStringLiteral("cmdCategories"), QStringLiteral("Cate&gories"));
    cmdRemind = button(QStringLiteral("cmdRemind"), QStringLiteral("Create &Reminder"));
    // Neither window exists until its subsystem provides it.
    cmdCategories->setEnabled(bool(EditorHooks::showCategoryAssign));
    cmdRemind->setEnabled(bool(EditorHooks::showReminder));
    ImagePhone->setEnabled(bool(EditorHooks::showDialing));

    auto *templates = new QHBoxLayout;
    rows->addLayout(templates);
    cmdMakeDefault = new QToolButton(this);
    cmdMakeDefault->setObjectName(QStringLiteral("cmdMakeDefault"));
    cmdMakeDefault->setToolTip(
        QStringLiteral("When clicked, this record will be used as a template for new "
                       "records.  All data in this record (except the Name fields) will "
                       "then appear in new records."));
    templates->addWidget(cmdMakeDefault);
    templates->addWidget(addLabel(this, QStringLiteral("Use as template"), QStringLiteral("Label1")));
    cmdClearDefault = new QToolButton(this);
    cmdClearDefault->setObjectName(QStringLiteral("cmdClearDefault"));
    cmdClearDefault->setToolTip(QStringLiteral("This clears the template effect for new records."));
    templates->addWidget(cmdClearDefault);
    templates->addWidget(addLabel(this, QStringLiteral("Clear template"), QStringLiteral("Label2")));
    templates->addStretch();
    ImageKeyboard = new QToolButton(this);
    ImageKeyboard->setObjectName(QStringLiteral("ImageKeyboard"));
    ImageKeyboard->setText(QStringLiteral("Keyboard"));
    templates->addWidget(ImageKeyboard);

    connect(cmdSave, &QPushButton::clicked, this, &NameEdit::cmdSave_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &NameEdit::cmdCancel_Click);
    connect(cmdAddNew, &QPushButton::clicked, this, &NameEdit::cmdAddNew_Click);
    connect(cmdDelete, &QPushButton::clicked, this, &NameEdit::cmdDelete_Click);
    connect(cmdNext, &QToolButton::clicked, this, &NameEdit::cmdNext_Click);
    connect(cmdPrev, &QToolButton::clicked, this, &NameEdit::cmdPrev_Click);
    connect(cmdMakeDefault, &QToolButton::clicked, this, &NameEdit::cmdMakeDefault_Click);
    connect(cmdClearDefault, &QToolButton::clicked, this, &NameEdit::cmdClearDefault_Click);
    connect(cmdCategories, &QPushButton::clicked, this, [] {
        if (EditorHooks::showCategoryAssign)
            EditorHooks::showCategoryAssign();
    });
    connect(cmdRemind, &QPushButton::clicked, this, [this] {
        if (!gEditor.gEditExistingRecord) {
            MsgBox(QStringLiteral("You must save this record before you can associate a reminder with it."),
                   platform::vbCritical, QStringLiteral("Please save this record first"));
            return;
        }
        gEditor.gRemindFromEditor = true;
        if (EditorHooks::showReminder)
            EditorHooks::showReminder();
        gEditor.gRemindFromEditor = false;
    });
    connect(ImagePhone, &QToolButton::clicked, this, [] {
        if (EditorHooks::showDialing)
            EditorHooks::showDialing();
    });
    connect(ImageKeyboard, &QToolButton::clicked, this, &NameEdit::ImageKeyboard_Click);

    // The tab order follows the boxes as they were made, group by group.
    QWidget *previous = nullptr;
    for (QLineEdit *edit : std::as_const(mBoxOrder)) {
        if (edit->objectName().startsWith(QLatin1String("txtPic")))
            continue;
        if (previous)
            setTabOrder(previous, edit);
        previous = edit;
        if (edit->objectName() == QLatin1String("txtOrganization"))
            setTabOrder(edit, ProperFlag), previous = ProperFlag;
    }
    setTabOrder(previous, txtNotes);
    setTabOrder(txtNotes, cbPrintNotes);
}

// ---------------------------------------------------------------------------------------------
// Load and unload

void NameEdit::setDesignLimits()
{
    if (gEditor.gUserField1Size < 255) {
        for (const auto &[name, limit] : shortLimits())
            box(name)->setMaxLength(limit);
    }
    box(QStringLiteral("txtCode"))->setMaxLength(gEditor.gCodeMaxLength);
}

void NameEdit::placeWindow()
{
    // As large as the page wants, but never larger than the screen's free area: a lower
    // screen scrolls the page instead of hiding the command buttons below its edge.
    const QSize page = mPage->widget()->sizeHint();
    const QSize commands = mCommandRows->sizeHint();
    QSize size(qMax(page.width(), commands.width()), page.height() + commands.height());
    // Before its first showing the window's frame is not known yet: room for a usual one.
    const QSize frame = (frameGeometry().size() - geometry().size()).expandedTo(QSize(16, 40));
    const QScreen *screen = this->screen();
    const QRect free = screen ? screen->availableGeometry() : QRect();
    if (screen) {
        const QSize room = free.size() - frame;
        if (size.height() > room.height())
            size.rwidth() += mPage->verticalScrollBar()->sizeHint().width();
        size = size.boundedTo(room);
    }
    resize(size);
    if (gEditor.gEditFormLeft >= 1) {
        platform::moveWindowTwips(this, gEditor.gEditFormLeft, gEditor.gEditFormTop);
        return;
    }
    const int width = platform::windowWidthTwips(this);
    const int height = platform::windowHeightTwips(this);
    const int left = (platform::screenWidthTwips() - width) / 2;
    const int twipsPerPixelX = qRound(platform::pixelsToTwipsX(1));
    const int twipsPerPixelY = qMax(1, int(qRound(platform::pixelsToTwipsY(1))));
    const int heightPixels = platform::screenHeightTwips() / twipsPerPixelY;
    int top = (platform::screenHeightTwips() - height) / 2;
    if ((twipsPerPixelX == 12 && heightPixels < 800) || gTabletMode)
        top = 10;
    else if (screen) {
        // A window nearly as high as the free area keeps its frame, title bar included, on it.
        const int highest = qRound(platform::pixelsToTwipsY(free.y()));
        const int lowest =
            qRound(platform::pixelsToTwipsY(free.bottom() + 1 - size.height() - frame.height()));
        top = qBound(highest, top, qMax(highest, lowest));
    }
    platform::moveWindowTwips(this, left, top);
}

bool NameEdit::showsFindResult() const
{
    return mList.ShowsFindResult();
}

void NameEdit::findInList(const QString &criteria)
{
    mList.Recordset().findFirst(criteria);
}

void NameEdit::Form_Load()
{
    try {
        setDesignLimits();
        if (!gTabletMode)
            ImageKeyboard->hide();
        gEditor.gLastDateBox = 0;
        placeWindow();
        if (showsFindResult()) {
            cmdAddNew->hide();
            cmdDelete->hide();
        }
        if (mList.ShowsSelectedOnly())
            cmdAddNew->hide();
        lblTodaysDate->setText(platform::shortDateText(platform::today()));
        gEditor.gDialFromList = false;
        gEditor.gRecordSaved = false;
        gEditor.gRecordChanged = false;
        if (gEditor.gEditExistingRecord) {
            cmdCategories->show();
            gEditor.gFindCriteria = QStringLiteral("RecordID = ") + QString::number(currentRecordId(mList));
            findInList(gEditor.gFindCriteria);
            MoveDataToForm();
            if (box(QStringLiteral("txtPhone6_Desc"))->text().isEmpty())
                box(QStringLiteral("txtPhone6_Desc"))->setText(QStringLiteral("Other Phone"));
            if (box(QStringLiteral("txtUserField3_Desc"))->text().isEmpty())
                box(QStringLiteral("txtUserField3_Desc"))->setText(QStringLiteral("User Field 3"));
            gEditor.gRecordChanged = false;
        } else {
            cmdCategories->hide();
            if (gEditor.gTemplateRecordID.toLongLong() > 0) {
                gEditor.gFindCriteria =
                    QStringLiteral("RecordID = ") + QString::number(gEditor.gTemplateRecordID.toLongLong());
                findInList(gEditor.gFindCriteria);
                if (mList.Recordset().noMatch()) {
                    gEditor.gTemplateRecordID = 0;
                } else {
                    MoveDataToForm();
                    blankNameBoxes(true);
                    clearUpdateStamp();
                }
            }
        }
        platform::setMousePointer(platform::MousePointer::Default);
    } catch (const platform::RuntimeError &e) {
        reportError(e.description(), e.number());
        unload();
        platform::setMousePointer(platform::MousePointer::Default);
    }
}

void NameEdit::reportError(const QString &description, int number)
{
    MsgBox(description + QStringLiteral(" - Error number:") + QString::number(number));
}

void NameEdit::Form_Unload(bool &cancel)
{
    const QPoint corner = frameGeometry().topLeft();
    gEditor.gEditFormLeft = qRound(platform::pixelsToTwipsX(corner.x()));
    gEditor.gEditFormTop = qRound(platform::pixelsToTwipsY(corner.y()));

    // Any change not stored yet is asked about, also after an earlier save in this opening.
    if (gEditor.gRecordChanged) {
        int answer;
        if (gPictureHandOver.gPictureChanged) {
            answer = MsgBox(
                QStringLiteral("You changed a picture linked to this record.  If you proceed, the file "
                               "names shown under the Picture buttons will revert to the OLD file "
                               "names, causing confusion and breaking this picture link.  It is "
                               "strongly recommended you click NO here and then SAVE this record "
                               "instead.\r\rLose your changes?"),
                platform::vbYesNo | platform::vbExclamation | platform::vbDefaultButton2,
                QStringLiteral(" Warning - Picture was changed"));
        } else {
            answer = MsgBox(QStringLiteral("Lose any changes?"), platform::vbYesNo | platform::vbQuestion,
                            QStringLiteral("Confirmation"));
        }
        if (answer != platform::vbYes) {
            cancel = true;
            return;
        }
        gPictureHandOver.gPictureChanged = false;
        gEditor.gRecordChanged = false;
    }
    if (!gEditor.gRecordSaved)
        return;
    gPictureHandOver.gPictureChanged = false;
    if (!showsFindResult()) {
        mList.Refresh();
        platform::Recordset &rs = mList.Recordset();
        if (rs.recordCount() > 0) {
            rs.moveLast();
            rs.moveFirst();
        }
    }
    if (mList.Recordset().recordCount() > 0)
        findInList(QStringLiteral("RecordID=") + QString::number(gEditor.gLastSavedRecordID));
    QCoreApplication::processEvents();
    if (gEditor.gNewRecordAdded && gEditor.gAssignCategoryOnAdd == 1 && EditorHooks::showCategoryAssign)
        EditorHooks::showCategoryAssign();
    gEditor.gNewRecordAdded = false;
}

void NameEdit::Form_KeyDown(int &keyCode, Qt::KeyboardModifiers shift)
{
    Q_UNUSED(shift);
    QWidget *focused = focusWidget();
    if (focused && focused->property("Tag").toString() == QLatin1String("txtNotes"))
        return;
    if (keyCode == Qt::Key_Return || keyCode == Qt::Key_Enter || keyCode == Qt::Key_Down)
        SendKeysInput(QStringLiteral("{Tab}"), false);
    else if (keyCode == Qt::Key_Up)
        SendKeysInput(QStringLiteral("+{Tab}"), false);
}

void NameEdit::Form_KeyPress(int &keyAscii)
{
    if (keyAscii == platform::CharEscape) {
        unload();
        keyAscii = platform::KeyCancelled;
        return;
    }
    QWidget *focused = focusWidget();
    const bool inNotes = focused && focused->property("Tag").toString() == QLatin1String("txtNotes");
    if (!inNotes && keyAscii == platform::CharEnter) {
        keyAscii = platform::KeyCancelled;
        return;
    }
    if (focused)
        capitalizeKey(focused, keyAscii);
}

void NameEdit::capitalizeKey(QWidget *focused, int &keyAscii)
{
    auto *edit = qobject_cast<QLineEdit *>(focused);
    if (!edit || !ProperFlag->isChecked())
        return;
    const QString name = edit->objectName();
    if (isStateBox(name))
        keyAscii = stateKey(keyAscii);
    else if (isWordCapitalBox(name))
        keyAscii = wordStartKey(edit->text(), keyAscii);
}

void NameEdit::ImageKeyboard_Click()
{
    if (gTabletMode)
        platform::startOnScreenKeyboard();
}

// ---------------------------------------------------------------------------------------------
// Field events

bool NameEdit::boxEvent(QObject *watched, QEvent *event)
{
    if (txtNotes && watched == txtNotes->viewport() && event->type() == QEvent::MouseButtonDblClick) {
        txtNotes_DblClick();
        return true;
    }
    auto *edit = qobject_cast<QLineEdit *>(watched);
    if (edit && mBoxes.value(edit->objectName()) == edit) {
        const QString name = edit->objectName();
        if (event->type() == QEvent::MouseButtonDblClick && isLinkBox(name)) {
            QString linkText = edit->text();
            OpenEmailOrWebLink(linkText);
            return true;
        }
        if (event->type() == QEvent::FocusOut) {
            const int n = dateBoxNumber(name);
            const auto reason = static_cast<QFocusEvent *>(event)->reason();
            if (n > 0 && reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason &&
                isLoaded())
                txtDate_LostFocus(n);
        }
    }
    return false;
}

void NameEdit::txtDate_LostFocus(int n)
{
    if (mCheckingDate)
        return;
    QLineEdit *date = box(QStringLiteral("txtDate%1").arg(n));
    const QString text = date->text();
    if (isDateText(text)) {
        gEditor.gLastDateBox = n;
        return;
    }
    if (text.isEmpty())
        return;
    // Leaving the box for Save (or a command that saves) is checked by that save: one
    // message, not one here and another there.
    if (savesWhenClicked(QApplication::focusWidget()))
        return;
    tellInvalidDate(date);
}

void NameEdit::OpenEmailOrWebLink(QString &LinkText)
{
    const LinkTarget target = linkTargetOf(LinkText);
    if (target.kind == LinkTarget::None)
        return;
    if (target.kind == LinkTarget::Web)
        LinkText = target.address;
    if (!platform::openLink(target.address) && !platform::isShellLink(target.address)) {
        // Only web and e-mail addresses are handed to the shell; anything else is refused here.
        if (target.kind == LinkTarget::Mail)
            MsgBox(QStringLiteral("Unable to communicate with your e-mail program.  ") + NotALinkDescription +
                   QStringLiteral(" (Error ") + QString::number(NotALinkError) + QStringLiteral(")"));
        else
            MsgBox(QStringLiteral("Unable to open ") + target.address + QStringLiteral("    ") +
                   NotALinkDescription + QStringLiteral(" (Error ") + QString::number(NotALinkError) +
                   QStringLiteral(")"));
    }
}

void NameEdit::txtNotes_DblClick()
{
    NotesForm::open(*txtNotes);
    QTextCursor cursor = txtNotes->textCursor();
    cursor.setPosition(0);
    txtNotes->setTextCursor(cursor);
}

// ---------------------------------------------------------------------------------------------
// Moving a contact between the main list's current row and the boxes

void NameEdit::MoveDataToForm()
{
    platform::Recordset &rs = mList.Recordset();
    for (const QString &field : loadOrder()) {
        const QVariant value = rs.value(field);
        if (field == QLatin1String("AddressForLabels")) {
            cbUseForLabels->setChecked(!IsNull(value) && value.toInt() == 2);
        } else if (field == QLatin1String("DateUpdated")) {
            lblDateUpdated->setText(fieldText(value));
        } else if (field == QLatin1String("PrintNotes")) {
            cbPrintNotes->setChecked(!IsNull(value) && value.toInt() != 0);
        } else if (field == QLatin1String("Notes")) {
            txtNotes->setPlainText(fieldText(value));
        } else {
            box(boxNameOf(field))->setText(fieldText(value));
        }
    }
    gEditor.gRecordChanged = false;
}

void NameEdit::MoveFormToData()
{
    std::unique_ptr<platform::Recordset> rs =
        mList.Database().openRecordset(QStringLiteral("tblContacts"), platform::RecordsetType::Table);
    rs->setIndex(QStringLiteral("PrimaryKey"));
    const bool adding = !gEditor.gEditExistingRecord;
    if (adding) {
        rs->addNew();
    } else {
        rs->seek(QStringLiteral("="), currentRecordId(mList));
        rs->edit();
    }
    for (const QString &field : saveOrder()) {
        QVariant value;
        if (field == QLatin1String("AddressForLabels"))
            value = cbUseForLabels->isChecked() ? 2 : 1;
        else if (field == QLatin1String("DateUpdated"))
            value = platform::now();
        else if (field == QLatin1String("PrintNotes"))
            value = cbPrintNotes->isChecked();
        else if (field == QLatin1String("Notes"))
            value = storedText(storedLineEnds(txtNotes->toPlainText()));
        else if (isPictureField(field))
            value = EmptyToNull(Trim(box(boxNameOf(field))->text()));
        else if (isDateField(field))
            value = EmptyToNull(box(boxNameOf(field))->text());
        else
            value = storedText(box(boxNameOf(field))->text());
        rs->setValue(field, value);
    }
    rs->update();
    // Only a stored row counts: a refused add or edit leaves the flags as they were.
    rs->setBookmark(rs->lastModified());
    gEditor.gLastSavedRecordID = rs->value(QStringLiteral("RecordID")).toLongLong();
    if (adding)
        gEditor.gNewRecordAdded = true;
    rs->close();
}

// ---------------------------------------------------------------------------------------------
// Record commands

bool NameEdit::hasNoName() const
{
    return contactHasNoName(box(QStringLiteral("txtLastName"))->text(),
                            box(QStringLiteral("txtFirstName"))->text(),
                            box(QStringLiteral("txtOrganization"))->text());
}

// The Save button: the contact is stored and the editor closes; its unload puts the main
// list on the stored contact. A contact that cannot be stored keeps the editor open.
void NameEdit::cmdSave_Click()
{
    if (storeContact())
        unload();
}

// What every save shares, the button's and the one Add New, Next and Previous make before
// they move on: the checks, the row, and the category link of a new contact.
bool NameEdit::storeContact()
{
    if (hasNoName()) {
        MsgBox(QStringLiteral("You cannot add a record that does not have a Name or an Organization."),
               platform::vbExclamation, NoNameTitle);
        return false;
    }
    // A date the engine would refuse is told in the editor's own words, once, before anything
    // is written.
    if (QLineEdit *date = firstInvalidDateBox()) {
        tellInvalidDate(date);
        return false;
    }
    platform::BusyPointer busy;
    try {
        MoveFormToData();
        gEditor.gRecordSaved = true;
        gEditor.gRecordChanged = false;
        if (gEditor.gNewRecordAdded) {
            const qint64 category = mList.CategoryShown();
            if (category >= 0) {
                std::unique_ptr<platform::Recordset> links = mList.Database().openRecordset(
                    QStringLiteral("tblCategoryID"), platform::RecordsetType::Table);
                links->addNew();
                links->setValue(QStringLiteral("ID"), gEditor.gLastSavedRecordID);
                links->setValue(QStringLiteral("CategoryNumber"), category);
                links->update();
                links->close();
            }
        }
        return true;
    } catch (const platform::RuntimeError &e) {
        // What was typed stays in the boxes, so the user can correct it and save again.
        busy.release();
        reportError(e.description(), e.number());
        return false;
    }
}

// The save of Add New, Next and Previous: the editor stays open, and the main list, run
// again, stands on the stored contact for the move that follows.
bool NameEdit::saveAndStay()
{
    if (!storeContact())
        return false;
    showStoredContactInList();
    return true;
}

void NameEdit::showStoredContactInList()
{
    platform::BusyPointer busy;
    try {
        mList.Refresh();
        findInList(QStringLiteral("RecordID=") + QString::number(gEditor.gLastSavedRecordID));
        gEditor.gNewRecordAdded = false;
    } catch (const platform::RuntimeError &e) {
        busy.release();
        reportError(e.description(), e.number());
    }
}

QLineEdit *NameEdit::firstInvalidDateBox() const
{
    for (int n = 1; n <= 5; ++n) {
        QLineEdit *date = box(QStringLiteral("txtDate%1").arg(n));
        if (!date->text().isEmpty() && !isDateText(date->text()))
            return date;
    }
    return nullptr;
}

void NameEdit::tellInvalidDate(QLineEdit *date)
{
    mCheckingDate = true;
    MsgBox(QStringLiteral("Invalid date"), platform::vbExclamation, QStringLiteral(" "));
    date->setFocus(Qt::OtherFocusReason);
    mCheckingDate = false;
}

// The commands whose click saves a changed contact first, and so checks its dates then.
bool NameEdit::savesWhenClicked(const QWidget *control) const
{
    return control && (control == cmdSave || control == cmdAddNew || control == cmdNext || control == cmdPrev);
}

void NameEdit::cmdCancel_Click()
{
    unload();
}

void NameEdit::blankNameBoxes(bool withNameParts)
{
    QStringList names = {QStringLiteral("txtFirstName"), QStringLiteral("txtMiddleName"),
                         QStringLiteral("txtLastName")};
    if (withNameParts)
        names << QStringLiteral("txtPrefix") << QStringLiteral("txtSuffix") << QStringLiteral("txtNickname")
              << QStringLiteral("txtTitle");
    for (const QString &name : names)
        box(name)->clear();
}

void NameEdit::emptyDataBoxes()
{
    for (QLineEdit *edit : std::as_const(mBoxOrder)) {
        if (edit->objectName().startsWith(QLatin1String("txtPic")) ||
            edit->property("ForeColor").toInt() != EditableLabelColor)
            edit->clear();
    }
    txtNotes->clear();
}

// A new contact has not been stored yet: the stamp of the contact shown before it, or of the
// template it was filled from, is not its own.
void NameEdit::clearUpdateStamp()
{
    lblDateUpdated->clear();
}

void NameEdit::cmdAddNew_Click()
{
    if (gEditor.gRecordChanged) {
        // A contact that could not be stored keeps what was typed.
        if (!saveAndStay())
            return;
        gEditor.gRecordChanged = false;
    }
    try {
        setWindowTitle(NewCaption);
        gEditor.gEditExistingRecord = false;
        cmdCategories->hide();
        bool blank = true;
        if (gEditor.gTemplateRecordID.toLongLong() > 0) {
            gEditor.gFindCriteria =
                QStringLiteral("RecordID = ") + QString::number(gEditor.gTemplateRecordID.toLongLong());
            findInList(gEditor.gFindCriteria);
            if (!mList.Recordset().noMatch()) {
                MoveDataToForm();
                blankNameBoxes(false);
                blank = false;
            } else {
                gEditor.gTemplateRecordID = 0;
                emptyDataBoxes();
                blank = false;
            }
        }
        if (blank) {
            emptyDataBoxes();
            gEditor.gRecordChanged = false;
        }
        clearUpdateStamp();
        box(QStringLiteral("txtFirstName"))->setFocus();
    } catch (const platform::RuntimeError &e) {
        platform::setMousePointer(platform::MousePointer::Default);
        reportError(e.description(), e.number());
        unload();
    }
}

void NameEdit::cmdDelete_Click()
{
    if (!gEditor.gEditExistingRecord) {
        MsgBox(QStringLiteral("You cannot delete a record before you add it!"), platform::vbCritical,
               QStringLiteral("New record not saved yet"));
        return;
    }
    if (hasNoName()) {
        MsgBox(QStringLiteral("Name and Organization are blank."), platform::vbInformation,
               QStringLiteral("No record deleted"));
        return;
    }
    try {
        platform::Recordset &rs = mList.Recordset();
        const QString stored = deleteConfirmationName(
            rs.value(QStringLiteral("FirstName")), rs.value(QStringLiteral("MiddleName")),
            rs.value(QStringLiteral("LastName")), rs.value(QStringLiteral("Organization")));
        if (MsgBox(QStringLiteral("Are you sure you want to delete this record?\r(") + stored +
                       QStringLiteral(")"),
                   platform::vbYesNo | platform::vbQuestion,
                   QStringLiteral("Confirmation")) != platform::vbYes)
            return;
        const qint64 key = currentRecordId(mList);
        const QString deleteSql =
            QStringLiteral("DELETE FROM tblContacts WHERE RecordID = ") + QString::number(key);
        if (rs.recordCount() == 1) {
            mList.Database().execute(deleteSql);
            mList.Refresh();
            // The contact is gone: there is nothing left to lose.
            gEditor.gRecordChanged = false;
            unload();
            return;
        }
        platform::Bookmark next;
        rs.moveNext();
        if (rs.eof()) {
            rs.moveLast();
            rs.movePrevious();
            next = rs.bookmark();
            rs.moveNext();
        } else {
            next = rs.bookmark();
            rs.movePrevious();
        }
        mList.Database().execute(deleteSql);
        rs.setBookmark(next);
        const qint64 shown = currentRecordId(mList);
        mList.Refresh();
        findInList(QStringLiteral("RecordID = ") + QString::number(shown));
        MoveDataToForm();
    } catch (const platform::RuntimeError &e) {
        MsgBox(e.description());
    }
}

bool NameEdit::readyToMove()
{
    if (mList.Recordset().recordCount() == 0) {
        MsgBox(QStringLiteral("There are no records to display in the current selection.  Add some records "
                              "first."),
               platform::vbInformation, QStringLiteral("No records to display"));
        return false;
    }
    if (gEditor.gRecordChanged) {
        if (hasNoName()) {
            MsgBox(QStringLiteral("You have made changes to the existing record, but it cannot be saved "
                                  "because it does not have a Name or an Organization."),
                   platform::vbExclamation, NoNameTitle);
            return false;
        }
        // A contact that could not be stored stays on screen as typed.
        if (!saveAndStay())
            return false;
        gEditor.gRecordChanged = false;
    }
    setWindowTitle(ExistingCaption);
    gEditor.gEditExistingRecord = true;
    return true;
}

void NameEdit::cmdNext_Click()
{
    try {
        if (!readyToMove())
            return;
        platform::Recordset &rs = mList.Recordset();
        rs.moveNext();
        if (rs.eof())
            rs.moveLast();
        cmdCategories->show();
        MoveDataToForm();
    } catch (const platform::RuntimeError &e) {
        MsgBox(e.description());
    }
}

void NameEdit::cmdPrev_Click()
{
    try {
        if (!readyToMove())
            return;
        platform::Recordset &rs = mList.Recordset();
        const qint64 key = currentRecordId(mList);
        rs.movePrevious();
        if (rs.bof()) {
            rs.moveFirst();
        } else {
            const platform::Bookmark reached = rs.bookmark();
            rs.moveFirst();
            if (currentRecordId(mList) != key)
                rs.setBookmark(reached);
        }
        cmdCategories->show();
        MoveDataToForm();
    } catch (const platform::RuntimeError &e) {
        MsgBox(e.description());
    }
}

void NameEdit::cmdMakeDefault_Click()
{
    if (!gEditor.gEditExistingRecord) {
        MsgBox(QStringLiteral("You must save this record first before you can make it the default template."),
               platform::vbOKOnly, QStringLiteral("Must save record first"));
        return;
    }
    try {
        gEditor.gTemplateRecordID = currentRecordId(mList);
        writeTemplateSetting(mList.Database(), gEditor.gTemplateRecordID.toLongLong());
        MsgBox(
            QStringLiteral("This record will be used as a template for new records.  All data in this record "
                           "(except the Name fields) will now appear in new records."),
            platform::vbOKOnly, QStringLiteral("Template Saved"));
    } catch (const platform::RuntimeError &e) {
        MsgBox(e.description());
    }
}

void NameEdit::cmdClearDefault_Click()
{
    try {
        gEditor.gTemplateRecordID = 0;
        writeTemplateSetting(mList.Database(), 0);
        MsgBox(QStringLiteral("Template reset to original default."), platform::vbOKOnly,
               QStringLiteral("Template Cleared"));
    } catch (const platform::RuntimeError &e) {
        MsgBox(e.description());
    }
}

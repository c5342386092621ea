#include "editor/EditorPage.h"

#include "editor/ContactFields.h"
#include "editor/EditorHooks.h"
#include "editor/FieldRules.h"
#include "editor/GLOBAL.h"
#include "editor/NotesForm.h"
#include "helpers/NotesText.h"
#include "platform/base/Clock.h"
#include "platform/base/DateText.h"
#include "platform/ui/MsgBox.h"
#include "platform/ui/Shell.h"
#include "platform/ui/WholeCharacters.h"

#include <QCheckBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <QToolButton>
#include <QVBoxLayout>

using platform::MsgBox;

namespace {

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

// Text colour of the editable labels on screen: dark blue on the button face.
const QColor EditableLabelText(0, 0, 0x80);

constexpr int PhoneCount = 6;
constexpr int DateCount = 5;
constexpr int UserFieldCount = 3;
constexpr int AddressPartCount = 7;

QLabel *addLabel(QWidget *parent, const QString &text, const QString &name = QString())
{
    auto *label = new QLabel(text, parent);
    if (!name.isEmpty())
        label->setObjectName(name);
    return label;
}

// Passes the events of the editor's boxes to the page, apart from the key preview that
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

} // namespace

EditorPage::EditorPage(QWidget &window, std::function<void(int)> dateLeft)
    : mWindow(window), mDateLeft(std::move(dateLeft))
{
    mBoxEvents = new BoxEvents(&window, [this](QObject *watched, QEvent *event) { return boxEvent(watched, event); });
}

EditorPage::~EditorPage()
{
    // The boxes outlive the page while the window goes; their events must no longer reach it.
    delete mBoxEvents;
}

QLineEdit *EditorPage::box(const QString &name) const
{
    return mBoxes.value(name, nullptr);
}

QLineEdit *EditorPage::addBox(QWidget *parent, const QString &name, int maxLength, bool description,
                              const QString &designText, const QString &toolTip)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setMaxLength(maxLength > 0 ? maxLength : 32767);
    platform::keepCharactersWhole(edit);
    // Editable labels, stored with the contact, and the picture names (which the user may
    // blank out) are blue text on the button face; the labels have no frame.
    const bool blue = description || name.startsWith(QLatin1String("txtPic"));
    edit->setProperty("ForeColor", blue ? EditableLabelColor : 0);
    if (blue) {
        QPalette colours = edit->palette();
        colours.setColor(QPalette::Text, EditableLabelText);
        colours.setColor(QPalette::Base, colours.color(QPalette::Button));
        edit->setPalette(colours);
    }
    if (description) {
        edit->setFrame(false);
        edit->setText(designText);
        edit->setToolTip(toolTip);
    }
    QObject::connect(edit, &QLineEdit::textChanged, &mWindow, [] { gEditor.gRecordChanged = true; });
    edit->installEventFilter(mBoxEvents);
    mBoxes.insert(name, edit);
    mBoxOrder.append(edit);
    return edit;
}

QHBoxLayout *EditorPage::build()
{
    mPage = new QScrollArea(&mWindow);
    mPage->setObjectName(QStringLiteral("NameEditPage"));
    mPage->setFrameShape(QFrame::NoFrame);
    // The page only holds the boxes; the tab order starts with the first of them.
    mPage->setFocusPolicy(Qt::NoFocus);
    mPage->setWidgetResizable(true);
    mPage->setWidget(new QWidget);
    mGroups = new QVBoxLayout(mPage->widget());

    auto *top = new QHBoxLayout;
    mGroups->addLayout(top);
    top->addWidget(namesGroup());
    top->addWidget(addressGroup(QStringLiteral("First_")));
    top->addWidget(addressGroup(QStringLiteral("Second_")));

    auto *middle = new QHBoxLayout;
    mGroups->addLayout(middle);
    middle->addWidget(phonesGroup());
    middle->addWidget(datesGroup());
    middle->addWidget(otherFieldsGroup());

    auto *bottom = new QHBoxLayout;
    mGroups->addLayout(bottom);
    // The notes take two parts of the row's width, the picture strip beside them one.
    bottom->addLayout(notesColumn(), 2);
    return bottom;
}

QWidget *EditorPage::namesGroup()
{
    auto *names = new QGroupBox(QStringLiteral("Name"), &mWindow);
    auto *namesGrid = new QGridLayout(names);
    const struct {
        const char *label;
        const char *field;
    } nameRows[] = {{"Prefix", "Prefix"},     {"First", "FirstName"},
                    {"Middle", "MiddleName"}, {"Last", "LastName"},
                    {"Suffix", "Suffix"},     {"Nickname", "Nickname"},
                    {"Title", "Title"},       {"Organization", "Organization"}};
    int line = 0;
    for (const auto &r : nameRows) {
        const QString field = QString::fromLatin1(r.field);
        namesGrid->addWidget(addLabel(names, QString::fromLatin1(r.label)), line, 0);
        namesGrid->addWidget(addBox(names, boxNameOf(field), designMaxLength(boxNameOf(field))), line, 1);
        ++line;
    }
    ProperFlag = new QCheckBox(QStringLiteral("Capitalize"), names);
    ProperFlag->setObjectName(QStringLiteral("ProperFlag"));
    namesGrid->addWidget(ProperFlag, line, 1);
    return names;
}

QWidget *EditorPage::addressGroup(const QString &prefix)
{
    const char *addressParts[AddressPartCount] = {"Address1", "Address2",   "Address3", "City",
                                                  "State",    "PostalCode", "Country"};
    const char *addressLabels[AddressPartCount] = {"Address", "", "", "City", "State", "Postal Code", "Country"};
    auto *group = new QGroupBox(&mWindow);
    auto *grid = new QGridLayout(group);
    const bool first = prefix == QLatin1String("First_");
    // The description on the first line, the parts below it, the labels check last.
    grid->addWidget(addBox(group, QStringLiteral("txt") + prefix + QStringLiteral("Address_Desc"), 25, true,
                           first ? QStringLiteral("First Address") : QStringLiteral("Second Address"),
                           AddressDescTip),
                    0, 0, 1, 2);
    for (int i = 0; i < AddressPartCount; ++i) {
        const QString name = QStringLiteral("txt") + prefix + QString::fromLatin1(addressParts[i]);
        grid->addWidget(addLabel(group, QString::fromLatin1(addressLabels[i])), i + 1, 0);
        grid->addWidget(addBox(group, name, designMaxLength(name)), i + 1, 1);
    }
    if (!first) {
        cbUseForLabels = new QCheckBox(QStringLiteral("Use for labels?"), group);
        cbUseForLabels->setObjectName(QStringLiteral("cbUseForLabels"));
        cbUseForLabels->setToolTip(QStringLiteral("When this box is checked, this address will be printed on "
                                                  "labels and used for exporting to text files and the "
                                                  "Clipboard."));
        grid->addWidget(cbUseForLabels, AddressPartCount + 1, 1);
    }
    return group;
}

QWidget *EditorPage::phonesGroup()
{
    auto *phones = new QGroupBox(QStringLiteral("Phones"), &mWindow);
    auto *phoneGrid = new QGridLayout(phones);
    const char *phoneDescs[PhoneCount] = {"Home Phone",   "Work Phone",  "Fax",
                                          "Mobile Phone", "Other Phone", "Other Phone"};
    for (int n = 1; n <= PhoneCount; ++n) {
        QLineEdit *desc = addBox(phones, QStringLiteral("txtPhone%1_Desc").arg(n), 20, true,
                                 QString::fromLatin1(phoneDescs[n - 1]), PhoneDescTip);
        QLineEdit *phone = addBox(phones, QStringLiteral("txtPhone%1").arg(n), 30);
        phoneGrid->addWidget(desc, n - 1, 0);
        phoneGrid->addWidget(phone, n - 1, 1);
    }
    ImagePhone = new QToolButton(phones);
    ImagePhone->setObjectName(QStringLiteral("ImagePhone"));
    ImagePhone->setText(QStringLiteral("Dial"));
    ImagePhone->setToolTip(
        QStringLiteral("Displays a list of all 6 phone numbers, and allows you to dial any of them."));
    // The dialling window does not exist until its subsystem provides it.
    ImagePhone->setEnabled(bool(EditorHooks::showDialing));
    QObject::connect(ImagePhone, &QToolButton::clicked, &mWindow, [] {
        if (EditorHooks::showDialing)
            EditorHooks::showDialing();
    });
    phoneGrid->addWidget(ImagePhone, PhoneCount, 0);
    return phones;
}

QWidget *EditorPage::datesGroup()
{
    auto *dates = new QGroupBox(QStringLiteral("Dates"), &mWindow);
    auto *dateGrid = new QGridLayout(dates);
    for (int n = 1; n <= DateCount; ++n) {
        QLineEdit *date = addBox(dates, QStringLiteral("txtDate%1").arg(n), 0);
        QLineEdit *desc =
            addBox(dates, QStringLiteral("txtDate%1_Desc").arg(n), 25, true, QStringLiteral("Date %1").arg(n), DateDescTip);
        dateGrid->addWidget(desc, n - 1, 0);
        dateGrid->addWidget(date, n - 1, 1);
    }
    return dates;
}

QWidget *EditorPage::otherFieldsGroup()
{
    // E-mail on the first line, the user fields below it, then the code and the two stamps.
    auto *other = new QGroupBox(&mWindow);
    auto *otherGrid = new QGridLayout(other);
    otherGrid->addWidget(addLabel(other, QStringLiteral("E-mail")), 0, 0);
    otherGrid->addWidget(addBox(other, QStringLiteral("txtEmail_Address"), 255), 0, 1);
    for (int n = 1; n <= UserFieldCount; ++n) {
        QLineEdit *desc = addBox(other, QStringLiteral("txtUserField%1_Desc").arg(n), 25, true,
                                 QStringLiteral("User field %1").arg(n), UserDescTip);
        QLineEdit *value = addBox(other, QStringLiteral("txtUserField%1").arg(n), 255);
        otherGrid->addWidget(desc, n, 0);
        otherGrid->addWidget(value, n, 1);
    }
    const int codeLine = UserFieldCount + 1;
    otherGrid->addWidget(addLabel(other, QStringLiteral("Code")), codeLine, 0);
    otherGrid->addWidget(addBox(other, QStringLiteral("txtCode"), 20), codeLine, 1);
    otherGrid->addWidget(addLabel(other, QStringLiteral("Today's date:"), QStringLiteral("lblToday")), codeLine + 1, 0);
    lblTodaysDate = addLabel(other, QString(), QStringLiteral("lblTodaysDate"));
    otherGrid->addWidget(lblTodaysDate, codeLine + 1, 1);
    otherGrid->addWidget(addLabel(other, QStringLiteral("Last updated"), QStringLiteral("lblDateUpdated_Desc")),
                         codeLine + 2, 0);
    lblDateUpdated = addLabel(other, QString(), QStringLiteral("lblDateUpdated"));
    otherGrid->addWidget(lblDateUpdated, codeLine + 2, 1);
    return other;
}

QVBoxLayout *EditorPage::notesColumn()
{
    auto *notes = new QVBoxLayout;
    notes->addWidget(addLabel(&mWindow, QStringLiteral("Double-click inside the text box to expand notes."),
                              QStringLiteral("lblNotesInstruction")));
    txtNotes = new QPlainTextEdit(&mWindow);
    txtNotes->setObjectName(QStringLiteral("txtNotes"));
    txtNotes->setProperty("Tag", QStringLiteral("txtNotes"));
    txtNotes->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtNotes->viewport()->installEventFilter(mBoxEvents);
    QObject::connect(txtNotes, &QPlainTextEdit::textChanged, &mWindow, [] { gEditor.gRecordChanged = true; });
    notes->addWidget(txtNotes);
    cbPrintNotes = new QCheckBox(QStringLiteral("Print notes"), &mWindow);
    cbPrintNotes->setObjectName(QStringLiteral("cbPrintNotes"));
    cbPrintNotes->setChecked(true);
    cbPrintNotes->setToolTip(
        QStringLiteral("Uncheck this box if you do not want this record's Notes printed on reports."));
    notes->addWidget(cbPrintNotes);
    return notes;
}

void EditorPage::orderTabs()
{
    // The tab order follows the boxes as they were made, group by group.
    QWidget *previous = nullptr;
    for (QLineEdit *edit : std::as_const(mBoxOrder)) {
        if (edit->objectName().startsWith(QLatin1String("txtPic")))
            continue;
        if (previous)
            QWidget::setTabOrder(previous, edit);
        previous = edit;
        if (edit->objectName() == QLatin1String("txtOrganization"))
            QWidget::setTabOrder(edit, ProperFlag), previous = ProperFlag;
    }
    QWidget::setTabOrder(previous, txtNotes);
    QWidget::setTabOrder(txtNotes, cbPrintNotes);
}

void EditorPage::setDesignLimits()
{
    if (gEditor.gUserField1Size < 255) {
        for (const auto &[name, limit] : shortLimits())
            box(name)->setMaxLength(limit);
    }
    box(QStringLiteral("txtCode"))->setMaxLength(gEditor.gCodeMaxLength);
}

void EditorPage::showToday()
{
    lblTodaysDate->setText(platform::shortDateText(platform::today()));
}

bool EditorPage::hasNoName() const
{
    return contactHasNoName(box(QStringLiteral("txtLastName"))->text(), box(QStringLiteral("txtFirstName"))->text(),
                            box(QStringLiteral("txtOrganization"))->text());
}

void EditorPage::blankNameBoxes(bool withNameParts)
{
    QStringList names = {QStringLiteral("txtFirstName"), QStringLiteral("txtMiddleName"),
                         QStringLiteral("txtLastName")};
    if (withNameParts)
        names << QStringLiteral("txtPrefix") << QStringLiteral("txtSuffix") << QStringLiteral("txtNickname")
              << QStringLiteral("txtTitle");
    for (const QString &name : names)
        box(name)->clear();
}

void EditorPage::emptyDataBoxes()
{
    for (QLineEdit *edit : std::as_const(mBoxOrder)) {
        if (edit->objectName().startsWith(QLatin1String("txtPic")) ||
            edit->property("ForeColor").toInt() != EditableLabelColor)
            edit->clear();
    }
    showStoredText(*txtNotes, QString());
}

void EditorPage::clearUpdateStamp()
{
    lblDateUpdated->clear();
}

void EditorPage::capitalizeKey(QWidget *focused, int &keyAscii) const
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

bool EditorPage::boxEvent(QObject *watched, QEvent *event)
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
            if (n > 0 && reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
                mDateLeft(n);
        }
    }
    return false;
}

void EditorPage::OpenEmailOrWebLink(QString &LinkText)
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
            MsgBox(QStringLiteral("Unable to open ") + target.address + QStringLiteral("    ") + NotALinkDescription +
                   QStringLiteral(" (Error ") + QString::number(NotALinkError) + QStringLiteral(")"));
    }
}

void EditorPage::txtNotes_DblClick()
{
    NotesForm::open(*txtNotes);
    QTextCursor cursor = txtNotes->textCursor();
    cursor.setPosition(0);
    txtNotes->setTextCursor(cursor);
}

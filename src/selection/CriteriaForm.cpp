#include "platform/ui/KeyCodes.h"
#include "selection/CriteriaForm.h"

#include "helpers/DatabaseState.h"
#include "helpers/GLOBAL.h"
#include "helpers/MainWindowFlags.h"
#include "helpers/MainWindowLink.h"
#include "helpers/RecordSource.h"
#include "helpers/ValueHelpers.h"
#include "platform/RuntimeError.h"
#include "platform/base/TextBoundaries.h"
#include "platform/db/DataControl.h"
#include "platform/db/Database.h"
#include "platform/db/Recordset.h"
#include "platform/db/TextCollation.h"
#include "platform/ui/MousePointer.h"
#include "platform/ui/MsgBox.h"
#include "platform/ui/Twips.h"
#include "selection/SelectionFailure.h"
#include "selection/SelectionSource.h"

#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopedValueRollback>

using platform::BusyPointer;
using platform::RuntimeError;

CriteriaState gCriteria;

void CriteriaState::reset()
{
    *this = CriteriaState();
}

namespace {

const QString AllFiltersQuery = QStringLiteral("Select * from tblSettings Where Type='FILTER'");
const QString FilterNamePrompt = QStringLiteral("Descriptions can be up to 50 characters long.");
constexpr int MaxFilterName = 50;

QString oneFilterQuery(const QString &name)
{
    return AllFiltersQuery + QStringLiteral(" and Name='") + name + QLatin1Char('\'');
}

QPushButton *addButton(QWidget *parent, const char *name, const char *caption, const char *tip, int left, int top)
{
    auto *b = new QPushButton(QString::fromLatin1(caption), parent);
    b->setObjectName(QString::fromLatin1(name));
    if (*tip)
        b->setToolTip(QString::fromLatin1(tip));
    b->setAutoDefault(false);
    platform::setGeometryTwips(b, left, top, 1815, 420);
    return b;
}

QLabel *addLabel(QWidget *parent, const char *name, const QString &caption, int left, int top, int width,
                 int height = 285)
{
    auto *l = new QLabel(caption, parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setWordWrap(true);
    platform::setGeometryTwips(l, left, top, width, height);
    return l;
}

// A sorted list box orders its items without regard to case.
void addSorted(QListWidget *list, const QString &text)
{
    int at = 0;
    while (at < list->count() && list->item(at)->text().compare(text, Qt::CaseInsensitive) <= 0)
        ++at;
    list->insertItem(at, text);
}

// The codes of a condition the database cannot parse or bind.
bool isInvalidCriteria(int number)
{
    return number == platform::err::SyntaxError || number == platform::err::UnknownName || number == 525 ||
           number == platform::err::TypeMismatch;
}

} // namespace

CriteriaForm &CriteriaForm::instance()
{
    static QPointer<CriteriaForm> form;
    return platform::instanceOf(form);
}

void CriteriaForm::open()
{
    CriteriaForm &form = instance();
    form.showModal();
    if (form.isLoaded())
        form.unload();
}

CriteriaForm::CriteriaForm()
{
    setObjectName(QStringLiteral("CriteriaForm"));
    setWindowTitle(QStringLiteral("Specify Record Filter"));
    platform::setClientSizeTwips(this, 9840, 7320);
    // Fixed at the size just set.
    setDialogBorder(true);

    addLabel(this, "Label1", QStringLiteral("If you want to see all people whose Last Name is Smith and whose First "
                                            "Name is John, your statement would look like this:"),
             120, 120, 9600, 420);
    addLabel(this, "Label2", QStringLiteral(" LastName = \"Smith\" AND FirstName = \"John\""), 120, 540, 9600);
    addLabel(this, "Label3",
             QStringLiteral("If you want to see all people whose Last Name starts with \"Sm\" (like Smith) or "
                            "contains the word \"ski\" in the Notes field, your statement would look like this:"),
             120, 840, 9600, 420);
    addLabel(this, "Label4", QStringLiteral(" LastName Like \"Sm*\" OR Notes Like \"*ski*\""), 120, 1260, 9600);
    addLabel(this, "Label6",
             QStringLiteral("You have the full power of SQL (Structured Query Language).  See the List of Saved "
                            "Filters for more examples."),
             120, 1560, 9600, 420);
    addLabel(this, "Label5", QStringLiteral("If a Category is displayed, just that Category will be filtered."), 120,
             1980, 9600);
    lblCriteria = addLabel(this, "lblCriteria", QStringLiteral("Type your Criteria below:"), 120, 2340, 5000);
    txtCriteria = new QPlainTextEdit(this);
    txtCriteria->setObjectName(QStringLiteral("txtCriteria"));
    platform::setGeometryTwips(txtCriteria, 120, 2640, 9600, 1080);
    txtCriteria->installEventFilter(this);

    lblFieldNames = addLabel(this, "lblFieldNames",
                             QStringLiteral("Double click a Field Name to copy it to the Criteria box."), 120, 3840,
                             3000, 420);
    listFieldNames = new QListWidget(this);
    listFieldNames->setObjectName(QStringLiteral("listFieldNames"));
    platform::setGeometryTwips(listFieldNames, 120, 4320, 3000, 2880);
    listFieldNames->installEventFilter(this);
    lblSavedFilters = addLabel(this, "lblSavedFilters",
                               QStringLiteral("List of Saved Filters.  Click on any Filter to display it's criteria."),
                               3300, 3840, 4200, 420);
    listFilters = new QListWidget(this);
    listFilters->setObjectName(QStringLiteral("listFilters"));
    platform::setGeometryTwips(listFilters, 3300, 4320, 4200, 2880);

    cmdApplyCriteria = addButton(this, "cmdApplyCriteria", "&Apply Criteria",
                                 "Returns to the previous screen, displaying only those records that meet the "
                                 "criteria specified.",
                                 7905, 3840);
    cmdShowAll = addButton(this, "cmdShowAll", "Show All &Records",
                           "Returns to the previous screen, displaying all records.", 7905, 4380);
    cmdSaveFilter = addButton(this, "cmdSaveFilter", "&Save Filter", "", 7905, 4920);
    cmdRenameFilter = addButton(this, "cmdRenameFilter", "Rename Filter", "", 7905, 5460);
    cmdDeleteFilter = addButton(this, "cmdDeleteFilter", "&Delete Filter", "", 7905, 6000);
    cmdExit = addButton(this, "cmdExit", "E&xit", "Returns to the previous screen.", 7905, 6780);
    cmdSaveFilter->setEnabled(false);
    cmdRenameFilter->setEnabled(false);
    cmdDeleteFilter->setEnabled(false);

    const auto guarded = [this](void (CriteriaForm::*handler)()) {
        return [this, handler] { reportingFailure([this, handler] { (this->*handler)(); }); };
    };
    connect(cmdApplyCriteria, &QPushButton::clicked, this, &CriteriaForm::cmdApplyCriteria_Click);
    connect(cmdShowAll, &QPushButton::clicked, this, guarded(&CriteriaForm::cmdShowAll_Click));
    connect(cmdSaveFilter, &QPushButton::clicked, this, guarded(&CriteriaForm::cmdSaveFilter_Click));
    connect(cmdRenameFilter, &QPushButton::clicked, this, guarded(&CriteriaForm::cmdRenameFilter_Click));
    connect(cmdDeleteFilter, &QPushButton::clicked, this, guarded(&CriteriaForm::cmdDeleteFilter_Click));
    connect(cmdExit, &QPushButton::clicked, this, &CriteriaForm::cmdExit_Click);
    setCancelButton(cmdExit);
    connect(listFilters, &QListWidget::itemClicked, this, guarded(&CriteriaForm::listFilters_Click));
    // The arrows, Space, Home, End and type-ahead choose a filter as a click does; the list's
    // own changes (a rename, a delete) choose none.
    connect(listFilters, &QListWidget::itemSelectionChanged, this, [this] {
        if (!mChangingList)
            reportingFailure([this] { listFilters_Click(); });
    });
    connect(listFieldNames, &QListWidget::itemDoubleClicked, this, &CriteriaForm::listFieldNames_DblClick);
    connect(txtCriteria, &QPlainTextEdit::textChanged, this, &CriteriaForm::txtCriteria_Change);
}

CriteriaForm::~CriteriaForm() = default;

void CriteriaForm::Form_Load()
{
    platform::centerWindowOnScreen(this);
    txtCriteria->setPlainText(gCriteria.gLastCriteria);
    gCriteria.gSavedRecordSource = MainWindowLink::Data1().recordSource();
    gMainWindow.gFirstTime = true;
}

void CriteriaForm::Form_Activate()
{
    if (!gMainWindow.gFirstTime)
        return;
    gMainWindow.gFirstTime = false;
    reportingFailure([this] {
        if (platform::Recordset *rs = MainWindowLink::Data1().recordset()) {
            for (int i = 0; i < rs->fieldCount(); ++i) {
                const QString name = rs->fieldInfo(i).name;
                if (!name.startsWith(QLatin1String("Category")))
                    addSorted(listFieldNames, name);
            }
        }
        gSql = AllFiltersQuery;
        std::unique_ptr<platform::Recordset> filters = gDb->openRecordset(gSql);
        for (; !filters->eof(); filters->moveNext())
            addSorted(listFilters, NullToString(filters->value(QStringLiteral("Name"))).toString());
    });
}

bool CriteriaForm::eventFilter(QObject *watched, QEvent *event)
{
    if (isLoaded() && event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            int ascii = platform::CharEnter;
            if (watched == txtCriteria) {
                txtCriteria_KeyPress(ascii);
                return ascii == platform::KeyCancelled;
            }
            if (watched == listFieldNames) {
                listFieldNames_KeyPress(ascii);
                return true;
            }
        }
    }
    return platform::Form::eventFilter(watched, event);
}

void CriteriaForm::txtCriteria_KeyPress(int &KeyAscii)
{
    if (KeyAscii != platform::CharEnter)
        return;
    KeyAscii = platform::KeyCancelled;
    cmdApplyCriteria_Click();
}

void CriteriaForm::txtCriteria_Change()
{
    cmdSaveFilter->setEnabled(!txtCriteria->toPlainText().isEmpty());
}

void CriteriaForm::listFieldNames_DblClick()
{
    QListWidgetItem *item = listFieldNames->currentItem();
    if (!item)
        return;
    txtCriteria->setPlainText(txtCriteria->toPlainText() + item->text() + QLatin1Char(' '));
    txtCriteria->moveCursor(QTextCursor::End);
    cmdSaveFilter->setEnabled(true);
    txtCriteria->setFocus();
}

void CriteriaForm::listFieldNames_KeyPress(int &KeyAscii)
{
    if (KeyAscii == platform::CharEnter)
        listFieldNames_DblClick();
}

void CriteriaForm::cmdApplyCriteria_Click()
{
    BusyPointer busy;
    const QString text = txtCriteria->toPlainText();
    if (text.isEmpty()) {
        gRecordSource.gFilterClause.clear();
        return;
    }
    const QString filterBefore = gRecordSource.gFilterClause;
    const QString whereBefore = gRecordSource.gWhereClause;
    auto restore = [&] {
        gRecordSource.gFilterClause = filterBefore;
        gRecordSource.gWhereClause = whereBefore;
        MainWindowLink::Data1().setRecordSource(gCriteria.gSavedRecordSource);
        MainWindowLink::Data1().refresh();
    };
    try {
        MainWindowLink::Data1().setRecordSource(storeParts(filterRecordSource(gRecordSource, text)));
        MainWindowLink::Data1().refresh();
        if (MainWindowLink::Data1().recordset()->recordCount() == 0) {
            platform::MsgBox(QStringLiteral("No records found which meet the criteria you specified.  Try again."),
                             platform::vbExclamation, QStringLiteral("No records found"));
            restore();
            txtCriteria->setFocus();
            return;
        }
    } catch (const RuntimeError &error) {
        busy.release();
        if (isInvalidCriteria(error.number())) {
            platform::MsgBox(QStringLiteral("The criteria you specified is invalid.  Try again."),
                             platform::vbExclamation, QStringLiteral("Invalid syntax"));
            txtCriteria->setFocus();
        } else {
            platform::MsgBox(platform::withFullStop(error.description()) + QStringLiteral("  Error number:") +
                                 QString::number(error.number()),
                             platform::vbCritical, QStringLiteral("Error"));
        }
        reportingFailure(restore);
        return;
    }
    gRecordSource.gSelectedClause.clear();
    gCriteria.gLastCriteria = text;
    if (MainWindowLink::CategoryCaption().left(18) == FindResultCaptionPrefix)
        MainWindowLink::SetCategoryCaption(QString());
    unload();
}

void CriteriaForm::cmdShowAll_Click()
{
    MainWindowLink::Data1().setRecordSource(storeParts(filterShowAllRecordSource(gRecordSource)));
    gCriteria.gLastCriteria = txtCriteria->toPlainText();
    MainWindowLink::Data1().refresh();
    if (MainWindowLink::CategoryCaption().left(19) == FindResultCaptionPrefix + QLatin1Char(' '))
        MainWindowLink::SetCategoryCaption(QString());
    unload();
}

QString CriteriaForm::storedFilterName(const QString &answer)
{
    QString name = answer.trimmed();
    if (name.isEmpty())
        return name;
    qsizetype kept = platform::leadingCharacters(name, MaxFilterName);
    // The name must also fit its field as the field counts it, in UTF-16 units: fifty
    // characters built of several code points each can be more than it holds.
    const qsizetype fieldSize = gDb->tableDef(QStringLiteral("tblSettings")).field(QStringLiteral("Name")).size;
    if (fieldSize > 0 && kept > fieldSize) {
        const platform::TextBoundaries bounds(name);
        kept = fieldSize;
        while (kept > 0 && !bounds.isCharacterBoundary(kept))
            --kept;
    }
    if (kept < name.size()) {
        name.truncate(kept);
        platform::MsgBox(QStringLiteral("The name you entered for this Filter has been truncated to the maximum "
                                        "length of 50 characters."),
                         platform::vbInformation, QStringLiteral("Name truncated to 50 characters"));
    }
    ReplaceAll(name, QStringLiteral("'"), QString(QChar(180)));
    return name;
}

QString CriteriaForm::chosenFilter() const
{
    QListWidgetItem *item = listFilters->currentItem();
    return item && item->isSelected() ? item->text() : QString();
}

void CriteriaForm::cmdSaveFilter_Click()
{
    const QString criteria = txtCriteria->toPlainText();
    if (criteria.trimmed().isEmpty()) {
        platform::MsgBox(QStringLiteral("You must supply Criteria in order to save a Filter."), platform::vbOKOnly,
                         QStringLiteral("Criteria Required"));
        txtCriteria->setFocus();
        cmdSaveFilter->setEnabled(false);
        return;
    }
    const QString name = storedFilterName(InputDialog(
        QStringLiteral("Enter a descriptive name for this Filter, then press the OK button to save it.\r\n\r\n") +
            FilterNamePrompt,
        QStringLiteral("Filter Name"), chosenFilter()));
    if (name.isEmpty())
        return;
    gSql = oneFilterQuery(name);
    std::unique_ptr<platform::Recordset> rs = gDb->openRecordset(gSql);
    const bool adding = rs->eof();
    if (!adding) {
        if (platform::MsgBox(QStringLiteral("Replace existing Filter?"), platform::vbYesNo | platform::vbQuestion,
                             QStringLiteral("Update confirmation")) != platform::vbYes)
            return;
        rs->edit();
    } else {
        rs->addNew();
    }
    rs->setValue(QStringLiteral("Type"), QStringLiteral("FILTER"));
    rs->setValue(QStringLiteral("Name"), name);
    rs->setValue(QStringLiteral("Setting8"), criteria);
    rs->update();
    // Only a name that was stored is listed.
    if (adding)
        addSorted(listFilters, name);
}

void CriteriaForm::cmdRenameFilter_Click()
{
    const QString oldName = chosenFilter();
    if (oldName.isEmpty()) {
        platform::MsgBox(QStringLiteral("You must select a Filter to rename."), platform::vbCritical,
                         QStringLiteral("No Filter selected to rename"));
        listFilters->setFocus();
        return;
    }
    const int row = listFilters->currentRow();
    const QString name = storedFilterName(InputDialog(
        QStringLiteral("Enter a new name for this Filter, then press the OK button to save it.\r\n\r\n") +
            FilterNamePrompt,
        QStringLiteral("Filter Name"), oldName));
    if (name.isEmpty())
        return;
    // Filters are found by name as the file compares names, case aside: a second filter of a
    // name would leave one of the two out of reach. Its own name in other letters is no clash.
    if (platform::compareCollated(name, oldName) != 0) {
        gSql = oneFilterQuery(name);
        if (!gDb->openRecordset(gSql)->eof()) {
            platform::MsgBox(QStringLiteral("Filter with this name already exists."), platform::vbExclamation,
                             QStringLiteral("Not renamed"));
            return;
        }
    }
    gSql = oneFilterQuery(oldName);
    std::unique_ptr<platform::Recordset> rs = gDb->openRecordset(gSql);
    if (rs->eof())
        return;
    rs->edit();
    rs->setValue(QStringLiteral("Name"), name);
    rs->update();
    const QScopedValueRollback changing(mChangingList, true);
    delete listFilters->takeItem(row);
    addSorted(listFilters, name);
    // The renamed filter stays chosen, wherever its new name sorts.
    listFilters->setCurrentItem(listFilters->findItems(name, Qt::MatchExactly).value(0));
}

void CriteriaForm::cmdDeleteFilter_Click()
{
    const QString name = chosenFilter();
    if (name.isEmpty()) {
        platform::MsgBox(QStringLiteral("You must select a previously saved Filter to delete."), platform::vbCritical,
                         QStringLiteral("No Filter selected to delete"));
        listFilters->setFocus();
        return;
    }
    if (platform::MsgBox(QStringLiteral("Are you sure you want to delete filter: ") + name + QLatin1Char('?'),
                         platform::vbYesNo, QStringLiteral("Delete Confirmation")) != platform::vbYes)
        return;
    const int row = listFilters->currentRow();
    gSql = oneFilterQuery(name);
    std::unique_ptr<platform::Recordset> rs = gDb->openRecordset(gSql);
    if (rs->eof())
        return;
    rs->deleteRecord();
    // Nothing is chosen after a delete: the list would otherwise choose the next filter itself.
    const QScopedValueRollback changing(mChangingList, true);
    delete listFilters->takeItem(row);
    listFilters->setCurrentItem(nullptr);
}

void CriteriaForm::listFilters_Click()
{
    const QString name = chosenFilter();
    if (name.isEmpty())
        return;
    cmdDeleteFilter->setEnabled(true);
    cmdRenameFilter->setEnabled(true);
    gSql = oneFilterQuery(name);
    std::unique_ptr<platform::Recordset> rs = gDb->openRecordset(gSql);
    // A filter saved without criteria shows an empty box.
    if (!rs->eof())
        txtCriteria->setPlainText(NullToString(rs->value(QStringLiteral("Setting8"))).toString());
}

void CriteriaForm::cmdExit_Click()
{
    gCriteria.gLastCriteria = txtCriteria->toPlainText();
    unload();
}

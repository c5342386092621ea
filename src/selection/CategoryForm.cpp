#include "platform/ui/KeyCodes.h"
#include "selection/CategoryForm.h"

#include "helpers/DatabaseState.h"
#include "helpers/GLOBAL.h"
#include "helpers/MainWindowFlags.h"
#include "helpers/MainWindowLink.h"
#include "helpers/RecordSource.h"
#include "helpers/SettingsRow.h"
#include "helpers/ValueHelpers.h"
#include "helpers/mMouseScrollWheel.h"
#include "platform/db/DataControl.h"
#include "platform/db/Database.h"
#include "platform/db/Recordset.h"
#include "platform/db/jet/JetQuote.h"
#include "platform/grid/DataGrid.h"
#include "platform/ui/MousePointer.h"
#include "platform/ui/MsgBox.h"
#include "platform/ui/ProgramFolder.h"
#include "platform/ui/Twips.h"
#include "selection/CategoryGrid.h"
#include "selection/SelectionFailure.h"
#include "selection/SelectionSource.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>

using platform::BusyPointer;

namespace {

QPushButton *addButton(QWidget *parent, const char *name, const char *caption, const char *tip, int left,
                       int top)
{
    auto *b = new QPushButton(QString::fromLatin1(caption), parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setToolTip(QString::fromLatin1(tip));
    b->setAutoDefault(false);
    platform::setGeometryTwips(b, left, top, 2415, 420);
    return b;
}

} // namespace

CategoryForm &CategoryForm::instance()
{
    static QPointer<CategoryForm> form;
    return platform::instanceOf(form);
}

void CategoryForm::open()
{
    CategoryForm &form = instance();
    form.showModal();
    if (form.isLoaded())
        form.unload();
}

CategoryForm::CategoryForm()
{
    setObjectName(QStringLiteral("CategoryForm"));
    setWindowTitle(QStringLiteral("Category Selection"));
    platform::setClientSizeTwips(this, 7200, 5160);
    // Fixed at the size just set.
    setDialogBorder(true);

    CatgData = new platform::DataControl(this);
    CatgData->setObjectName(QStringLiteral("CatgData"));
    CatgGridBinding = makeCategoryGrid(this, QStringLiteral("CatgGrid"), CatgData,
                                       {{QStringLiteral("List of all Categories"), QStringLiteral("CategoryDesc"), 3600},
                                        {QStringLiteral("CategoryNumber"), QStringLiteral("CategoryNumber"), 0}});
    CatgGrid = findChild<QTableView *>(QStringLiteral("CatgGrid"));
    CatgGrid->setToolTip(QStringLiteral("Double-clicking a Category in this box will return to the previous "
                                        "screen, displaying only the records in this Category."));
    platform::setGeometryTwips(CatgGrid, 120, 120, 4200, 4200);
    CatgGrid->setColumnHidden(1, true);
    CatgGrid->installEventFilter(this);

    cmdAdd = addButton(this, "cmdAdd", "&Add a new Category", "Creates a new Category.", 4560, 120);
    cmdChange = addButton(this, "cmdChange", "&Change Description", "Changes the name of a Category.", 4560, 660);
    cmdDelete = addButton(this, "cmdDelete", "&Delete", "Deletes a Category.", 4560, 1200);
    cmdSelected = addButton(this, "cmdSelected", "Show &Selected Category",
                            "Returns to the previous screen, displaying only records from the selected Category.",
                            4560, 1980);
    cmdShowAll = addButton(this, "cmdShowAll", "Show ALL &Records",
                           "Returns to the previous screen, displaying all records.", 4560, 2520);
    cmdExit = addButton(this, "cmdExit", "E&xit", "Returns to the previous screen.", 4560, 3900);
    cbDefaultCatg = new QCheckBox(
        QStringLiteral("At program start-up, always display the last Category selected."), this);
    cbDefaultCatg->setObjectName(QStringLiteral("cbDefaultCatg"));
    cbDefaultCatg->setToolTip(QStringLiteral("When this box is checked, only records from the last Category "
                                             "selected will be displayed the next time the program starts."));
    platform::setGeometryTwips(cbDefaultCatg, 120, 4500, 6960, 420);

    // The window traps no database failure of its own: each is shown, and the window stays.
    const auto guarded = [this](void (CategoryForm::*handler)()) {
        return [this, handler] { reportingFailure([this, handler] { (this->*handler)(); }); };
    };
    connect(cmdAdd, &QPushButton::clicked, this, guarded(&CategoryForm::cmdAdd_Click));
    connect(cmdChange, &QPushButton::clicked, this, guarded(&CategoryForm::cmdChange_Click));
    connect(cmdDelete, &QPushButton::clicked, this, guarded(&CategoryForm::cmdDelete_Click));
    connect(cmdSelected, &QPushButton::clicked, this, guarded(&CategoryForm::cmdSelected_Click));
    connect(cmdShowAll, &QPushButton::clicked, this, guarded(&CategoryForm::cmdShowAll_Click));
    connect(cmdExit, &QPushButton::clicked, this, &CategoryForm::cmdExit_Click);
    setCancelButton(cmdExit);
    // Only the user's click writes the option; the load sets the box without it.
    connect(cbDefaultCatg, &QCheckBox::clicked, this, guarded(&CategoryForm::cbDefaultCatg_Click));
    connect(CatgGrid, &QTableView::doubleClicked, this, guarded(&CategoryForm::CatgGrid_DblClick));
    // Only a letter typed in the list looks a category up: the letter of an access key acts on
    // the highlighted category.
    connect(CatgGridBinding, &platform::DataGrid::typedKeyReleased, this,
            [this](int key) { reportingFailure([this, key] { CatgGrid_KeyUp(key); }); });
}

CategoryForm::~CategoryForm() = default;

platform::Recordset *CategoryForm::list() const
{
    return CatgData->recordset();
}

void CategoryForm::Form_Load()
{
    if (installsMouseWheelHook(platform::programFolder())) {
        HookMouseWheel(this);
        mWheelHooked = true;
    }
    gMainWindow.gIgnoreNextGridClick = true;
    platform::centerWindowOnScreen(this);
    CatgData->setDatabase(gDb.get());
    CatgData->setRecordSource(QStringLiteral("Select * from tblCategoryDesc Order By CategoryDesc"));
    CatgData->refresh();
    gSql = CategoryStartupSettingsQuery;
    std::unique_ptr<platform::Recordset> startup = gDb->openRecordset(gSql);
    cbDefaultCatg->setChecked(!startup->eof() &&
                              qAbs(NullToString(startup->value(QStringLiteral("Name"))).toString().toInt()) == 1);
}

void CategoryForm::Form_Activate()
{
    // Only the showing lines the list up: closing the input window of Add or Change must
    // leave the row those commands work on.
    if (mActivated)
        return;
    mActivated = true;
    reportingFailure([this] { lineUpWithMainList(); });
}

void CategoryForm::lineUpWithMainList()
{
    const QString caption = MainWindowLink::CategoryCaption();
    if (!(caption > QStringLiteral(" ")))
        return;
    // The whole list is searched, whichever row is current, so a category listed before
    // the current row is found as well.
    platform::Recordset *rs = list();
    if (rs->recordCount() > 0) {
        const platform::Bookmark start = rs->bookmark();
        for (rs->moveFirst(); !rs->eof(); rs->moveNext()) {
            if (NullToString(rs->value(QStringLiteral("CategoryDesc"))).toString() == caption)
                return;
        }
        rs->setBookmark(start);
    }
    cmdShowAll_Click();
}

void CategoryForm::Form_Unload(bool &cancel)
{
    Q_UNUSED(cancel);
    if (mWheelHooked) {
        UnhookMouseWheel(this);
        mWheelHooked = false;
    }
}

void CategoryForm::MouseWheel(int MouseKeys, int Rotation, int Xpos, int Ypos)
{
    ScrollGridByWheel(CatgGrid, MouseKeys, Rotation, Xpos, Ypos);
}

bool CategoryForm::eventFilter(QObject *watched, QEvent *event)
{
    // A closed window waiting to be deleted takes no keys.
    if (!isLoaded())
        return platform::Form::eventFilter(watched, event);
    if (watched == CatgGrid && event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            reportingFailure([this] {
                int ascii = platform::CharEnter;
                CatgGrid_KeyPress(ascii);
            });
            return true;
        }
    }
    return platform::Form::eventFilter(watched, event);
}

void CategoryForm::CatgGrid_DblClick()
{
    cmdSelected_Click();
}

void CategoryForm::CatgGrid_KeyPress(int &KeyAscii)
{
    if (KeyAscii == platform::CharEnter)
        cmdSelected_Click();
}

void CategoryForm::CatgGrid_KeyUp(int KeyCode)
{
    platform::Recordset *rs = list();
    if (rs->recordCount() < 1 || KeyCode < Qt::Key_A || KeyCode > Qt::Key_Z)
        return;
    const QChar letter = QChar(u'A' + (KeyCode - Qt::Key_A));
    rs->findFirst(QStringLiteral("CategoryDesc like \"") + letter + QStringLiteral("*\""));
}

void CategoryForm::cmdAdd_Click()
{
    const QString description = askNewCategoryDescription().trimmed();
    if (description.isEmpty())
        return;
    platform::Recordset *rs = list();
    // The description is quoted, so a quote in it is part of the name.
    rs->findFirst(QStringLiteral("CategoryDesc=") + platform::jetQuote(description));
    if (!rs->noMatch()) {
        platform::MsgBox(QStringLiteral("Category with this name already exists."), platform::vbExclamation,
                         QStringLiteral("Not added"));
        return;
    }
    addCategory(*rs, description);
    CatgGrid->setFocus();
    rs->moveLast();
}

void CategoryForm::cmdChange_Click()
{
    if (changeCategoryDescription(*list()))
        CatgGrid->setFocus();
}

void CategoryForm::cmdDelete_Click()
{
    platform::Recordset *rs = list();
    if (rs->recordCount() < 1) {
        platform::MsgBox(QStringLiteral("There are no Categories, so there is nothing to delete."),
                         platform::vbCritical, QStringLiteral("No Categories to delete"));
        return;
    }
    const QString description = NullToString(rs->value(QStringLiteral("CategoryDesc"))).toString();
    const QString condition =
        QStringLiteral("CategoryNumber=") + QString::number(rs->value(QStringLiteral("CategoryNumber")).toLongLong());
    qint32 links = 0;
    {
        gSql = QStringLiteral("Select count(*) as CountRecs from tblCategoryID Where ") + condition;
        std::unique_ptr<platform::Recordset> count = gDb->openRecordset(gSql);
        links = count->value(QStringLiteral("CountRecs")).toInt();
    }
    QString question;
    if (links > 0)
        question = QStringLiteral("You have ") + QString::number(links) +
                   QStringLiteral(" record(s) still assigned to this Category.  Those records will still exist, "
                                  "they just won't be assigned to this Category any longer.  ");
    question += QStringLiteral("Are you sure you want to delete this Category?");
    if (platform::MsgBox(question, platform::vbYesNo | platform::vbQuestion, QStringLiteral("Delete Confirmation")) !=
        platform::vbYes)
        return;
    {
        gSql = CategorySettingsQuery;
        std::unique_ptr<platform::Recordset> shown = gDb->openRecordset(gSql);
        if (!shown->eof() && NullToString(shown->value(QStringLiteral("Name"))).toString() == description)
            shown->deleteRecord();
    }
    gSql = QStringLiteral("Delete from tblCategoryID Where ") + condition;
    gDb->execute(gSql);
    rs->deleteRecord();
    rs->moveNext();
    if (rs->eof() && rs->recordCount() > 0)
        rs->movePrevious();
    lineUpWithMainList();
}

void CategoryForm::cmdSelected_Click()
{
    const BusyPointer busy;
    platform::Recordset *rs = list();
    if (rs->recordCount() < 1) {
        platform::MsgBox(
            QStringLiteral("There are no Categories.  You must create one and select it before you "
                           "can perform this action."),
            platform::vbCritical, QStringLiteral("No Categories"));
        return;
    }
    const qint64 number = rs->value(QStringLiteral("CategoryNumber")).toLongLong();
    const QString description = NullToString(rs->value(QStringLiteral("CategoryDesc"))).toString();
    gRecordSource.gFilterClause.clear();
    gRecordSource.gCategoryClause = categoryCondition(number);
    MainWindowLink::SetCategoryCaption(description);
    {
        gSql = CategorySettingsQuery;
        std::unique_ptr<platform::Recordset> row = gDb->openRecordset(gSql);
        if (row->eof())
            row->addNew();
        else
            row->edit();
        row->setValue(QStringLiteral("Type"), QStringLiteral("CATEGORY"));
        row->setValue(QStringLiteral("Name"), description);
        row->setValue(QStringLiteral("Setting1"), gRecordSource.gCategoryClause);
        row->update();
    }
    const QString source = storeParts(categoryRecordSource(gRecordSource, number));
    MainWindowLink::ClearDetailBoxes();
    MainWindowLink::Data1().setRecordSource(source);
    MainWindowLink::Data1().refresh();
    unload();
}

void CategoryForm::cmdShowAll_Click()
{
    gRecordSource.gCategoryClause.clear();
    MainWindowLink::SetCategoryCaption(QString());
    MainWindowLink::ClearFilterMessage();
    {
        gSql = CategorySettingsQuery;
        std::unique_ptr<platform::Recordset> row = gDb->openRecordset(gSql);
        if (!row->eof())
            row->deleteRecord();
    }
    MainWindowLink::Data1().setRecordSource(storeParts(allCategoriesRecordSource(gRecordSource)));
    MainWindowLink::Data1().refresh();
    unload();
}

void CategoryForm::cmdExit_Click()
{
    unload();
}

void CategoryForm::cbDefaultCatg_Click()
{
    storeSettingsRow(*gDb, QStringLiteral("CATEGORYSTARTUP"),
                     cbDefaultCatg->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
}

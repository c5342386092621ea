#include "selection/CategoryAssign.h"

#include "editor/GLOBAL.h"
#include "helpers/DatabaseState.h"
#include "helpers/GLOBAL.h"
#include "helpers/MainWindowLink.h"
#include "helpers/SettingsRow.h"
#include "helpers/ValueHelpers.h"
#include "platform/RuntimeError.h"
#include "platform/db/DataControl.h"
#include "platform/db/Database.h"
#include "platform/db/Recordset.h"
#include "platform/grid/DataGrid.h"
#include "platform/ui/MousePointer.h"
#include "platform/ui/MsgBox.h"
#include "platform/ui/ScreenFit.h"
#include "platform/ui/Twips.h"
#include "selection/CategoryGrid.h"
#include "selection/SelectionFailure.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTableView>

using platform::BusyPointer;
using platform::MousePointer;
using platform::RuntimeError;
using platform::setMousePointer;

namespace {

QString fieldText(platform::Recordset &rs, const QString &field)
{
    return NullToString(rs.value(field)).toString();
}

QPushButton *addButton(QWidget *parent, const char *name, const char *caption, const char *tip, int left,
                       int top, int width = 2055)
{
    auto *b = new QPushButton(QString::fromLatin1(caption), parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setToolTip(QString::fromLatin1(tip));
    b->setAutoDefault(false);
    platform::setGeometryTwips(b, left, top, width, 420);
    return b;
}

} // namespace

void ShowCategoryAssign()
{
    platform::Recordset *rs = MainWindowLink::Data1().recordset();
    if (!rs || rs->recordCount() < 1) {
        platform::MsgBox(QStringLiteral("There are no records displayed, so you can't assign them to a category.  "
                                        "Add some records or change the Category or Selection Criteria to display "
                                        "records first."),
                         platform::vbInformation, QStringLiteral("No records to Assign to Categories"));
        return;
    }
    // The hourglass shows while the window loads; the loaded window gives the arrow back, and
    // a load that fails cannot leave the hourglass behind.
    const BusyPointer loading;
    CategoryAssign &form = CategoryAssign::instance();
    form.showModal();
    if (form.isLoaded())
        form.unload();
}

CategoryAssign &CategoryAssign::instance()
{
    static QPointer<CategoryAssign> form;
    return platform::instanceOf(form);
}

CategoryAssign::CategoryAssign()
{
    setObjectName(QStringLiteral("CategoryAssign"));
    setWindowTitle(QStringLiteral("Assign Current Record to a Category"));
    platform::setClientSizeTwips(this, 9600, 5400);
    // Fixed at the size just set.
    setDialogBorder(true);

    lblName = new QLabel(this);
    lblName->setObjectName(QStringLiteral("lblName"));
    platform::setGeometryTwips(lblName, 120, 120, 9360, 285);
    lblOrganization = new QLabel(this);
    lblOrganization->setObjectName(QStringLiteral("lblOrganization"));
    platform::setGeometryTwips(lblOrganization, 120, 420, 9360, 285);

    CatgData = new platform::DataControl(this);
    CatgData->setObjectName(QStringLiteral("CatgData"));
    CatgGridBinding = makeCategoryGrid(
        this, QStringLiteral("CatgGrid"), CatgData,
        {{QStringLiteral("List of all Categories"), QStringLiteral("CategoryDesc"), 2700},
         {QStringLiteral("Category Number (cannot update)"), QStringLiteral("CategoryNumber"), 1000}});
    CatgGrid = findChild<QTableView *>(QStringLiteral("CatgGrid"));
    CatgGrid->setToolTip(
        QStringLiteral("Double-clicking a Category in this box assigns that Category to the current record."));
    platform::setGeometryTwips(CatgGrid, 120, 780, 4000, 3600);

    CatgIdData = new platform::DataControl(this);
    CatgIdData->setObjectName(QStringLiteral("CatgIdData"));
    CatgIdGridBinding = makeCategoryGrid(
        this, QStringLiteral("CatgIdGrid"), CatgIdData,
        {{QStringLiteral("Categories assigned to this record"), QStringLiteral("CategoryDesc"), 2700},
         {QStringLiteral("Category Number (cannot update)"), QStringLiteral("CategoryNumber"), 1000}});
    CatgIdGrid = findChild<QTableView *>(QStringLiteral("CatgIdGrid"));
    CatgIdGrid->setToolTip(QStringLiteral("Double-clicking a Category in this box removes that Category from "
                                          "being assigned to the current record. "));
    platform::setGeometryTwips(CatgIdGrid, 5480, 780, 4000, 3600);

    cmdRtArrow = addButton(this, "cmdRtArrow", "Assign",
                           "Assigns the highlighted Category on the left to the current record.", 4240, 1500, 1120);
    cmdLfArrow = addButton(this, "cmdLfArrow", "Remove",
                           "Removes the highlighted Category on the right from being assigned to the current "
                           "record. ",
                           4240, 2100, 1120);
    cmdAdd = addButton(this, "cmdAdd", "Add a &new Category", "Creates a new Category.", 120, 4500);
    cmdChange = addButton(this, "cmdChange", "&Change Description", "Changes the name of a Category.", 2295, 4500);
    cmdExit = addButton(this, "cmdExit", "E&xit", "Returns to the previous screen.", 7425, 4500);
    cbAssignCatgOnAdd = new QCheckBox(QStringLiteral("Display this screen after adding a new record."), this);
    cbAssignCatgOnAdd->setObjectName(QStringLiteral("cbAssignCatgOnAdd"));
    cbAssignCatgOnAdd->setToolTip(
        QStringLiteral("When this box is checked, this screen will appear whenever a new record is saved."));
    platform::setGeometryTwips(cbAssignCatgOnAdd, 120, 5000, 6000, 300);

    // Assign and Remove trap the link's own errors; what fails around them (reading the
    // lists again) is shown like any other failure of the window, which stays open.
    const auto guarded = [this](void (CategoryAssign::*handler)()) {
        return [this, handler] { reportingFailure([this, handler] { (this->*handler)(); }); };
    };
    connect(cmdRtArrow, &QPushButton::clicked, this, guarded(&CategoryAssign::cmdRtArrow_Click));
    connect(cmdLfArrow, &QPushButton::clicked, this, guarded(&CategoryAssign::cmdLfArrow_Click));
    connect(cmdAdd, &QPushButton::clicked, this, guarded(&CategoryAssign::cmdAdd_Click));
    connect(cmdChange, &QPushButton::clicked, this, guarded(&CategoryAssign::cmdChange_Click));
    connect(cmdExit, &QPushButton::clicked, this, &CategoryAssign::cmdExit_Click);
    setCancelButton(cmdExit);
    connect(cbAssignCatgOnAdd, &QCheckBox::clicked, this, guarded(&CategoryAssign::cbAssignCatgOnAdd_Click));
    connect(CatgGrid, &QTableView::doubleClicked, this, guarded(&CategoryAssign::CatgGrid_DblClick));
    connect(CatgIdGrid, &QTableView::doubleClicked, this, guarded(&CategoryAssign::CatgIdGrid_DblClick));
}

CategoryAssign::~CategoryAssign() = default;

void CategoryAssign::Form_Load()
{
    platform::Recordset &contact = *MainWindowLink::Data1().recordset();
    lblName->setText(fieldText(contact, QStringLiteral("FirstName")) + QLatin1Char(' ') +
                     fieldText(contact, QStringLiteral("MiddleName")) + QLatin1Char(' ') +
                     fieldText(contact, QStringLiteral("LastName")));
    const QString organization = fieldText(contact, QStringLiteral("Organization"));
    lblOrganization->setText(organization);
    lblOrganization->setVisible(organization > QStringLiteral(" "));
    mContactID = contact.value(QStringLiteral("RecordID")).toLongLong();

    CatgData->setDatabase(gDb.get());
    CatgData->setRecordSource(
        QStringLiteral("Select CategoryDesc, CategoryNumber from tblCategoryDesc Order By CategoryDesc"));
    CatgData->refresh();
    CatgIdData->setDatabase(gDb.get());
    CatgIdData->setRecordSource(
        QStringLiteral("SELECT ID, CategoryDesc, tblCategoryID.CategoryNumber FROM tblCategoryID LEFT JOIN "
                       "tblCategoryDesc ON tblCategoryID.CategoryNumber = tblCategoryDesc.CategoryNumber WHERE "
                       "tblCategoryID.ID=") +
        QString::number(mContactID) + QStringLiteral(" Order By CategoryDesc"));
    CatgIdData->refresh();
    fitListsToColumns();
    platform::centerWindowOnScreen(this);
    cbAssignCatgOnAdd->setChecked(qAbs(gEditor.gAssignCategoryOnAdd) == 1);
    setMousePointer(MousePointer::Default);
}

void CategoryAssign::fitListsToColumns()
{
    // Both lists show their two columns whole instead of scrolling sideways. Each widens to
    // what it needs; the buttons between them, the right-hand list and Exit move over and the
    // window widens with them, as far as the screen leaves room. Past that the lists share
    // what there is in the measure of their needs, so that the one that needs less gives no
    // room it cannot use, and both scroll alike.
    const int leftNeeds = qMax(CatgGrid->width(), CatgGridBinding->widthForAllColumns());
    const int rightNeeds = qMax(CatgIdGrid->width(), CatgIdGridBinding->widthForAllColumns());
    const int both = CatgGrid->width() + CatgIdGrid->width();
    const int room = qMax(0, platform::widestClientWidth(this) - width());
    const int shared = qMin(leftNeeds + rightNeeds, both + room);
    if (shared <= both)
        return;
    // Neither list ends narrower than designed.
    const int leftWidth = qBound(CatgGrid->width(), int(qint64(shared) * leftNeeds / (leftNeeds + rightNeeds)),
                                 shared - CatgIdGrid->width());
    const int leftGrow = leftWidth - CatgGrid->width();
    const int grow = shared - both;
    CatgGrid->resize(leftWidth, CatgGrid->height());
    CatgIdGrid->setGeometry(CatgIdGrid->x() + leftGrow, CatgIdGrid->y(), shared - leftWidth, CatgIdGrid->height());
    for (QWidget *between : {cmdRtArrow, cmdLfArrow})
        between->move(between->x() + leftGrow, between->y());
    cmdExit->move(cmdExit->x() + grow, cmdExit->y());
    for (QLabel *across : {lblName, lblOrganization})
        across->resize(across->width() + grow, across->height());
    setFixedSize(width() + grow, height());
}

void CategoryAssign::reportLinkError(int number, const QString &description)
{
    if (number == platform::err::DuplicateKey)
        platform::MsgBox(QStringLiteral("Category is already assigned to this record."), platform::vbCritical,
                         QStringLiteral("Can't assign twice"));
    else if (number != platform::err::SyntaxError)
        platform::MsgBox(platform::withFullStop(description) + QStringLiteral("  Error number:") +
                         QString::number(number));
}

void CategoryAssign::CatgGrid_DblClick()
{
    platform::Recordset *all = CatgData->recordset();
    if (!all || all->recordCount() < 1)
        return;
    platform::Recordset *links = CatgIdData->recordset();
    try {
        links->addNew();
        links->setValue(QStringLiteral("ID"), mContactID);
        links->setValue(QStringLiteral("CategoryNumber"), all->value(QStringLiteral("CategoryNumber")));
        links->update();
    } catch (const RuntimeError &error) {
        if (links->editMode() != platform::EditMode::None)
            links->cancelUpdate();
        reportLinkError(error.number(), error.description());
    }
    CatgIdData->refresh();
}

void CategoryAssign::cmdRtArrow_Click()
{
    CatgGrid_DblClick();
}

void CategoryAssign::CatgIdGrid_DblClick()
{
    platform::Recordset *links = CatgIdData->recordset();
    if (!links || links->recordCount() < 1 || links->eof() || links->bof())
        return;
    try {
        links->findFirst(QStringLiteral("ID=") + QString::number(mContactID) + QStringLiteral(" AND CategoryNumber=") +
                         QString::number(links->value(QStringLiteral("CategoryNumber")).toLongLong()));
        if (!links->noMatch())
            links->deleteRecord();
    } catch (const RuntimeError &error) {
        reportLinkError(error.number(), error.description());
    }
}

void CategoryAssign::cmdLfArrow_Click()
{
    CatgIdGrid_DblClick();
}

void CategoryAssign::cmdAdd_Click()
{
    const QString answer = askNewCategoryDescription();
    if (answer.isEmpty())
        return;
    addCategory(*CatgData->recordset(), answer);
    CatgData->refresh();
}

void CategoryAssign::cmdChange_Click()
{
    changeCategoryDescription(*CatgData->recordset());
}

void CategoryAssign::cbAssignCatgOnAdd_Click()
{
    const int value = cbAssignCatgOnAdd->isChecked() ? 1 : 0;
    storeSettingsRow(*gDb, QStringLiteral("ASSIGNCATGONADD"), QString::number(value));
    gEditor.gAssignCategoryOnAdd = value;
}

void CategoryAssign::cmdExit_Click()
{
    unload();
}

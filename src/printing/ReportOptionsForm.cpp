#include "printing/ReportOptionsForm.h"

#include "printing/ReportSettings.h"

#include "helpers/DatabaseState.h"
#include "helpers/ValueHelpers.h"
#include "platform/RuntimeError.h"
#include "platform/db/Database.h"
#include "platform/db/Recordset.h"
#include "platform/print/PrintFont.h"
#include "platform/print/PrinterObject.h"
#include "platform/ui/MousePointer.h"
#include "platform/ui/MsgBox.h"
#include "platform/ui/Twips.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

#include <cmath>

namespace {

// What an empty box is stored as: X, Y, font name, size.
const QString Standards[4] = {QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("Arial"),
                              QStringLiteral("8")};

template <class W> W *named(W *widget, const char *name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

QLabel *label(QWidget *parent, const char *name, const QString &caption)
{
    auto *l = named(new QLabel(caption, parent), name);
    l->setTextFormat(Qt::PlainText);
    l->setWordWrap(true);
    return l;
}

// Runs database work of the window; a failure is shown with its own text instead of
// ending the program, and the window stays as it is.
template <class Work> bool guarded(Work work)
{
    try {
        work();
        return true;
    } catch (const std::exception &error) {
        platform::setMousePointer(platform::MousePointer::Default);
        const auto *runtime = dynamic_cast<const platform::RuntimeError *>(&error);
        platform::MsgBox(runtime ? runtime->description() : QString::fromLocal8Bit(error.what()),
                         platform::vbOKOnly);
        return false;
    }
}

bool isWholeNumberWithin(const QString &text, double smallest, double largest)
{
    const std::optional<double> number = ReportSettingNumber(text);
    return number && std::floor(*number) == *number && *number >= smallest && *number <= largest;
}

bool isNumberWithin(const QString &text, double smallest, double largest)
{
    const std::optional<double> number = ReportSettingNumber(text);
    return number && *number >= smallest && *number <= largest;
}

} // namespace

ReportOptionsForm::ReportOptionsForm()
{
    setObjectName(QStringLiteral("ReportOptionsForm"));
    setWindowTitle(QStringLiteral("Report Options"));
    platform::setClientSizeTwips(this, 9240, 4560);

    lblReports = label(this, "lblReports", QStringLiteral("Reports:"));
    QFont bold = lblReports->font();
    bold.setBold(true);
    lblReports->setFont(bold);
    platform::setGeometryTwips(lblReports, 120, 120, 9000, 300);

    lbReports = named(new QListWidget(this), "lbReports");
    platform::setGeometryTwips(lbReports, 120, 480, 3720, 2760);
    connect(lbReports, &QListWidget::itemClicked, this, [this] { lbReports_Click(); });
    connect(lbReports, &QListWidget::itemActivated, this, [this] { lbReports_Click(); });

    lblInstructions =
        label(this, "lblInstructions", QStringLiteral("Click on an item in the box to the left."));
    platform::setGeometryTwips(lblInstructions, 4080, 480, 5040, 600);

    lblXStart = label(this, "lblXStart", QStringLiteral("Starting horizontal print position in twips:"));
    platform::setGeometryTwips(lblXStart, 120, 600, 4200, 300);
    txtXStart = named(new QLineEdit(this), "txtXStart");
    platform::setGeometryTwips(txtXStart, 4440, 570, 1320, 330);

    lblYStart = label(this, "lblYStart", QStringLiteral("Starting vertical print position in twips:"));
    platform::setGeometryTwips(lblYStart, 120, 1020, 4200, 300);
    txtYStart = named(new QLineEdit(this), "txtYStart");
    platform::setGeometryTwips(txtYStart, 4440, 990, 1320, 330);

    lblFonts = label(this, "lblFonts", QStringLiteral("Font Name:"));
    platform::setGeometryTwips(lblFonts, 120, 1440, 4200, 300);
    cmbFonts = named(new QComboBox(this), "cmbFonts");
    cmbFonts->setEditable(true);
    cmbFonts->setInsertPolicy(QComboBox::NoInsert);
    platform::setGeometryTwips(cmbFonts, 4440, 1410, 2880, 330);

    lblFontSize = label(this, "lblFontSize", QStringLiteral("Font Size:"));
    platform::setGeometryTwips(lblFontSize, 120, 1860, 4200, 300);
    txtFontSize = named(new QLineEdit(this), "txtFontSize");
    platform::setGeometryTwips(txtFontSize, 4440, 1830, 1320, 330);

    lblTwipsPerInch =
        label(this, "lblTwipsPerInch", QStringLiteral("NOTE:  There are 1440 Twips in one inch."));
    platform::setGeometryTwips(lblTwipsPerInch, 120, 2340, 9000, 300);

    cbAlternatePrint = named(new QCheckBox(QStringLiteral("Check this box if you are having trouble printing "
                                                          "the Pocket Report, then try printing again."),
                                           this),
                             "cbAlternatePrint");
    platform::setGeometryTwips(cbAlternatePrint, 120, 2760, 9000, 330);
    cbPrintLastNameFirst = named(new QCheckBox(QStringLiteral("Print LastName before FirstName."), this),
                                 "cbPrintLastNameFirst");
    platform::setGeometryTwips(cbPrintLastNameFirst, 120, 3180, 9000, 330);

    lblOrientation = label(this, "lblOrientation", QStringLiteral("Orientation of printing for envelopes"));
    platform::setGeometryTwips(lblOrientation, 120, 600, 4200, 300);
    Frame1 = named(new QGroupBox(this), "Frame1");
    platform::setGeometryTwips(Frame1, 120, 960, 3000, 1020);
    OptionPortrait = named(new QRadioButton(QStringLiteral("Portrait"), Frame1), "OptionPortrait");
    platform::setGeometryTwips(OptionPortrait, 240, 180, 2520, 300);
    OptionLandscape = named(new QRadioButton(QStringLiteral("Landscape"), Frame1), "OptionLandscape");
    platform::setGeometryTwips(OptionLandscape, 240, 570, 2520, 300);

    cmdReset = named(new QPushButton(QStringLiteral("&Reset to standard values"), this), "cmdReset");
    platform::setGeometryTwips(cmdReset, 120, 3960, 2640, 420);
    cmdSave = named(new QPushButton(QStringLiteral("&Save and Exit"), this), "cmdSave");
    platform::setGeometryTwips(cmdSave, 4800, 3960, 2160, 420);
    cmdExit = named(new QPushButton(QStringLiteral("Cancel and E&xit"), this), "cmdExit");
    platform::setGeometryTwips(cmdExit, 6960, 3960, 2160, 420);
    connect(cmdReset, &QPushButton::clicked, this, &ReportOptionsForm::cmdReset_Click);
    connect(cmdSave, &QPushButton::clicked, this, &ReportOptionsForm::cmdSave_Click);
    connect(cmdExit, &QPushButton::clicked, this, &ReportOptionsForm::cmdExit_Click);
    setCancelButton(cmdExit);

    // A larger system font must not cut the long caption of the check box: the window
    // grows with it.
    const int cut = cbAlternatePrint->sizeHint().width() - cbAlternatePrint->width();
    if (cut > 0) {
        for (QCheckBox *box : {cbAlternatePrint, cbPrintLastNameFirst})
            box->resize(box->width() + cut, box->height());
        resize(width() + cut, height());
    }
    setDialogBorder(true);

    // Until a report is chosen only the list, the instructions and Cancel show.
    for (QWidget *w :
         std::initializer_list<QWidget *>{lblXStart, txtXStart, lblYStart, txtYStart, lblFonts, cmbFonts,
                                          lblFontSize, txtFontSize, lblTwipsPerInch, cbAlternatePrint,
                                          cbPrintLastNameFirst, lblOrientation, Frame1, cmdReset, cmdSave})
        w->setVisible(false);
}

ReportOptionsForm &ReportOptionsForm::instance()
{
    static QPointer<ReportOptionsForm> form;
    return platform::instanceOf(form);
}

void ReportOptionsForm::Form_Load()
{
    platform::centerWindowOnScreen(this);
    lbReports->addItems(ReportNames());
    platform::PrinterObject &printer = platform::Printer();
    const int fonts = printer.fontCount();
    for (int i = 0; i < fonts; ++i)
        cmbFonts->addItem(printer.fonts(i));
    cmbFonts->setEditText(QString());
    platform::setMousePointer(platform::MousePointer::Default);
}

void ReportOptionsForm::lbReports_Click()
{
    // One report per opening: the list is gone once one is chosen.
    if (!mChosen.isEmpty() || !lbReports->currentItem())
        return;
    mChosen = lbReports->currentItem()->text();
    showChosen();
}

void ReportOptionsForm::showChosen()
{
    lblReports->setText(mChosen);
    lbReports->setVisible(false);
    lblInstructions->setVisible(false);
    cmdSave->setVisible(true);

    std::optional<ReportSettingsRow> row;
    if (!guarded([&] { row = ReadReportSettings(*gDb, mChosen); }))
        return;

    if (mChosen == reportname::EnvelopeOrientation) {
        lblOrientation->setVisible(true);
        Frame1->setVisible(true);
        // The database comes with this row; without it envelopes print in portrait,
        // and the window says so.
        if (!row || row->setting[0] == QStringLiteral("Portrait"))
            OptionPortrait->setChecked(true);
        else
            OptionLandscape->setChecked(true);
        return;
    }

    const bool pocket = mChosen == reportname::Pocket;
    cmdReset->setVisible(true);
    for (QWidget *w : {static_cast<QWidget *>(lblYStart), static_cast<QWidget *>(txtYStart),
                       static_cast<QWidget *>(lblTwipsPerInch)})
        w->setVisible(true);
    for (QWidget *w :
         {static_cast<QWidget *>(cbAlternatePrint), static_cast<QWidget *>(cbPrintLastNameFirst)})
        w->setVisible(pocket);
    for (QWidget *w :
         std::initializer_list<QWidget *>{lblXStart, txtXStart, lblFonts, cmbFonts, lblFontSize, txtFontSize})
        w->setVisible(!pocket);
    if (!row)
        return;
    txtYStart->setText(row->y());
    if (pocket) {
        // The pocket book takes "1" as on; anything else (a value that is not even a
        // number included) shows as off.
        cbAlternatePrint->setChecked(ReportSettingNumber(row->setting[4]) == 1.0);
        cbPrintLastNameFirst->setChecked(ReportSettingNumber(row->setting[5]) == 1.0);
    } else {
        txtXStart->setText(row->x());
        cmbFonts->setEditText(row->font());
        txtFontSize->setText(row->size());
    }
}

void ReportOptionsForm::cmdReset_Click()
{
    if (mChosen.isEmpty())
        return;
    std::optional<ReportSettingsRow> defaults;
    if (!guarded([&] { defaults = ReadReportDefaults(*gDb, mChosen); }))
        return;
    if (defaults) {
        txtXStart->setText(defaults->x());
        txtYStart->setText(defaults->y());
        cmbFonts->setEditText(defaults->font());
        txtFontSize->setText(defaults->size());
    } else if (mChosen == reportname::Pocket) {
        txtXStart->setText(Standards[0]);
        txtYStart->setText(Standards[1]);
        cbAlternatePrint->setChecked(false);
        cmbFonts->setEditText(Standards[2]);
        txtFontSize->setText(Standards[3]);
    }
}

bool ReportOptionsForm::valuesAreValid()
{
    if (mChosen == reportname::EnvelopeOrientation)
        return true;
    // A start off the paper or a size no page holds prints nothing, or pages without end.
    // The starts are weighed in the font that is stored with them: the pocket book's own,
    // else the boxes' (the standard in place of an empty box or a size that is refused below).
    const bool pocket = mChosen == reportname::Pocket;
    platform::PrintFont font;
    font.name = pocket || cmbFonts->currentText().isEmpty() ? Standards[2] : cmbFonts->currentText();
    font.size = Standards[3].toDouble();
    if (!pocket && isNumberWithin(txtFontSize->text(), ReportSettingRanges::SmallestFontSize,
                                  ReportSettingRanges::LargestFontSize))
        font.size = static_cast<float>(*ReportSettingNumber(txtFontSize->text())); // as the report takes it
    ReportSettingRanges ranges;
    if (!guarded([&] { ranges = reportSettingRanges(mChosen, reportPage(*gDb, mChosen), font); }))
        return false;
    struct Check {
        QLineEdit *box;
        bool whole;
        double smallest, largest;
        QString message;
    };
    constexpr double smallest = ReportSettingRanges::SmallestStart;
    auto position = [&](const char *which, qint32 largest) {
        return QStringLiteral("The starting %1 print position must be a whole number of twips from %2 to %3.")
            .arg(QLatin1String(which))
            .arg(smallest)
            .arg(largest);
    };
    std::vector<Check> checks;
    if (!pocket)
        checks.push_back(
            {txtXStart, true, smallest, double(ranges.largestX), position("horizontal", ranges.largestX)});
    checks.push_back({txtYStart, true, smallest, double(ranges.largestY), position("vertical", ranges.largestY)});
    if (!pocket)
        checks.push_back({txtFontSize, false, ReportSettingRanges::SmallestFontSize,
                          ReportSettingRanges::LargestFontSize,
                          QStringLiteral("The font size must be a number from %1 to %2.")
                              .arg(ReportSettingRanges::SmallestFontSize)
                              .arg(ReportSettingRanges::LargestFontSize)});
    for (const Check &check : checks) {
        // An empty box is stored as its standard value.
        const QString text = check.box->text();
        if (text.isEmpty() || (check.whole ? isWholeNumberWithin : isNumberWithin)(text, check.smallest,
                                                                                  check.largest))
            continue;
        platform::MsgBox(check.message, platform::vbExclamation, QStringLiteral("Report Options"));
        check.box->setFocus();
        check.box->selectAll();
        return false;
    }
    return true;
}

void ReportOptionsForm::store()
{
    gSql = reportSettingsQuery(QStringLiteral("REPORT"), mChosen);
    std::unique_ptr<platform::Recordset> rs = gDb->openRecordset(gSql);
    if (rs->recordCount() == 0) {
        rs->addNew();
        rs->setValue(QStringLiteral("Type"), QStringLiteral("REPORT"));
        rs->setValue(QStringLiteral("Name"), mChosen);
    } else {
        rs->moveFirst();
        rs->edit();
    }
    QString settings[4] = {txtXStart->text(), txtYStart->text(), cmbFonts->currentText(),
                           txtFontSize->text()};
    if (mChosen == reportname::EnvelopeOrientation) {
        // Only the orientation is this row's; the other columns stay as they are.
        for (int n = 1; n < 4; ++n)
            settings[n] = NullToString(rs->value(QStringLiteral("Setting%1").arg(n + 1))).toString();
        settings[0] = OptionPortrait->isChecked() ? QStringLiteral("Portrait") : QStringLiteral("Landscape");
    }
    if (mChosen == reportname::Pocket) {
        settings[0] = Standards[0];
        settings[2] = Standards[2];
        settings[3] = Standards[3];
        rs->setValue(QStringLiteral("Setting5"),
                     cbAlternatePrint->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
        rs->setValue(QStringLiteral("Setting6"),
                     cbPrintLastNameFirst->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
    }
    for (int n = 0; n < 4; ++n)
        rs->setValue(QStringLiteral("Setting%1").arg(n + 1),
                     settings[n].isEmpty() ? Standards[n] : settings[n]);
    rs->update();
    rs->close();
}

void ReportOptionsForm::cmdSave_Click()
{
    if (!mChosen.isEmpty()) {
        if (!valuesAreValid())
            return;
        if (!guarded([this] { store(); }))
            return;
    }
    unload();
}

void ReportOptionsForm::cmdExit_Click()
{
    unload();
}

#include "platform/ui/DialogWindows.h"

#include "platform/ui/MsgBox.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <gtest/gtest.h>

using namespace platform;

namespace {

DialogRequest message(const QString &title, const QString &text)
{
    DialogRequest request;
    request.kind = DialogKind::Message;
    request.title = title;
    request.text = text;
    return request;
}

} // namespace

TEST(DialogWindows, AMessageBoxIsWideEnoughForItsTitle)
{
    const QFontMetrics titleFont(QApplication::font("QMdiSubWindowTitleBar"));
    for (const QString &title : {QStringLiteral("Password change successful"), QStringLiteral("Confirmation"),
                                 QStringLiteral("Error - change not made")}) {
        SCOPED_TRACE(title.toStdString());
        const auto box = makeMessageBox(message(title, QStringLiteral("Done.")));
        box->show();
        QCoreApplication::processEvents();
        // The title, and beside it the window's icon and buttons.
        EXPECT_GE(box->width(), titleFont.horizontalAdvance(title) + 100);
        box->hide();
    }
}

TEST(DialogWindows, TheOpenDialogListsTheDatabaseFilterAsWritten)
{
    DialogRequest request;
    request.kind = DialogKind::OpenFile;
    request.title = QStringLiteral("Open");
    request.filter = QStringLiteral("Database files (*.mdb)|*.mdb|All Files (*.*)|*.*");
    const auto dialog = makeFileDialog(request);
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    auto *types = dialog->findChild<QComboBox *>(QStringLiteral("fileTypeCombo"));
    ASSERT_NE(types, nullptr);
    ASSERT_EQ(types->count(), 2);
    EXPECT_EQ(types->itemText(0).toStdString(), "Database files (*.mdb)");
    EXPECT_EQ(types->itemText(1).toStdString(), "All Files (*.*)");
}

TEST(DialogWindows, AnInputBoxWrapsALongPromptAndFitsTheScreen)
{
    DialogRequest request;
    request.kind = DialogKind::Input;
    request.title = QStringLiteral("Enter new scroll bar width");
    request.text =
        QString(QStringLiteral("A prompt of many words that would make one very long line. ")).repeated(12);
    request.defaultText = QStringLiteral("252");
    const auto dialog = makeInputDialog(request);
    dialog->show();
    QCoreApplication::processEvents();
    const int screen = dialog->screen()->availableGeometry().width();
    EXPECT_LE(dialog->frameGeometry().width(), screen);
    auto *label = dialog->findChild<QLabel *>();
    ASSERT_NE(label, nullptr);
    EXPECT_TRUE(label->wordWrap());
    EXPECT_EQ(label->text(), request.text) << "the prompt is shown whole";
    dialog->hide();
}

TEST(DialogWindows, ThePrintDialogOffersThePagesOfTheDocument)
{
    QPrinter printer;
    DialogRequest request;
    request.kind = DialogKind::Print;
    request.maxPage = 7;
    const auto print = makePrintDialog(request, printer);
    EXPECT_TRUE(print->testOption(QAbstractPrintDialog::PrintPageRange));
    EXPECT_EQ(print->minPage(), 1);
    EXPECT_EQ(print->maxPage(), 7);

    // Printer setup chooses the printer and paper only.
    request.kind = DialogKind::PrinterSetup;
    const auto setup = makePrintDialog(request, printer);
    EXPECT_FALSE(setup->testOption(QAbstractPrintDialog::PrintPageRange));

    // Only the print dialog's button promises a printout; setup's confirms the choice.
    const auto confirmText = [](QPrintDialog &dialog) {
        dialog.show();
        QCoreApplication::processEvents();
        auto *buttons = dialog.findChild<QDialogButtonBox *>();
        const QString text = buttons && buttons->button(QDialogButtonBox::Ok)
                                 ? buttons->button(QDialogButtonBox::Ok)->text().remove(QLatin1Char('&'))
                                 : QString();
        dialog.hide();
        return text;
    };
    EXPECT_EQ(confirmText(*print), QStringLiteral("Print"));
    EXPECT_EQ(confirmText(*setup), QStringLiteral("OK"));
}

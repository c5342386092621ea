#include "platform/ui/DialogSeam.h"

#include "platform/ui/FileFilter.h"
#include "platform/ui/MsgBox.h"

#include <QApplication>
#include <QColorDialog>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QUrl>

namespace platform {

namespace {

DialogHook &hook()
{
    static DialogHook installed;
    return installed;
}

// Classic texts break lines with CR, LF or both; Qt breaks at LF only.
QString displayText(QString text)
{
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

DialogAnswer realMessage(const DialogRequest &request)
{
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(request.title);
    // Messages quote data ("<Jo>", "a & b"): never read them as markup.
    box.setTextFormat(Qt::PlainText);
    box.setText(displayText(request.text));
    switch (request.icon) {
    case vbCritical:
        box.setIcon(QMessageBox::Critical);
        break;
    case vbQuestion:
        box.setIcon(QMessageBox::Question);
        break;
    case vbExclamation:
        box.setIcon(QMessageBox::Warning);
        break;
    case vbInformation:
        box.setIcon(QMessageBox::Information);
        break;
    default:
        break;
    }
    struct Choice {
        QMessageBox::StandardButton button;
        int result;
    };
    QList<Choice> choices;
    switch (request.buttons) {
    case vbOKCancel:
        choices = {{QMessageBox::Ok, vbOK}, {QMessageBox::Cancel, vbCancel}};
        break;
    case vbAbortRetryIgnore:
        choices = {
            {QMessageBox::Abort, vbAbort}, {QMessageBox::Retry, vbRetry}, {QMessageBox::Ignore, vbIgnore}};
        break;
    case vbYesNoCancel:
        choices = {{QMessageBox::Yes, vbYes}, {QMessageBox::No, vbNo}, {QMessageBox::Cancel, vbCancel}};
        break;
    case vbYesNo:
        choices = {{QMessageBox::Yes, vbYes}, {QMessageBox::No, vbNo}};
        break;
    case vbRetryCancel:
        choices = {{QMessageBox::Retry, vbRetry}, {QMessageBox::Cancel, vbCancel}};
        break;
    default:
        choices = {{QMessageBox::Ok, vbOK}};
        break;
    }
    const int cancelAnswer = msgCancelAnswer(request.style);
    for (qsizetype i = 0; i < choices.size(); ++i) {
        QPushButton *button = box.addButton(choices[i].button);
        if (i + 1 == request.defaultButton)
            box.setDefaultButton(button);
        if (choices[i].result == cancelAnswer)
            box.setEscapeButton(button);
    }
    box.exec();
    DialogAnswer answer;
    answer.result = cancelAnswer;
    for (const Choice &choice : choices) {
        if (box.clickedButton() == box.button(choice.button))
            answer.result = choice.result;
    }
    answer.accepted = answer.result != cancelAnswer;
    return answer;
}

DialogAnswer realInput(const DialogRequest &request)
{
    QInputDialog dialog(QApplication::activeWindow());
    dialog.setWindowTitle(request.title);
    dialog.setLabelText(displayText(request.text));
    if (auto *label = dialog.findChild<QLabel *>())
        label->setTextFormat(Qt::PlainText);
    dialog.setTextValue(request.defaultText);
    if (request.passwordMask)
        dialog.setTextEchoMode(QLineEdit::Password);
    DialogAnswer answer;
    answer.accepted = dialog.exec() == QDialog::Accepted;
    answer.text = answer.accepted ? dialog.textValue() : QString();
    return answer;
}

DialogAnswer realFile(const DialogRequest &request)
{
    constexpr int allowMultiSelect = 0x200;
    constexpr int fileMustExist = 0x1000;
    constexpr int overwritePrompt = 0x2;
    const bool save = request.kind == DialogKind::SaveFile;
    QFileDialog dialog(request.form ? request.form : QApplication::activeWindow(), request.title,
                       request.initialDir);
    const QStringList filters = qtNameFilters(request.filter);
    dialog.setNameFilters(filters);
    if (request.filterIndex >= 1 && request.filterIndex <= filters.size())
        dialog.selectNameFilter(filters[request.filterIndex - 1]);
    if (save) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        if (!(request.flags & overwritePrompt))
            dialog.setOption(QFileDialog::DontConfirmOverwrite);
    } else if (request.flags & allowMultiSelect) {
        dialog.setFileMode(QFileDialog::ExistingFiles);
    } else {
        dialog.setFileMode((request.flags & fileMustExist) ? QFileDialog::ExistingFile
                                                           : QFileDialog::AnyFile);
    }
    if (!request.defaultExt.isEmpty())
        dialog.setDefaultSuffix(request.defaultExt);
    if (!request.fileName.isEmpty())
        dialog.selectFile(request.fileName);
    DialogAnswer answer;
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return answer;
    answer.accepted = true;
    answer.fileName = dialog.selectedFiles().constFirst();
    answer.filterIndex = int(filters.indexOf(dialog.selectedNameFilter())) + 1;
    answer.flags = request.flags;
    return answer;
}

DialogAnswer realColor(const DialogRequest &request)
{
    QColorDialog dialog(request.color.isValid() ? request.color : QColor(Qt::white));
    DialogAnswer answer;
    answer.accepted = dialog.exec() == QDialog::Accepted;
    answer.color = answer.accepted ? dialog.selectedColor() : request.color;
    return answer;
}

DialogAnswer realPrinterSetup(const DialogRequest &request)
{
    static QPrinter defaultPrinter;
    QPageSetupDialog dialog(request.printer ? request.printer : &defaultPrinter);
    DialogAnswer answer;
    answer.accepted = dialog.exec() == QDialog::Accepted;
    return answer;
}

DialogAnswer realShell(const DialogRequest &request)
{
    DialogAnswer answer;
    switch (request.kind) {
    case DialogKind::OpenLink:
        answer.accepted = QDesktopServices::openUrl(QUrl(request.text, QUrl::TolerantMode));
        break;
    case DialogKind::OpenDocument:
        answer.accepted =
            QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(request.text).absoluteFilePath()));
        break;
    default:
        answer.accepted = QProcess::startDetached(request.text, request.arguments);
        break;
    }
    return answer;
}

} // namespace

QString dialogKindName(DialogKind kind)
{
    switch (kind) {
    case DialogKind::Message:
        return QStringLiteral("message box");
    case DialogKind::Input:
        return QStringLiteral("input box");
    case DialogKind::OpenFile:
        return QStringLiteral("open dialog");
    case DialogKind::SaveFile:
        return QStringLiteral("save dialog");
    case DialogKind::Color:
        return QStringLiteral("colour dialog");
    case DialogKind::PrinterSetup:
        return QStringLiteral("printer setup dialog");
    case DialogKind::ModalForm:
        return QStringLiteral("modal window");
    case DialogKind::OpenLink:
        return QStringLiteral("shell link");
    case DialogKind::OpenDocument:
        return QStringLiteral("shell document");
    case DialogKind::StartProgram:
        return QStringLiteral("program start");
    }
    return QString();
}

DialogAnswer runDialog(const DialogRequest &request)
{
    if (hook())
        return hook()(request);
    switch (request.kind) {
    case DialogKind::Message:
        return realMessage(request);
    case DialogKind::Input:
        return realInput(request);
    case DialogKind::OpenFile:
    case DialogKind::SaveFile:
        return realFile(request);
    case DialogKind::Color:
        return realColor(request);
    case DialogKind::PrinterSetup:
        return realPrinterSetup(request);
    case DialogKind::ModalForm: {
        DialogAnswer answer;
        answer.accepted = true;
        return answer;
    }
    case DialogKind::OpenLink:
    case DialogKind::OpenDocument:
    case DialogKind::StartProgram:
        return realShell(request);
    }
    return DialogAnswer();
}

void setDialogHookForTesting(DialogHook hook_)
{
    hook() = std::move(hook_);
}

bool dialogHookInstalled()
{
    return bool(hook());
}

} // namespace platform

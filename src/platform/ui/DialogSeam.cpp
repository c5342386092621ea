#include "platform/ui/DialogSeam.h"

#include "platform/print/PrintSupport.h"
#include "platform/ui/DialogWindows.h"
#include "platform/ui/FileFilter.h"
#include "platform/ui/MousePointer.h"
#include "platform/ui/MsgBox.h"

#include <QApplication>
#include <QColorDialog>
#include <QDesktopServices>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGuiApplication>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QSpacerItem>
#include <QStandardPaths>
#include <QTimer>
#include <QUrl>

#include <algorithm>
#include <optional>

namespace platform {

namespace {

DialogHook &hook()
{
    static DialogHook installed;
    return installed;
}

struct Choice {
    QMessageBox::StandardButton button;
    int result;
};

QList<Choice> choicesFor(const DialogRequest &request)
{
    switch (request.buttons) {
    case vbOKCancel:
        return {{QMessageBox::Ok, vbOK}, {QMessageBox::Cancel, vbCancel}};
    case vbAbortRetryIgnore:
        return {
            {QMessageBox::Abort, vbAbort}, {QMessageBox::Retry, vbRetry}, {QMessageBox::Ignore, vbIgnore}};
    case vbYesNoCancel:
        return {{QMessageBox::Yes, vbYes}, {QMessageBox::No, vbNo}, {QMessageBox::Cancel, vbCancel}};
    case vbYesNo:
        return {{QMessageBox::Yes, vbYes}, {QMessageBox::No, vbNo}};
    case vbRetryCancel:
        return {{QMessageBox::Retry, vbRetry}, {QMessageBox::Cancel, vbCancel}};
    default:
        return {{QMessageBox::Ok, vbOK}};
    }
}

// The width the screen leaves for a window.
int screenWidth(QWidget *window)
{
    QScreen *screen = window && window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry().width() : 1024;
}

DialogAnswer realMessage(const DialogRequest &request)
{
    const std::unique_ptr<QMessageBox> box = makeMessageBox(request);
    box->exec();
    const int cancelAnswer = msgCancelAnswer(request.style);
    DialogAnswer answer;
    answer.result = cancelAnswer;
    for (const Choice &choice : choicesFor(request)) {
        if (box->clickedButton() == box->button(choice.button))
            answer.result = choice.result;
    }
    answer.accepted = answer.result != cancelAnswer;
    return answer;
}

// A notice is shown window-modal to its owner and not waited for: the work that showed it
// goes on running its events, which answer the box as well. The box is kept once made and
// only hidden when answered, since windows opened while it was the active one may be its
// own and would go with it; the same notice shows again from it.
DialogAnswer realNotice(const DialogRequest &request)
{
    const QString text = displayText(request.text);
    QMessageBox *box = nullptr;
    for (QWidget *top : QApplication::topLevelWidgets()) {
        auto *kept = qobject_cast<QMessageBox *>(top);
        if (kept && kept->objectName() == QLatin1String(NoticeName) && kept->text() == text &&
            (kept->isVisible() || !request.form || kept->parentWidget() == request.form)) {
            box = kept;
            if (kept->isVisible())
                break;
        }
    }
    if (!box) {
        box = makeMessageBox(request).release();
        box->setObjectName(QLatin1String(NoticeName));
    }
    if (box->isVisible()) {
        box->raise();
        box->activateWindow();
    } else {
        box->open();
    }
    return DialogAnswer();
}

DialogAnswer realInput(const DialogRequest &request)
{
    const std::unique_ptr<QInputDialog> dialog = makeInputDialog(request);
    DialogAnswer answer;
    answer.accepted = dialog->exec() == QDialog::Accepted;
    answer.text = answer.accepted ? dialog->textValue() : QString();
    return answer;
}

DialogAnswer realFile(const DialogRequest &request)
{
    const std::unique_ptr<QFileDialog> dialog = makeFileDialog(request);
    DialogAnswer answer;
    if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty())
        return answer;
    answer.accepted = true;
    answer.fileName = dialog->selectedFiles().constFirst();
    answer.filterIndex = int(dialog->nameFilters().indexOf(dialog->selectedNameFilter())) + 1;
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

// Printers and their dialogs come from the printing library, loaded now if need be.
DialogAnswer realPrinting(const DialogRequest &request)
{
    return printSupport().runPrintDialog(request);
}

// How long the desktop's opener may take before a page counts as shown: one that hands the
// page on returns at once, one that runs the browser itself keeps running while it shows it.
constexpr int OpenerPatienceMs = 3000;

// Opens an address the way the desktop does. Where the desktop's opener is a program that
// tells by its exit status whether anything could show the address (xdg-open), that status is
// the answer: the desktop call itself reports success as soon as the opener has started.
bool openWithDesktop(const QUrl &url)
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (!opener.isEmpty()) {
        BusyPointer busy;
        auto *process = new QProcess;
        process->setProcessChannelMode(QProcess::ForwardedChannels);
        process->setStandardInputFile(QProcess::nullDevice());
        process->start(opener, {url.toString(QUrl::FullyEncoded)});
        if (process->waitForStarted()) {
            QEventLoop wait;
            QObject::connect(process, &QProcess::finished, &wait, &QEventLoop::quit);
            QTimer::singleShot(OpenerPatienceMs, &wait, &QEventLoop::quit);
            wait.exec(QEventLoop::ExcludeUserInputEvents);
        }
        if (process->state() != QProcess::NotRunning) {
            // It shows the page itself, and is left to end on its own.
            QObject::connect(process, &QProcess::finished, process, &QObject::deleteLater);
            return true;
        }
        const bool shown = process->error() != QProcess::FailedToStart &&
                           process->exitStatus() == QProcess::NormalExit && process->exitCode() == 0;
        delete process;
        return shown;
    }
#endif
    return QDesktopServices::openUrl(url);
}

DialogAnswer realShell(const DialogRequest &request)
{
    DialogAnswer answer;
    switch (request.kind) {
    case DialogKind::OpenLink:
        answer.accepted = openWithDesktop(QUrl(request.text, QUrl::TolerantMode));
        break;
    case DialogKind::OpenDocument:
        answer.accepted = openWithDesktop(QUrl::fromLocalFile(QFileInfo(request.text).absoluteFilePath()));
        break;
    default:
        answer.accepted = QProcess::startDetached(request.text, request.arguments);
        break;
    }
    return answer;
}

} // namespace

QString displayText(QString text)
{
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

std::unique_ptr<QMessageBox> makeMessageBox(const DialogRequest &request)
{
    auto box = std::make_unique<QMessageBox>(request.form ? request.form : QApplication::activeWindow());
    box->setWindowTitle(request.title);
    // Messages quote data ("<Jo>", "a & b"): never read them as markup.
    box->setTextFormat(Qt::PlainText);
    box->setText(displayText(request.text));
    switch (request.icon) {
    case vbCritical:
        box->setIcon(QMessageBox::Critical);
        break;
    case vbQuestion:
        box->setIcon(QMessageBox::Question);
        break;
    case vbExclamation:
        box->setIcon(QMessageBox::Warning);
        break;
    case vbInformation:
        box->setIcon(QMessageBox::Information);
        break;
    default:
        break;
    }
    const int cancelAnswer = msgCancelAnswer(request.style);
    const QList<Choice> choices = choicesFor(request);
    for (qsizetype i = 0; i < choices.size(); ++i) {
        QPushButton *button = box->addButton(choices[i].button);
        if (i + 1 == request.defaultButton)
            box->setDefaultButton(button);
        if (choices[i].result == cancelAnswer)
            box->setEscapeButton(button);
    }
    // A box sizes itself to its text, and the title bar would cut a longer title short
    // ("Passwo...ccessful"): an empty row as wide as the title, with room for the window's
    // icon and buttons, keeps it whole (as far as the screen allows).
    const QFontMetrics title(QApplication::font("QMdiSubWindowTitleBar"));
    const int wanted =
        std::min(title.horizontalAdvance(request.title) + TitleBarAllowance, screenWidth(box.get()) * 9 / 10);
    if (auto *grid = qobject_cast<QGridLayout *>(box->layout()))
        grid->addItem(new QSpacerItem(wanted, 0, QSizePolicy::Minimum, QSizePolicy::Minimum),
                      grid->rowCount(), 0, 1, grid->columnCount());
    return box;
}

std::unique_ptr<QInputDialog> makeInputDialog(const DialogRequest &request)
{
    auto dialog = std::make_unique<QInputDialog>(QApplication::activeWindow());
    dialog->setWindowTitle(request.title);
    dialog->setLabelText(displayText(request.text));
    // A long prompt wraps, and the box never grows past the screen.
    if (auto *label = dialog->findChild<QLabel *>()) {
        label->setTextFormat(Qt::PlainText);
        label->setWordWrap(true);
    }
    dialog->setMaximumWidth(screenWidth(dialog.get()) * 9 / 10);
    dialog->setTextValue(request.defaultText);
    if (request.passwordMask)
        dialog->setTextEchoMode(QLineEdit::Password);
    return dialog;
}

std::unique_ptr<QFileDialog> makeFileDialog(const DialogRequest &request)
{
    constexpr int allowMultiSelect = 0x200;
    constexpr int fileMustExist = 0x1000;
    constexpr int overwritePrompt = 0x2;
    const bool save = request.kind == DialogKind::SaveFile;
    auto dialog = std::make_unique<QFileDialog>(request.form ? request.form : QApplication::activeWindow(),
                                                request.title, request.initialDir);
    // The list shows each description as written ("Database files (*.mdb)"), without the
    // patterns Qt needs after it.
    dialog->setOption(QFileDialog::HideNameFilterDetails);
    const QStringList filters = qtNameFilters(request.filter);
    dialog->setNameFilters(filters);
    if (request.filterIndex >= 1 && request.filterIndex <= filters.size())
        dialog->selectNameFilter(filters[request.filterIndex - 1]);
    if (save) {
        dialog->setAcceptMode(QFileDialog::AcceptSave);
        dialog->setFileMode(QFileDialog::AnyFile);
        if (!(request.flags & overwritePrompt))
            dialog->setOption(QFileDialog::DontConfirmOverwrite);
    } else if (request.flags & allowMultiSelect) {
        dialog->setFileMode(QFileDialog::ExistingFiles);
    } else {
        dialog->setFileMode((request.flags & fileMustExist) ? QFileDialog::ExistingFile
                                                            : QFileDialog::AnyFile);
    }
    if (!request.defaultExt.isEmpty())
        dialog->setDefaultSuffix(request.defaultExt);
    if (!request.fileName.isEmpty())
        dialog->selectFile(request.fileName);
    return dialog;
}

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
    case DialogKind::Print:
        return QStringLiteral("print dialog");
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

namespace {
bool waitsForTheUser(const DialogRequest &request)
{
    switch (request.kind) {
    case DialogKind::Message:
        return request.waits;
    case DialogKind::Input:
    case DialogKind::OpenFile:
    case DialogKind::SaveFile:
    case DialogKind::Color:
    case DialogKind::PrinterSetup:
    case DialogKind::Print:
        return true;
    // A modal window sets the pointer itself when it loads; the shell does not wait.
    default:
        return false;
    }
}
} // namespace

DialogAnswer runDialog(const DialogRequest &request)
{
    std::optional<NormalPointer> normal;
    if (waitsForTheUser(request))
        normal.emplace();
    if (hook()) {
        DialogAnswer answer = hook()(request);
        if (answer.showForm && request.kind == DialogKind::Message && !request.waits)
            return realNotice(request);
        return answer;
    }
    switch (request.kind) {
    case DialogKind::Message:
        if (!request.waits)
            return realNotice(request);
        return realMessage(request);
    case DialogKind::Input:
        return realInput(request);
    case DialogKind::OpenFile:
    case DialogKind::SaveFile:
        return realFile(request);
    case DialogKind::Color:
        return realColor(request);
    case DialogKind::PrinterSetup:
    case DialogKind::Print:
        return realPrinting(request);
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

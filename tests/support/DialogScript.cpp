#include "support/DialogScript.h"

#include "platform/ui/DialogWindows.h"
#include "platform/ui/MsgBox.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QLineEdit>
#include <QTextEdit>
#include <QWidget>
#include <algorithm>
#include <gtest/gtest.h>

using platform::DialogAnswer;
using platform::DialogKind;
using platform::DialogRequest;

namespace {

bool isShell(DialogKind kind)
{
    return kind == DialogKind::OpenLink || kind == DialogKind::OpenDocument ||
           kind == DialogKind::StartProgram;
}

std::string describe(const DialogRequest &request)
{
    QString text = platform::dialogKindName(request.kind);
    if (!request.objectName.isEmpty())
        text += QStringLiteral(" %1").arg(request.objectName);
    if (!request.title.isEmpty())
        text += QStringLiteral(" titled \"%1\"").arg(request.title);
    if (!request.text.isEmpty())
        text += QStringLiteral(": \"%1\"").arg(request.text);
    return text.toStdString();
}

// What a box answers when the user backs out of it.
DialogAnswer cancelled(const DialogRequest &request)
{
    DialogAnswer answer;
    answer.result = platform::msgCancelAnswer(request.style);
    return answer;
}

DialogAnswer strictDefault(const DialogRequest &request)
{
    ADD_FAILURE() << "A " << describe(request) << " appeared in a test without a DialogScript.";
    return cancelled(request);
}

} // namespace

DialogScript::DialogScript()
{
    platform::setDialogHookForTesting([this](const DialogRequest &request) { return handle(request); });
}

DialogScript::~DialogScript()
{
    installStrictDefault();
    for (QMessageBox *box : openNotices())
        box->done(QMessageBox::Ok);
    for (const Answer &answer : mAnswers) {
        ADD_FAILURE() << "A scripted answer for a "
                      << platform::dialogKindName(answer.kinds.front()).toStdString()
                      << (answer.formName.isEmpty() ? "" : " " + answer.formName.toStdString())
                      << " was never used.";
    }
}

std::vector<QMessageBox *> DialogScript::openNotices()
{
    std::vector<QMessageBox *> open;
    for (QWidget *top : QApplication::topLevelWidgets()) {
        auto *box = qobject_cast<QMessageBox *>(top);
        if (box && box->isVisible() && box->objectName() == QLatin1String(platform::NoticeName))
            open.push_back(box);
    }
    return open;
}

void DialogScript::installStrictDefault()
{
    platform::setDialogHookForTesting(strictDefault);
}

DialogScript &DialogScript::queue(Answer answer)
{
    mAnswers.push_back(std::move(answer));
    return *this;
}

DialogScript &DialogScript::answerMessage(int result)
{
    Answer answer{{DialogKind::Message}, {}, {}, {}};
    answer.answer.accepted = true;
    answer.answer.result = result;
    return queue(std::move(answer));
}

DialogScript &DialogScript::answerInput(const QString &text)
{
    Answer answer{{DialogKind::Input}, {}, {}, {}};
    answer.answer.accepted = true;
    answer.answer.text = text;
    return queue(std::move(answer));
}

DialogScript &DialogScript::cancelInput()
{
    return queue({{DialogKind::Input}, {}, {}, {}});
}

DialogScript &DialogScript::answerFile(DialogKind kind, const QString &path, int filterIndex)
{
    Answer answer{{kind}, {}, {}, {}};
    answer.answer.accepted = true;
    answer.answer.fileName = path;
    answer.answer.filterIndex = filterIndex;
    return queue(std::move(answer));
}

DialogScript &DialogScript::answerOpenFile(const QString &path, int filterIndex)
{
    return answerFile(DialogKind::OpenFile, path, filterIndex);
}

DialogScript &DialogScript::answerSaveFile(const QString &path, int filterIndex)
{
    return answerFile(DialogKind::SaveFile, path, filterIndex);
}

DialogScript &DialogScript::cancelFile()
{
    return queue({{DialogKind::OpenFile, DialogKind::SaveFile}, {}, {}, {}});
}

DialogScript &DialogScript::answerColor(const QColor &color)
{
    Answer answer{{DialogKind::Color}, {}, {}, {}};
    answer.answer.accepted = true;
    answer.answer.color = color;
    return queue(std::move(answer));
}

DialogScript &DialogScript::cancelColor()
{
    return queue({{DialogKind::Color}, {}, {}, {}});
}

DialogScript &DialogScript::answerPrinterSetup(bool confirmed, std::function<void(QPrinter *)> choose)
{
    Answer answer{{DialogKind::PrinterSetup}, {}, {}, {}, std::move(choose)};
    answer.answer.accepted = confirmed;
    return queue(std::move(answer));
}

DialogScript &DialogScript::answerPrint(int fromPage, int toPage, std::function<void(QPrinter *)> choose)
{
    Answer answer{{DialogKind::Print}, {}, {}, {}, std::move(choose)};
    answer.answer.accepted = true;
    answer.answer.fromPage = fromPage;
    answer.answer.toPage = toPage;
    return queue(std::move(answer));
}

DialogScript &DialogScript::cancelPrint()
{
    return queue({{DialogKind::Print}, {}, {}, {}, {}});
}

DialogScript &DialogScript::onModal(const QString &objectName, std::function<void(QWidget *)> action)
{
    return queue({{DialogKind::ModalForm}, {}, objectName, std::move(action)});
}

std::vector<DialogRequest> DialogScript::shown(DialogKind kind) const
{
    std::vector<DialogRequest> result;
    std::copy_if(mShown.begin(), mShown.end(), std::back_inserter(result),
                 [kind](const DialogRequest &request) { return request.kind == kind; });
    return result;
}

DialogAnswer DialogScript::handle(const DialogRequest &request)
{
    if (isShell(request.kind)) {
        mShellCalls.push_back(request);
        DialogAnswer answer;
        answer.accepted = mShellAccepts;
        return answer;
    }
    mShown.push_back(request);
    // A notice waits for no answer: the real box shows, and the test goes on.
    if (request.kind == DialogKind::Message && !request.waits) {
        DialogAnswer answer;
        answer.showForm = true;
        return answer;
    }
    if (mAnswers.empty() && mBackOut) {
        if (request.kind == DialogKind::ModalForm && request.form)
            request.form->close();
        return cancelled(request);
    }
    if (mAnswers.empty()) {
        ADD_FAILURE() << "Unscripted " << describe(request);
        return cancelled(request);
    }
    Answer &next = mAnswers.front();
    // The program's own input window, when the test wants to drive it itself.
    if (request.kind == DialogKind::Input && !request.objectName.isEmpty() &&
        next.kinds.front() == DialogKind::ModalForm && next.formName == request.objectName) {
        DialogAnswer answer;
        answer.showForm = true;
        return answer;
    }
    const bool kindMatches =
        std::find(next.kinds.begin(), next.kinds.end(), request.kind) != next.kinds.end();
    if (!kindMatches || (request.kind == DialogKind::ModalForm && next.formName != request.objectName)) {
        ADD_FAILURE() << "Expected a " << platform::dialogKindName(next.kinds.front()).toStdString() << " "
                      << next.formName.toStdString() << " but got a " << describe(request);
        return cancelled(request);
    }
    Answer taken = std::move(next);
    mAnswers.pop_front();
    if (request.kind == DialogKind::ModalForm) {
        taken.action(request.form);
        if (request.form && request.form->isVisible())
            ADD_FAILURE() << "The script left the modal window " << request.objectName.toStdString()
                          << " open.";
        return {};
    }
    if (taken.printerChoice && request.printer && taken.answer.accepted)
        taken.printerChoice(request.printer);
    // A file dialog hands back the flags it was given, as the real one does.
    if ((request.kind == DialogKind::OpenFile || request.kind == DialogKind::SaveFile) &&
        taken.answer.accepted)
        taken.answer.flags = request.flags;
    return taken.answer;
}

void DialogScript::click(QWidget *root, const QString &buttonName)
{
    auto *button = root ? root->findChild<QAbstractButton *>(buttonName) : nullptr;
    if (!button) {
        ADD_FAILURE() << "No button " << buttonName.toStdString();
        return;
    }
    button->click();
}

void DialogScript::setText(QWidget *root, const QString &editName, const QString &text)
{
    if (auto *edit = root ? root->findChild<QLineEdit *>(editName) : nullptr) {
        edit->setText(text);
        return;
    }
    if (auto *edit = root ? root->findChild<QTextEdit *>(editName) : nullptr) {
        edit->setPlainText(text);
        return;
    }
    ADD_FAILURE() << "No text box " << editName.toStdString();
}

DialogScript &DialogScript::refuseShellCalls()
{
    mShellAccepts = false;
    return *this;
}

DialogScript &DialogScript::backOutOfTheRest()
{
    mBackOut = true;
    return *this;
}

#pragma once

#include <QObject>

class MainControls;
class NameList;

// The Reports menu and the commands beside it: where reports go (preview or printer), the
// printer setup, the lists, address books, labels and envelopes of the displayed contacts,
// their exports to files, and the clipboard copy of the current contact.
class ReportCommands : public QObject {
    Q_OBJECT
  public:
    explicit ReportCommands(NameList &window);

    void PreviewMode_Click();
    void PrintMode_Click();
    void CondensedList_Click();
    void Condensed1LineMenu_Click();
    void PhoneListMenu_Click();
    void DateReportMenu_Click();
    void RemindersReportMenu_Click();
    void ReportOptionsMenu_Click();
    void FullSizeAddressBook_Click();
    void HalfPageAddressBook_Click();
    void HalfPageAddressBookLeftSide_Click();
    void PocketMenu_Click();
    void Labels3upMenu_Click();
    void Labels1UpMenu1_Click();
    void Labels1UpMenu2_Click();
    void Labels2UpMenu_Click();
    void EnvelopeMenu_Click();
    void ReturnAddressMenu_Click();
    void ChangePrinter_Click();
    void mnuPageBreakAlpha_Click();
    void cmdReports_Click();
    void Export_Click();
    void ExportWithNotes_Click();
    void ExportEmail_Click();
    void ExportVistaprint_Click();
    void ExportReport1_Click();
    void ExportReport2_Click();
    void CopyClipboard_Click();
    void cmdClipboard_Click();

  private:
    NameList &mWindow;
    MainControls &mUi;
    // The pocket book prints last names first; taken from its settings row at each run.
    bool mbPocketLastNameFirst = false;
};

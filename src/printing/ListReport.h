#pragma once

#include <QString>
#include <QtGlobal>

#include <functional>

class DisplayedRecords;

// The run every list report shares: a portrait document in Arial 8 on the preview
// window's print surface, today's date at the top right of the first page, the
// trimmed heading centred below it when there is one, then one block per record,
// first to last, with the report's own page breaks between records. The preview
// shows the document growing; pending window events run between records. On a
// run-time error the report stops where it is, the record that was current becomes
// current again and the error's text is shown; the document is left as drawn.

// How each record's texts are laid out.
enum class ListLayout {
    // The bold name, then the rest on the same line, wrapped onto indented lines below.
    OneLine,
    // The bold name on a line of its own, the details wrapped on indented lines below.
    NameAboveDetail,
};

struct ListReportStyle {
    QString documentName;
    ListLayout layout = ListLayout::NameAboveDetail;
    // The heading also takes the second font style.
    bool headingStyle7 = false;
    // The records are the main window's: the current one is kept and put back.
    bool keepPosition = true;
};

// The texts of one record. The detail prints only when it is not blank.
struct ListRecordTexts {
    QString name;
    QString detail;
};

using ListRecordTextsBuilder = std::function<ListRecordTexts(DisplayedRecords &)>;

// Prepare, when given, runs first, as part of the report (its failures are the
// report's): false leaves before any document is started.
void RunListReport(DisplayedRecords &Records, const QString &Heading, const ListReportStyle &Style,
                   const ListRecordTextsBuilder &Texts, const std::function<bool()> &Prepare = {});

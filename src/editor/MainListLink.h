#pragma once

#include <QString>
#include <QtGlobal>

namespace platform {
class Database;
class Recordset;
} // namespace platform

// What the editor uses of the main window: the displayed record set of its data control
// (whose current row is always the contact the editor shows), the control's refresh, the
// database it reads, the caption of the category label, and which view of the list is
// shown (the editor never reads the main window's record source parts itself). The main window hands one of
// these to the editor when it opens it.
class MainListLink {
  public:
    virtual ~MainListLink() = default;

    virtual platform::Recordset &Recordset() = 0;
    virtual platform::Database &Database() = 0;
    // Runs the record source again; the record set is a new one afterwards.
    virtual void Refresh() = 0;
    virtual QString CategoryCaption() const = 0;
    // True while the list shows only the selected contacts: a new contact would not be seen.
    virtual bool ShowsSelectedOnly() const = 0;
    // True while the list shows the result of a find, which takes no new or deleted contacts.
    virtual bool ShowsFindResult() const = 0;
    // The number of the category the list shows, or -1 when it shows none.
    virtual qint64 CategoryShown() const = 0;
};

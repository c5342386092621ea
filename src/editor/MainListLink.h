#pragma once

#include <QString>

namespace platform {
class Database;
class Recordset;
} // namespace platform

// What the editor uses of the main window: the displayed record set of its data control
// (whose current row is always the contact the editor shows), the control's refresh, the
// database it reads, and the caption of the category label. The main window hands one of
// these to the editor when it opens it.
class MainListLink {
  public:
    virtual ~MainListLink() = default;

    virtual platform::Recordset &Recordset() = 0;
    virtual platform::Database &Database() = 0;
    // Runs the record source again; the record set is a new one afterwards.
    virtual void Refresh() = 0;
    virtual QString CategoryCaption() const = 0;
};

#pragma once

#include "editor/MainListLink.h"

#include <functional>

namespace platform {
class DataControl;
}

// The main list for the editor as the main window holds it: its data control Data1 and
// the caption of its category label.
//
//   DataControlLink link(*Data1, {caption, selectedOnly, findResult, category});
//   NameEdit::open(link, true, QStringLiteral("View/Edit an Existing Record"));
class DataControlLink : public MainListLink {
  public:
    // How the list is shown; an empty function stands for the plain list (no caption,
    // every contact, no category).
    struct View {
        std::function<QString()> categoryCaption;
        std::function<bool()> selectedOnly;
        std::function<bool()> findResult;
        std::function<qint64()> categoryShown;
    };

    DataControlLink(platform::DataControl &data1, View view);

    platform::Recordset &Recordset() override;
    platform::Database &Database() override;
    void Refresh() override;
    QString CategoryCaption() const override;
    bool ShowsSelectedOnly() const override;
    bool ShowsFindResult() const override;
    qint64 CategoryShown() const override;

  private:
    platform::DataControl &mData1;
    View mView;
};

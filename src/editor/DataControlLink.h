#pragma once

#include "editor/MainListLink.h"

#include <functional>

namespace platform {
class DataControl;
}

// The main list for the editor as the main window holds it: its data control Data1 and
// the caption of its category label.
//
//   DataControlLink link(*Data1, [this] { return lblCategory->text(); });
//   NameEdit::open(link, true, QStringLiteral("View/Edit an Existing Record"));
class DataControlLink : public MainListLink {
  public:
    DataControlLink(platform::DataControl &data1, std::function<QString()> categoryCaption);

    platform::Recordset &Recordset() override;
    platform::Database &Database() override;
    void Refresh() override;
    QString CategoryCaption() const override;

  private:
    platform::DataControl &mData1;
    std::function<QString()> mCategoryCaption;
};

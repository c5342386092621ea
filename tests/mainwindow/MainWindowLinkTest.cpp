#include "MainWindowFixture.h"

#include "helpers/MainWindowLink.h"

#include <QLabel>
#include <QPlainTextEdit>

namespace {

class MainWindowLinkTest : public MainWindowFixture {
  protected:
    template <class T> static T *control(NameList &w, const char *name)
    {
        T *found = w.findChild<T *>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
};

TEST_F(MainWindowLinkTest, TheWindowBelowReachesTheRunningMainWindow)
{
    prepare(5);
    NameList &w = start();
    auto *data1 = control<platform::DataControl>(w, "Data1");
    EXPECT_EQ(&MainWindowLink::Data1(), data1);
    EXPECT_EQ(MainWindowLink::LoadedData1(), data1);

    // The caption goes through the window's own setter, so Add follows it.
    MainWindowLink::SetCategoryCaption(QStringLiteral("Records containing Ada"));
    EXPECT_EQ(control<QLabel>(w, "lblCategory")->text(), "Records containing Ada");
    EXPECT_EQ(MainWindowLink::CategoryCaption(), "Records containing Ada");
    EXPECT_FALSE(w.addAllowed());
    MainWindowLink::SetCategoryCaption(QString());
    EXPECT_TRUE(w.addAllowed());

    auto *name = control<QPlainTextEdit>(w, "txtName");
    auto *phone = control<QPlainTextEdit>(w, "txtPhone");
    name->setPlainText(QStringLiteral("Ada Byron"));
    phone->setPlainText(QStringLiteral("555 0100"));
    MainWindowLink::ClearDetailBoxes();
    EXPECT_TRUE(name->toPlainText().isEmpty());
    EXPECT_TRUE(phone->toPlainText().isEmpty());

    auto *filter = control<QLabel>(w, "lblFilterMsg");
    filter->setText(QStringLiteral("Filter on"));
    filter->setVisible(true);
    MainWindowLink::HideFilterMessage();
    EXPECT_TRUE(filter->isHidden());
    EXPECT_EQ(filter->text(), "Filter on");
    MainWindowLink::ClearFilterMessage();
    EXPECT_TRUE(filter->text().isEmpty());

    StartedProgram::closeWindow();
    EXPECT_EQ(MainWindowLink::LoadedData1(), nullptr) << "a closed window is not reached";
}

} // namespace

#include "helpers/MainWindowLink.h"
#include "platform/db/DataControl.h"

#include <gtest/gtest.h>

namespace {

// Each test hands over hooks of its own and gives the earlier ones back afterwards.
class MainWindowLinkTest : public ::testing::Test {
  protected:
    void TearDown() override { MainWindowLink::install(std::move(kept)); }
    void use(MainWindowLink::Hooks hooks) { kept = MainWindowLink::install(std::move(hooks)); }

    MainWindowLink::Hooks kept;
};

TEST_F(MainWindowLinkTest, BeforeAnyMainWindowNothingIsReachedAndTheCallerIsTold)
{
    use({});
    EXPECT_FALSE(MainWindowLink::installed());
    EXPECT_EQ(MainWindowLink::LoadedData1(), nullptr);
    EXPECT_THROW(MainWindowLink::Data1(), std::logic_error);
    EXPECT_THROW(MainWindowLink::CategoryCaption(), std::logic_error);
    EXPECT_THROW(MainWindowLink::SetCategoryCaption(QStringLiteral("Family")), std::logic_error);
    EXPECT_THROW(MainWindowLink::ClearDetailBoxes(), std::logic_error);
    EXPECT_THROW(MainWindowLink::ClearFilterMessage(), std::logic_error);
    EXPECT_THROW(MainWindowLink::HideFilterMessage(), std::logic_error);
}

TEST_F(MainWindowLinkTest, EachCallReachesTheWindowThatHandedItsHooksOver)
{
    // A stand-in window: its data control, a caption and what was asked of its boxes.
    platform::DataControl data1;
    bool loaded = true;
    QString caption;
    QStringList asked;
    use({[&]() -> platform::DataControl & { return data1; },
         [&]() -> platform::DataControl * { return loaded ? &data1 : nullptr; },
         [&] { return caption; }, [&](const QString &text) { caption = text; },
         [&] { asked << QStringLiteral("details"); }, [&] { asked << QStringLiteral("clear filter"); },
         [&] { asked << QStringLiteral("hide filter"); }});

    EXPECT_TRUE(MainWindowLink::installed());
    EXPECT_EQ(&MainWindowLink::Data1(), &data1);
    MainWindowLink::SetCategoryCaption(QStringLiteral("Friends"));
    EXPECT_EQ(MainWindowLink::CategoryCaption(), QStringLiteral("Friends"));
    MainWindowLink::HideFilterMessage();
    MainWindowLink::ClearDetailBoxes();
    MainWindowLink::ClearFilterMessage();
    EXPECT_EQ(asked, QStringList({"hide filter", "details", "clear filter"}));
    EXPECT_EQ(MainWindowLink::LoadedData1(), &data1);
    loaded = false;
    EXPECT_EQ(MainWindowLink::LoadedData1(), nullptr);
}

} // namespace

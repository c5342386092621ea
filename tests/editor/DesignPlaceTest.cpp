#include "editor/DesignPlace.h"
#include "platform/ui/Twips.h"

#include <QWidget>
#include <gtest/gtest.h>

namespace {

constexpr DesignPlace Design[] = {{"cmdExit", 5244, 6816, 1530, 564}, {"txtNotes", 204, 240, 11604, 6372}};

} // namespace

TEST(DesignPlace, AControlGoesWhereItsRowPutsItAndAnUnnamedOneStays)
{
    QWidget window;
    auto *notes = new QWidget(&window);
    notes->setObjectName("txtNotes");
    auto *other = new QWidget(&window);
    other->setObjectName("cmdOther");
    other->setGeometry(7, 8, 9, 10);
    auto *expected = new QWidget(&window);
    platform::setGeometryTwips(expected, 204, 240, 11604, 6372);

    placeAsDesigned(notes, Design);
    placeAsDesigned(other, Design);

    EXPECT_EQ(notes->geometry(), expected->geometry());
    EXPECT_NE(notes->geometry().topLeft(), QPoint(0, 0));
    EXPECT_EQ(other->geometry(), QRect(7, 8, 9, 10));
}

#include "support/DialogScript.h"

#include "platform/RuntimeError.h"
#include "platform/ui/Application.h"
#include "platform/ui/MsgBox.h"

#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

TEST(ApplicationNet, AnErrorThatEscapesAHandlerIsToldAndTheProgramGoesOn)
{
    ASSERT_NE(qobject_cast<platform::Application *>(qApp), nullptr);
    QPushButton button("Go");
    int clicks = 0;
    QObject::connect(&button, &QPushButton::clicked, [&clicks] {
        if (++clicks == 1)
            throw platform::RuntimeError(3027, "The file is read-only.");
    });
    DialogScript script;
    script.answerMessage(platform::vbOK);
    QTest::mouseClick(&button, Qt::LeftButton);
    QTest::mouseClick(&button, Qt::LeftButton);
    EXPECT_EQ(clicks, 2);
    ASSERT_EQ(script.shown().size(), 1u);
    EXPECT_EQ(script.shown()[0].text, "Run-time error '3027':\r\n\r\nThe file is read-only.");
}

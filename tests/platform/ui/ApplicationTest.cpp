#include "support/DialogScript.h"

#include "platform/RuntimeError.h"
#include "platform/ui/Application.h"
#include "platform/ui/MsgBox.h"

#include <QPushButton>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>
#include <stdexcept>

using namespace platform;

TEST(ApplicationNet, AnErrorThatEscapesAHandlerIsToldAndTheProgramGoesOn)
{
    ASSERT_NE(qobject_cast<Application *>(qApp), nullptr);
    struct Case {
        std::function<void()> fail;
        QString text;
    };
    const Case cases[] = {
        {[] { throw RuntimeError(3027, "The database is open read-only."); },
         "Run-time error '3027':\r\n\r\nThe database is open read-only."},
        {[] { throw std::runtime_error("out of range"); },
         "The program met an error it did not expect, and what it was doing was not finished.\r\n\r\nout of "
         "range"},
        {[] { throw 42; }, "The program met an error it did not expect, and what it was doing was not finished."},
    };
    for (const Case &c : cases) {
        QPushButton button("Go");
        int clicks = 0;
        QObject::connect(&button, &QPushButton::clicked, [&] {
            if (++clicks == 1)
                c.fail();
        });
        button.show();
        DialogScript script;
        script.answerMessage(vbOK);
        QTest::mouseClick(&button, Qt::LeftButton);
        ASSERT_EQ(script.shown().size(), 1u);
        EXPECT_EQ(script.shown()[0].text, c.text);
        EXPECT_EQ(script.shown()[0].icon, vbCritical);
        // The next event is handled as usual.
        QTest::mouseClick(&button, Qt::LeftButton);
        EXPECT_EQ(clicks, 2);
    }
}

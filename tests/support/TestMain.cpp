#include "platform/ui/Application.h"
#include "platform/ui/ClassicFont.h"
#include "support/DialogScript.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

// Every test executable owns one QApplication, offscreen, so that widget tests can
// open real windows and non-widget tests pay nothing for it.
int main(int argc, char **argv)
{
    // Tests assert texts as an en_US user sees them, in one time zone, offscreen: on Qt's
    // offscreen screen of 800 by 600 unless the executable names a screen of its own.
#ifdef QUILTERN_TEST_SCREEN
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" QUILTERN_TEST_SCREEN);
#else
    qputenv("QT_QPA_PLATFORM", "offscreen");
#endif
    qputenv("LANG", "en_US.UTF-8");
    qputenv("LC_ALL", "en_US.UTF-8");
    qputenv("TZ", "UTC");
    qputenv("XDG_RUNTIME_DIR", QByteArray("/tmp/quiltern-test-runtime"));
    QDir().mkpath(QStringLiteral("/tmp/quiltern-test-runtime"));
    QFile::setPermissions(QStringLiteral("/tmp/quiltern-test-runtime"),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    ::testing::InitGoogleTest(&argc, argv);
    // The program's own application object: an error a handler lets escape is told through
    // the dialog seam, where a test that did not expect it fails.
    platform::Application app(argc, argv);
    // Windows are measured in the fonts the program draws them with.
    platform::useDesignFonts();
    // A dialog no test scripted fails that test instead of waiting for a user.
    DialogScript::installStrictDefault();
    return RUN_ALL_TESTS();
}

#pragma once

#include "helpers/SettingsRow.h"

#include <QString>

#include <optional>

// What the main window's load and first activation make of the settings rows; the
// window reads each row (value in `Name`) and hands the text over.

inline const QString VersionSettingType = QStringLiteral("VERSION");
inline const QString AssignCategoryOnAddSettingType = QStringLiteral("ASSIGNCATGONADD");
inline const QString TemplateRecordIdSettingType = QStringLiteral("TEMPLATE RecordID");
inline const QString BackColorSettingType = QStringLiteral("BACKCOLOR");
inline const QString TabletSettingType = QStringLiteral("TABLET");
inline const QString ReminderStartupSettingType = QStringLiteral("REMINDERSTARTUP");

// The window's colour as designed (a Windows colour value: red in the low byte).
constexpr qint32 DesignBackColor = 0x808040;

// The editor's code box takes 50 characters in a database with a VERSION row, else 20.
int codeMaxLength(bool versionRowExists);

// A Yes/No setting stored as text: "True", "-1" or "1" mean yes.
bool settingIsTrue(const QString &storedValue);
// How a Yes/No setting is written, so the reader above always understands it.
QString booleanSettingText(bool value);

// A whole-number setting as the classic conversions read it: decimal (rounded half
// to even) or &H hex; nothing when the text is no number or leaves 32 bits.
std::optional<qint32> wholeNumberSetting(const QString &storedValue);

// ASSIGNCATGONADD: the absolute value of the stored number; 0 when it is none.
int assignCategoryOnAddFrom(const QString &storedValue);

// REMINDERSTARTUP: the stored number; 0 when it is none.
int reminderStartupFrom(const QString &storedValue);

// BACKCOLOR: the colour when the stored text is numeric; otherwise the design colour stays.
std::optional<qint32> backColorFrom(const QString &storedValue);

// gAppName & " Database  " & gDbPath, and "  (read-only)" when nothing can be changed.
QString mainWindowCaption(const QString &appName, const QString &dbPath, bool readOnly = false);

// The notice label shows the notice line followed by two blanks.
QString noticeLabelCaption(const QString &noticeLine);

// The look of the grid, sort box and locate box in each display mode.
struct MainWindowLook {
    double gridRowHeight; // twips
    QString fontName;
    int fontSize;
    bool fontBold;
    double locateBoxHeight; // twips
    bool tabletModeEnabled; // the menu item that switches to the tablet look
    bool desktopModeEnabled;
};
MainWindowLook mainWindowLook(bool tabletMode);

// Keys the main window takes before any control: F1 is swallowed; F5 is swallowed
// and enables the password change.
enum class MainWindowKey { PassOn, Swallow, SwallowAndEnablePasswordChange };
MainWindowKey mainWindowKey(int keyCode);

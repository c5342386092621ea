#pragma once

// The Keyboard button of the tablet look: starts the desktop's on-screen keyboard, and tells
// the user when none can be started, for a button that does nothing would leave a user without
// a keyboard wondering what went wrong. True when the keyboard was started.
bool startOnScreenKeyboardOrTell();

#pragma once

class QObject;
class QEvent;

namespace platform {

// Keys that command rather than type, the same in every window of the program:
// - An access key (Alt and a letter) clicks its button while the key is still down, so the
//   command works on what was highlighted when the key was pressed: a click left for later
//   would let the letter's release, or a key typed next, move a list first.
// - Tab and Shift+Tab leave a dropped list: the list closes and the focus goes on from its box.
// - Enter (Return or the keypad's) on a push button clicks it, as Space does, when neither the
//   button nor its window makes anything else of the key.
// Installed once for the whole program; a second call does nothing.
void installKeyboardCommands();

// Screens a key event before any window, filter or control sees it; true when it goes no
// further. A key commands once, however long it is held:
// - A key whose press commanded (an access key or other Alt or Meta chord, Escape, any key a
//   shortcut took, a chord nothing took) does nothing more while it is held: the presses the
//   keyboard repeats and the release are dropped. So are the repeats and the release of any
//   key that reach a window other than the one its press reached (the press opened or closed
//   a window), and repeats of a key whose press the program never saw. A release and a press
//   of the key at one instant are a repeat, marked so or not. A held Space clicks its button
//   once, when it is let go or at its first repeat: the repeats press nothing again.
// - Alt, Ctrl or Meta with a key types nothing: the press keeps its key and modifiers for the
//   handlers that command with it, but no character. Ctrl and Alt together stand for AltGr
//   where the system reports it so, and type as AltGr does; menus keep their letters.
// The program's application object asks it about every event first.
bool screenKeyEvent(QObject *receiver, QEvent *event);

// Told of every event once it was delivered, and whether it went to a widget (asked before,
// as the delivery may delete the receiver): a chord that nothing took (Ctrl or Alt with a
// key no control uses) counts as spent, like an access key, until it is let go.
void noteKeyDelivered(bool toWidget, const QEvent *event);

} // namespace platform

#pragma once

// The main window's find: one typed text searched in every searchable field of every
// contact; the contacts found become the main list, captioned "Records containing ...".
void FindAnyText();

// Connects the selection windows to the windows that open them (the editor's Categories
// button and its question after a new contact).
void installSelectionHooks();

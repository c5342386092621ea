#pragma once

#include <QWidget>

#include <stdexcept>
#include <string>

// A control of a window (the main window, the editor, any form) by the name the window gives it (objectName), so that tests drive
// the window as a user sees it and not through its members.
template <typename T> T *controlOf(const QWidget &form, const char *name)
{
    T *found = form.findChild<T *>(QString::fromLatin1(name));
    if (!found)
        throw std::logic_error(std::string("the window has no control named ") + name);
    return found;
}

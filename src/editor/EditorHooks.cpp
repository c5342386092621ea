#include "editor/EditorHooks.h"

std::function<void()> EditorHooks::showCategoryAssign;
std::function<void()> EditorHooks::showReminder;
std::function<void()> EditorHooks::showDialing;

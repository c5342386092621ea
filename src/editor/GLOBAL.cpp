#include "editor/GLOBAL.h"

EditorState gEditor;

void EditorState::reset()
{
    *this = EditorState();
}

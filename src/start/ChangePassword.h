#pragma once

class NameList;

// The main window's Change Password command: asks for the current password and the new
// one twice, rewrites the database with the new one, keeps the recovery file in step,
// then unloads the window and opens the database again through the start routine.
void ChangePassword(NameList &window);

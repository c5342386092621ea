#pragma once

#include <QPixmap>
#include <QString>

// The program's picture, shown by the about and splash windows.
QPixmap programPicture();

// The notice line the about and splash windows show, and the main window at its foot.
QString noticeLine();

#pragma once

#include <QStringList>

class QWidget;

// The texts a window shows only in part, each as "control: text", measured with the fonts
// the controls are drawn in: a button, check box or option button narrower than its
// caption, a label smaller than its text, a frame narrower than its title, a grid column
// narrower than its heading. Only what is on screen is looked at.
QStringList cutTexts(const QWidget *window);

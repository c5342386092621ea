#include "mainwindow/MainCommonDialog.h"

platform::CommonDialog &CMDialog1()
{
    static platform::CommonDialog dialog;
    return dialog;
}

#include "helpers/MainCommonDialog.h"

platform::CommonDialog &CMDialog1()
{
    static platform::CommonDialog dialog;
    return dialog;
}

#pragma once

#include "printing/PrintModeSwitch.h"
#include "printing/frmPreview.h"

#include "platform/base/Clock.h"
#include "platform/print/PrintSurface.h"

#include <QDateTime>
#include <QVariantMap>
#include <gtest/gtest.h>
#include <vector>

// A report test starts with no preview left over from an earlier test, a fixed clock (the
// reports print the date) and reports going to the preview, whose document it reads.
class PreviewReportTest : public ::testing::Test {
  protected:
    void SetUp() override
    {
        UnloadPreview();
        platform::setClockForTesting([] { return QDateTime(QDate(2020, 1, 2), QTime(9, 0)); });
        PreviewSurface().setPreview(true);
    }
    void TearDown() override
    {
        UnloadPreview();
        platform::setClockForTesting(nullptr);
    }

    const platform::PrintDocument &document() { return PreviewSurface().document(); }
};

// A contact whose phone and name fill exactly one line of the condensed and phone lists:
// "Name001" with "555-0001" (Home), and so on.
inline QVariantMap numberedContact(int n)
{
    return {{"LastName", QStringLiteral("Name%1").arg(n, 3, 10, QLatin1Char('0'))},
            {"Phone1", QStringLiteral("555-%1").arg(n, 4, 10, QLatin1Char('0'))},
            {"Phone1_Desc", "Home"}};
}

inline std::vector<QVariantMap> numberedContacts(int count)
{
    std::vector<QVariantMap> rows;
    for (int n = 1; n <= count; ++n)
        rows.push_back(numberedContact(n));
    return rows;
}

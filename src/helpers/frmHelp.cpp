#include "helpers/frmHelp.h"

#include "platform/ui/MousePointer.h"
#include "platform/ui/Twips.h"

#include <QLabel>
#include <QPushButton>

frmHelp::frmHelp()
{
    setObjectName(QStringLiteral("frmHelp"));
    setWindowTitle(QStringLiteral("Help"));
    platform::setClientSizeTwips(this, 9636, 6936);
    setDialogBorder(false);

    lblHeading1 = new QLabel(this);
    lblHeading1->setObjectName(QStringLiteral("lblHeading1"));
    lblHeading1->setTextFormat(Qt::PlainText);
    QFont heading = lblHeading1->font();
    heading.setBold(true);
    lblHeading1->setFont(heading);
    QPalette navy = lblHeading1->palette();
    navy.setColor(QPalette::WindowText, QColor(0x00, 0x00, 0x80));
    lblHeading1->setPalette(navy);
    platform::setGeometryTwips(lblHeading1, 255, 135, 9195, 405);

    lblBody1 = new QLabel(this);
    lblBody1->setObjectName(QStringLiteral("lblBody1"));
    lblBody1->setTextFormat(Qt::PlainText);
    lblBody1->setWordWrap(true);
    lblBody1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    platform::setGeometryTwips(lblBody1, 195, 720, 9210, 5580);

    OKButton = new QPushButton(QStringLiteral("&OK"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setToolTip(QStringLiteral("Closes this window."));
    OKButton->setDefault(true);
    platform::setGeometryTwips(OKButton, 4230, 6390, 1215, 375);
    connect(OKButton, &QPushButton::clicked, this, &frmHelp::OKButton_Click);
    setCancelButton(OKButton);
}

frmHelp &frmHelp::instance()
{
    static QPointer<frmHelp> form;
    return platform::instanceOf(form);
}

void frmHelp::Form_Load()
{
    // The caller may have shown the hourglass while it got the text ready.
    platform::setMousePointer(platform::MousePointer::Default);
}

void frmHelp::OKButton_Click()
{
    unload();
}

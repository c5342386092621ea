#include "helpers/About.h"

#include "helpers/ProgramIdentity.h"
#include "platform/ui/Twips.h"

#include <QLabel>
#include <QPushButton>

About::About()
{
    setObjectName(QStringLiteral("About"));
    setWindowTitle(QStringLiteral("About Quiltern"));
    platform::setClientSizeTwips(this, 5760, 2880);
    setDialogBorder(true);

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(programPicture());
    platform::setGeometryTwips(Image1, 240, 240, 1440, 1440);

    Label1 = new QLabel(QStringLiteral("Version 3.06"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    platform::setGeometryTwips(Label1, 1920, 360, 3600, 360);

    lblAuthorInfo = new QLabel(noticeLine().trimmed(), this);
    lblAuthorInfo->setObjectName(QStringLiteral("lblAuthorInfo"));
    lblAuthorInfo->setWordWrap(true);
    lblAuthorInfo->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    platform::setGeometryTwips(lblAuthorInfo, 1920, 840, 3600, 1080);

    Command1 = new QPushButton(QStringLiteral("OK"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setDefault(true);
    platform::setGeometryTwips(Command1, 2280, 2160, 1200, 420);
    connect(Command1, &QPushButton::clicked, this, &About::Command1_Click);
    setCancelButton(Command1);
}

About &About::instance()
{
    static QPointer<About> form;
    return platform::instanceOf(form);
}

void About::Form_Load()
{
    platform::centerWindowOnScreen(this);
}

void About::Command1_Click()
{
    unload();
}

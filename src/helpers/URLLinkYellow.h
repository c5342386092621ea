#pragma once

#include "helpers/URLLink.h"

// The link control on a light yellow background.
class URLLinkYellow : public URLLink {
    Q_OBJECT
  public:
    explicit URLLinkYellow(QWidget *parent = nullptr);
};

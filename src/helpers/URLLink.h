#pragma once

#include <QVariantMap>
#include <QWidget>

class QLabel;

// A text that behaves like a link on a web page: a left click raises GoToURL, then opens
// the address with the desktop's handler for it. Only web and e-mail addresses are
// opened; anything else is reported and left alone.
class URLLink : public QWidget {
    Q_OBJECT
  public:
    explicit URLLink(QWidget *parent = nullptr);

    static const QString DefaultText;
    static const QString DefaultURL;

    QString Text() const;
    void setText(const QString &text);
    QString URL() const { return mURL; }
    void setURL(const QString &url);
    bool ShowToolTip() const { return mShowToolTip; }
    void setShowToolTip(bool show);

    // The saved design: "Text", "URL" and "ShowToolTip"; a value equal to its default
    // is not stored, and a design that cannot be read gives a new control's values.
    void ReadProperties(const QVariantMap &bag);
    void WriteProperties(QVariantMap &bag) const;

    QLabel *lblURL;

  signals:
    // A handler may change the address or set cancel to stop the opening.
    void GoToURL(QString &url, bool &cancel);
    void PropertyChanged(const QString &name);

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

  private:
    void InitProperties();
    void UpdateToolTip();
    void lblURL_MouseDown(Qt::MouseButtons buttons);

    QString mURL;
    bool mShowToolTip = false;
};

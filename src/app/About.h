#pragma once
// The About window, which is also the splash window shown while the main window
// is built: the splash picture with the author's e-mail and web links over it.

#include <QDialog>
#include <QLabel>
#include <QString>
#include <QUrl>

#include <functional>

namespace vomra {

// A label that reports clicks and the mouse entering and leaving it.
class TClickLabel : public QLabel {
    Q_OBJECT
public:
    explicit TClickLabel(QWidget *parent = nullptr);

    int Tag() const { return m_tag; }
    void setTag(int value) { m_tag = value; }

    std::function<void(QObject *Sender)> OnClick;
    std::function<void(QObject *Sender)> OnMouseEnter;
    std::function<void(QObject *Sender)> OnMouseLeave;

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    int m_tag = 0;
    bool m_pressed = false;
};

class TfrmAbout : public QDialog {
    Q_OBJECT
public:
    explicit TfrmAbout(QWidget *parent = nullptr);

    // The author's name, e-mail address and web address the labels show and open.
    static QString authorName();
    static QString authorMail();
    static QString authorWebAddress();
    // What LabelClick opens for a label's Tag: 1 the e-mail, anything else the web page.
    static QUrl linkForTag(int tag);

    // Shown without waiting and painted at once, so it is seen while the main
    // window is built.
    void showSplash();
    // Shown modally; returns once the picture has been clicked.
    void showModalAbout();

    void FormCreate();
    void Image1Click(QObject *Sender);
    void LabelClick(QObject *Sender);
    void LabelMouseEnter(QObject *Sender);
    void LabelMouseLeave(QObject *Sender);

    TClickLabel *Image1;
    TClickLabel *Label1;
    TClickLabel *Label3;

private:
    TClickLabel *makeLink(const char *name, int tag, int x, int y, const QString &text, const QString &hint);
};

} // namespace vomra

#include "app/About.h"

#include "artwork/Artwork.h"
#include "platform/Shell.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPixmap>
#include <QScreen>

namespace vomra {

// --- TClickLabel ---

TClickLabel::TClickLabel(QWidget *parent) : QLabel(parent) {}

void TClickLabel::mousePressEvent(QMouseEvent *event)
{
    m_pressed = event->button() == Qt::LeftButton;
    QLabel::mousePressEvent(event);
}

void TClickLabel::mouseReleaseEvent(QMouseEvent *event)
{
    // A click is a left press and release over the label.
    const bool click = m_pressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    m_pressed = false;
    QLabel::mouseReleaseEvent(event);
    if (click && OnClick)
        OnClick(this);
}

void TClickLabel::enterEvent(QEnterEvent *event)
{
    QLabel::enterEvent(event);
    if (OnMouseEnter)
        OnMouseEnter(this);
}

void TClickLabel::leaveEvent(QEvent *event)
{
    QLabel::leaveEvent(event);
    if (OnMouseLeave)
        OnMouseLeave(this);
}

// --- TfrmAbout ---

TfrmAbout::TfrmAbout(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("frmAbout"));
    // Closing it (a click on the picture, even during start-up) must never end the program.
    setAttribute(Qt::WA_QuitOnClose, false);
    QFont font(QString::fromUtf8("宋体"));
    font.setPixelSize(14);
    setFont(font);

    Image1 = new TClickLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    const QPixmap picture = QPixmap::fromImage(splashPicture());
    Image1->setPixmap(picture);
    Image1->setGeometry(0, 0, picture.width(), picture.height());
    Image1->OnClick = [this](QObject *sender) { Image1Click(sender); };

    // Made after the picture so that they lie on top of it.
    Label1 = makeLink("Label1", 1, 8, 202, QString::fromUtf8("作者：") + authorName(),
                      QString::fromUtf8("给作者写信"));
    Label3 = makeLink("Label3", 2, 234, 216, authorWebAddress(), QString::fromUtf8("到作者的网站去看看"));

    FormCreate();
}

TClickLabel *TfrmAbout::makeLink(const char *name, int tag, int x, int y, const QString &text, const QString &hint)
{
    auto *label = new TClickLabel(this);
    label->setObjectName(QLatin1String(name));
    label->setTag(tag);
    label->setText(text);
    label->setToolTip(hint);
    label->setCursor(Qt::PointingHandCursor);
    label->setAutoFillBackground(false);
    label->setAttribute(Qt::WA_TranslucentBackground);
    label->move(x, y);
    label->adjustSize();
    label->OnClick = [this](QObject *sender) { LabelClick(sender); };
    label->OnMouseEnter = [this](QObject *sender) { LabelMouseEnter(sender); };
    label->OnMouseLeave = [this](QObject *sender) { LabelMouseLeave(sender); };
    LabelMouseLeave(label);
    return label;
}

QString TfrmAbout::authorName() { return QString::fromUtf8("Vomra 开发组"); }
QString TfrmAbout::authorMail() { return QStringLiteral("vomra@example.org"); }
QString TfrmAbout::authorWebAddress() { return QStringLiteral("www.example.org/vomra"); }

QUrl TfrmAbout::linkForTag(int tag)
{
    if (tag == 1)
        return QUrl(QStringLiteral("mailto:") + authorMail());
    return QUrl(QStringLiteral("http://") + authorWebAddress());
}

void TfrmAbout::FormCreate()
{
    // The window is exactly the picture.
    setFixedSize(Image1->size());
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
}

void TfrmAbout::showSplash()
{
    show();
    raise();
    repaint();
    // Let the window system map and expose the window before the long build starts.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TfrmAbout::showModalAbout()
{
    // A window already shown as the splash must be shown again to become modal.
    if (isVisible())
        hide();
    exec();
}

void TfrmAbout::Image1Click(QObject *)
{
    // Not the main window: closing only hides it, ready for the next showing.
    close();
}

void TfrmAbout::LabelClick(QObject *Sender)
{
    const auto *label = qobject_cast<TClickLabel *>(Sender);
    if (!label)
        return;
    // A link that cannot be opened is not reported.
    openUrl(linkForTag(label->Tag()));
}

namespace {
void setLinkLook(QObject *sender, const QColor &colour, bool underline)
{
    auto *label = qobject_cast<QLabel *>(sender);
    if (!label)
        return;
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
    QFont font = label->font();
    font.setUnderline(underline);
    label->setFont(font);
}
} // namespace

void TfrmAbout::LabelMouseEnter(QObject *Sender) { setLinkLook(Sender, QColor(0, 0, 255), true); }

void TfrmAbout::LabelMouseLeave(QObject *Sender) { setLinkLook(Sender, QColor(0, 0, 0), false); }

} // namespace vomra

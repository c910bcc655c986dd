#include "theme/ui/ThemePage.h"

#include "base/NativePath.h"
#include "base/Profile.h"
#include "pagekit/PageHost.h"
#include "platform/GbkQt.h"
#include "platform/ImageIO.h"
#include "theme/core/Theme.h"
#include "theme/core/ThemeCatalogue.h"
#include "widgets/ImageList.h"

#include <QEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QWidget>

#include <algorithm>
#include <optional>

namespace vomra {

namespace {

constexpr int kThemeRole = Qt::UserRole + 1;

const std::string &ClassicName()
{
    static const std::string name = gbk::fromUtf8(kClassicThemeName);
    return name;
}

// Each pair of line breaks starts a new paragraph after an empty line.
const QString kParagraph = QStringLiteral("\n\n");

} // namespace

TThemePage::TThemePage(TPageHost &host, TThemeHost &themes) : m_host(host), m_themes(themes)
{
    QWidget *page = host.pagePanel(pgTheme);
    themeListView1 = new QListWidget(page);
    themeListView1->setObjectName(QStringLiteral("themeListView1"));
    themeListView1->setViewMode(QListView::IconMode);
    themeListView1->setFrameShape(QFrame::NoFrame);
    themeListView1->setGeometry(kListLeft, 0, 113, 321);
    themeListView1->setIconSize(QSize(48, 48));
    themeListView1->setResizeMode(QListView::Adjust);
    themeListView1->setMovement(QListView::Static);
    themeListView1->setWordWrap(false);
    themeListView1->setSelectionMode(QAbstractItemView::SingleSelection);
    themeListView1->setMouseTracking(true);
    QFont listFont(QStringLiteral("宋体"));
    listFont.setPixelSize(14);
    themeListView1->setFont(listFont);

    themeLabel1 = new QLabel(QStringLiteral("界面预览："), page);
    themeLabel1->setObjectName(QStringLiteral("themeLabel1"));
    themeLabel1->move(16, 24);
    themeLabel1->adjustSize();
    themeImage1 = new QLabel(page);
    themeImage1->setObjectName(QStringLiteral("themeImage1"));
    themeImage1->setGeometry(16, 48, 128, 96);
    themeImage1->setScaledContents(true);
    themeLabel2 = new QLabel(QStringLiteral("风格描述："), page);
    themeLabel2->setObjectName(QStringLiteral("themeLabel2"));
    themeLabel2->setGeometry(16, 160, 129, 161);
    themeLabel2->setWordWrap(true);
    themeLabel2->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    for (QLabel *l : {themeLabel1, themeLabel2})
        l->setAttribute(Qt::WA_TranslucentBackground);

    connect(themeListView1, &QListWidget::itemSelectionChanged, this, [this] {
        const auto selected = themeListView1->selectedItems();
        if (!selected.isEmpty())
            themeListView1Change(selected.first());
    });
    connect(themeListView1, &QListWidget::itemDoubleClicked, this, [this] { themeListView1DblClick(); });
    // The item under the pointer is underlined and takes the hand cursor.
    connect(themeListView1, &QListWidget::itemEntered, this, [this](QListWidgetItem *item) {
        if (m_hot == item)
            return;
        if (m_hot) {
            QFont f = m_hot->font();
            f.setUnderline(false);
            m_hot->setFont(f);
        }
        m_hot = item;
        QFont f = themeListView1->font();
        f.setUnderline(true);
        item->setFont(f);
        themeListView1->viewport()->setCursor(Qt::PointingHandCursor);
    });
    themeListView1->viewport()->installEventFilter(this);
    connect(themeListView1->viewport(), &QObject::destroyed, this, [this] { m_hot = nullptr; });
}

void TThemePage::clearHot()
{
    if (m_hot) {
        QFont f = m_hot->font();
        f.setUnderline(false);
        m_hot->setFont(f);
        m_hot = nullptr;
    }
    themeListView1->viewport()->unsetCursor();
}

bool TThemePage::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::Leave:
        clearHot();
        break;
    case QEvent::MouseMove:
        // Over empty space between or after the items nothing is hot.
        if (m_hot && !themeListView1->itemAt(static_cast<QMouseEvent *>(event)->position().toPoint()))
            clearHot();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

std::string TThemePage::itemTheme(const QListWidgetItem *item)
{
    const QByteArray name = item->data(kThemeRole).toByteArray();
    return std::string(name.constData(), static_cast<std::size_t>(name.size()));
}

void TThemePage::pnlThemeResize()
{
    QWidget *page = m_host.pagePanel(pgTheme);
    themeListView1->resize(page->width() - themeListView1->x(), page->height());
    themeLabel2->resize(themeLabel2->width(), page->height() - themeLabel2->y());
}

void TThemePage::addItem(const std::string &name, const QIcon &icon, bool select)
{
    auto *item = new QListWidgetItem(gbk::toQString(name));
    item->setData(kThemeRole, QByteArray(name.data(), static_cast<qsizetype>(name.size())));
    item->setIcon(icon);
    themeListView1->addItem(item);
    if (select)
        item->setSelected(true);
}

void TThemePage::FillThemeList()
{
    clearHot();
    // The description is shown once at the end, for the theme in force: showing
    // it for every item added would read the file and decode a preview per theme.
    m_filling = true;
    themeListView1->setUpdatesEnabled(false);
    themeListView1->clear();
    QIcon icon;
    if (TGWImageList *list = m_host.imageList(2))
        icon = QIcon(QPixmap::fromImage(list->image(0)));
    const int index = m_themes.ThemeIndex();
    addItem(ClassicName(), icon, index == 0);
    const auto &names = m_themes.Theme1().ThemeNameList();
    for (std::size_t i = 0; i < names.size(); ++i)
        addItem(names[i], icon, static_cast<int>(i) + 1 == index);
    themeListView1->setUpdatesEnabled(true);
    m_filling = false;
    const auto selected = themeListView1->selectedItems();
    if (!selected.isEmpty())
        themeListView1Change(selected.first());
}

void TThemePage::MarkCurrentTheme()
{
    const int index = m_themes.ThemeIndex();
    const auto &names = m_themes.Theme1().ThemeNameList();
    const std::string wanted =
        index >= 1 && index <= static_cast<int>(names.size()) ? names[static_cast<std::size_t>(index - 1)] : ClassicName();
    for (int i = 0; i < themeListView1->count(); ++i) {
        QListWidgetItem *item = themeListView1->item(i);
        if (itemTheme(item) == wanted) {
            themeListView1->setCurrentItem(item);
            item->setSelected(true);
            return;
        }
    }
}

void TThemePage::themeListView1Change(QListWidgetItem *item)
{
    if (item && !m_filling)
        ShowThemeDescription(itemTheme(item));
}

void TThemePage::ShowThemeDescription(const std::string &name)
{
    themeImage1->hide();
    themeLabel1->setText(QStringLiteral("预览图片："));
    QString text = gbk::toQString(name);
    if (name == ClassicName()) {
        themeLabel1->setText(QStringLiteral("无预览图片"));
        text += kParagraph + QStringLiteral("设计：") + QString::fromUtf8(kClassicDesigner) + kParagraph +
                QStringLiteral("描述：传统经典 Windows9x 风格");
        themeLabel2->setText(text);
        themeLabel1->adjustSize();
        return;
    }
    TTheme &theme = m_themes.Theme1();
    const auto index = theme.ThemeFileIndex();
    auto read = [&](const char *key) { return index ? index->readString(name, key, "") : std::string(); };
    const std::string architect = read("Architect");
    if (!architect.empty())
        text += kParagraph + QStringLiteral("设计：") + gbk::toQString(architect);
    text += kParagraph + QStringLiteral("公司：") + gbk::toQString(read("Company"));
    text += kParagraph + QStringLiteral("描述：") + gbk::toQString(read("Descant"));
    themeLabel2->setText(text);

    std::string relative = gbk::toUtf8(read("Preview"));
    std::replace(relative.begin(), relative.end(), '\\', '/');
    const std::string preview = theme.ThemePath() + relative;
    if (!isRegularFile(preview)) {
        themeLabel1->setText(QStringLiteral("无预览图片"));
    } else {
        // The extension says how to read the file; content of another kind fails.
        const std::string ext = lowerExtension(preview);
        // Like the skin pictures, a preview lies inside the theme folder: a link
        // out of it is not followed.
        const std::string real = realPathInside(theme.ThemePath(), preview);
        std::optional<Picture> shown;
        if (Result<Picture> load = real.empty() ? Result<Picture>(Picture{}) : loadPicture(real))
            shown = std::move(load).value();
        const PictureKind kind = shown ? shown->kind : PictureKind::None;
        const bool kindFits = (ext == "bmp" && kind == PictureKind::Bitmap) ||
                              ((ext == "jpg" || ext == "jpeg") && kind == PictureKind::Jpeg) ||
                              (ext == "ico" && kind == PictureKind::Icon);
        if (kindFits) {
            themeImage1->setPixmap(QPixmap::fromImage(shown->image));
            themeImage1->show();
        } else {
            themeLabel1->setText(QStringLiteral("不能装载预览图片"));
        }
    }
    themeLabel1->adjustSize();
}

bool TThemePage::platformRestoresMinimised()
{
    return !QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

void TThemePage::themeListView1DblClick()
{
    const auto selected = themeListView1->selectedItems();
    if (selected.size() != 1)
        return;
    QWidget *window = m_host.hostWindow();
    const Qt::WindowStates remembered = window->windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen);
    if (platformRestoresMinimised()) {
        window->setWindowState((window->windowState() & ~Qt::WindowActive) | Qt::WindowMinimized);
        m_themes.ApplyTheme(itemTheme(selected.first()));
        window->setWindowState(remembered);
    } else {
        // A Wayland client may ask to be minimised but never to come back:
        // the half-changed frame is hidden behind held updates instead.
        window->setUpdatesEnabled(false);
        m_themes.ApplyTheme(itemTheme(selected.first()));
        window->setWindowState(remembered);
        window->setUpdatesEnabled(true);
    }
    if (window->isVisible()) {
        window->show();
        window->activateWindow();
    }
}

} // namespace vomra

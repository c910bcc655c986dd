#pragma once
// The themes page: one icon per theme headed by the classic look, the preview
// picture and the description of the selected theme; a double click puts the
// theme in force.

#include <QObject>

#include <functional>
#include <string>

class QIcon;
class QLabel;
class QListWidget;
class QListWidgetItem;

namespace vomra {

class TPageHost;
class TTheme;

// What the page needs of the window that wears the themes.
class TThemeHost {
public:
    virtual ~TThemeHost() = default;
    virtual TTheme &Theme1() = 0;
    virtual int ThemeIndex() const = 0;
    // Puts a theme in force by its (GBK) name, or the classic look.
    virtual void ApplyTheme(const std::string &name) = 0;
};

class TThemePage : public QObject {
    Q_OBJECT
public:
    static constexpr int kListLeft = 160;
    // Shown in the classic look's description.
    static constexpr const char *kClassicDesigner = "Vomra 工作室";

    TThemePage(TPageHost &host, TThemeHost &themes);

    QListWidget *themeListView1 = nullptr;
    QLabel *themeLabel1 = nullptr;
    QLabel *themeImage1 = nullptr;
    QLabel *themeLabel2 = nullptr;

    void pnlThemeResize();

    void FillThemeList();
    void MarkCurrentTheme();
    void ShowThemeDescription(const std::string &name);
    void themeListView1Change(QListWidgetItem *item);
    void themeListView1DblClick();
    // Whether the window system lets a minimised window bring itself back
    // (not on Wayland).
    static bool platformRestoresMinimised();

    // The theme name an item stands for (GBK bytes, kept beside the caption so a
    // name the screen cannot show still finds its section).
    static std::string itemTheme(const QListWidgetItem *item);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void addItem(const std::string &name, const QIcon &icon, bool select);
    // Nothing under the pointer is underlined or shows the hand.
    void clearHot();

    TPageHost &m_host;
    TThemeHost &m_themes;
    QListWidgetItem *m_hot = nullptr;
    bool m_filling = false;
};

} // namespace vomra

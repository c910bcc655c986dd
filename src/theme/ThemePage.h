#pragma once
// The themes page: the theme list and its two labels.

#include <QObject>

class QLabel;
class QListWidget;

namespace vomra {

class TPageHost;

class TThemePage : public QObject {
    Q_OBJECT
public:
    static constexpr int kListLeft = 160;

    explicit TThemePage(TPageHost &host);

    QListWidget *themeListView1 = nullptr;
    QLabel *themeLabel1 = nullptr;
    QLabel *themeLabel2 = nullptr;

    void pnlThemeResize();

private:
    TPageHost &m_host;
};

} // namespace vomra

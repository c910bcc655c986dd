#pragma once
// The themes page: the theme list and its two labels.

#include <QObject>

class QLabel;
class QListWidget;

namespace vomra {

class TfrmMain;

class TThemePage : public QObject {
    Q_OBJECT
public:
    static constexpr int kListLeft = 160;

    explicit TThemePage(TfrmMain &frm);

    QListWidget *themeListView1 = nullptr;
    QLabel *themeLabel1 = nullptr;
    QLabel *themeLabel2 = nullptr;

    void pnlThemeResize();

private:
    TfrmMain &m_frm;
};

} // namespace vomra

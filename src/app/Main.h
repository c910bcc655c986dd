#pragma once
// The main window.

#include <QWidget>

namespace vomra {

class TfrmMain : public QWidget {
    Q_OBJECT
public:
    // programFolder: where QOBR.Ini, the themes and the recipes live (with a trailing "/").
    explicit TfrmMain(const QString &programFolder, QWidget *parent = nullptr);

    const QString &programFolder() const { return m_programFolder; }

private:
    QString m_programFolder;
};

} // namespace vomra

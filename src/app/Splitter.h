#pragma once
// A 2-pixel bar between the left column and the pages; dragging it asks its
// owner whether the column may take the new width.

#include <QWidget>

#include <functional>

namespace vomra {

class TSplitter : public QWidget {
    Q_OBJECT
public:
    explicit TSplitter(QWidget *resized, QWidget *parent = nullptr);

    // (proposed width, accept) — the owner may refuse or change the width.
    std::function<void(int &NewSize, bool &Accept)> OnCanResize;
    // Called after the column's width has changed.
    std::function<void()> OnMoved;

    // Proposes a new width for the column as a drag would; returns whether it was taken.
    bool proposeWidth(int width);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    QWidget *m_resized;
    bool m_dragging = false;
    int m_pressX = 0;
    int m_startWidth = 0;
};

} // namespace vomra

// The drawing board at its largest, 480 rows by 640 columns of "★" and "*" in
// the 14-pixel Song face: a full repaint, a repaint of a 1000 × 700 visible
// area, one stroke step (the write plus the repaint of the cells it changed),
// and writing TextList with 480 full rows.
#include "BenchApp.h"
#include "board/ui/DrawText.h"
#include "platform/FontSetup.h"

#include <QApplication>
#include <QMouseEvent>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

constexpr int kRows = 480;
constexpr int kColumns = 640;
const std::string kStar = "\xA1\xEF";

vomra::Lines fullRows()
{
    vomra::Lines rows;
    for (int r = 0; r < kRows; ++r) {
        std::string row;
        for (int c = 0; row.size() + 2 <= kColumns; ++c)
            row += (c + r) % 4 ? kStar : std::string("**");
        rows.push_back(row);
    }
    return rows;
}

std::unique_ptr<vomra::TGWDrawText> makeBoard()
{
    vomra::bench::app();
    auto board = std::make_unique<vomra::TGWDrawText>();
    QFont font(QStringLiteral("宋体"));
    font.setPixelSize(14);
    board->setFont(font);
    board->setTextList(fullRows());
    return board;
}

void sendMouse(vomra::TGWDrawText &board, QEvent::Type type, Qt::MouseButton button, QPoint pos)
{
    QMouseEvent event(type, pos, board.mapToGlobal(pos), button,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(Qt::LeftButton),
                      Qt::NoModifier);
    QApplication::sendEvent(&board, &event);
}

void BM_FullRepaint(benchmark::State &state)
{
    auto board = makeBoard();
    QImage image(board->size(), QImage::Format_RGB32);
    for (auto _ : state)
        board->render(&image);
    state.counters["cells"] = kRows * kColumns;
}
BENCHMARK(BM_FullRepaint)->Unit(benchmark::kMillisecond);

void BM_VisibleAreaRepaint(benchmark::State &state)
{
    auto board = makeBoard();
    const QRect visible(700, 1500, 1000, 700);
    QImage image(visible.size(), QImage::Format_RGB32);
    for (auto _ : state)
        board->render(&image, QPoint(), QRegion(visible));
}
BENCHMARK(BM_VisibleAreaRepaint)->Unit(benchmark::kMillisecond);

// A drag over fresh cells: each step writes a star (clearing a neighbour half
// where it cuts into another star) and repaints those cells.
void BM_StrokeStep(benchmark::State &state)
{
    auto board = makeBoard();
    board->setPenText(kStar);
    QImage image(4 * board->CellWidth() + 1, board->CellHeight() + 1, QImage::Format_RGB32);
    sendMouse(*board, QEvent::MouseButtonPress, Qt::LeftButton, {3, 3});
    int step = 0;
    for (auto _ : state) {
        const int column = 1 + (step * 3) % (kColumns - 4);
        const int row = 1 + (step / 200) % kRows;
        ++step;
        sendMouse(*board, QEvent::MouseMove, Qt::NoButton,
                  {(column - 1) * board->CellWidth() + 1, (row - 1) * board->CellHeight() + 1});
        // What the stroke invalidated at most: the cell before and three from the cursor.
        const QRect changed = board->cellRect(std::max(1, column - 1), row).united(board->cellRect(column + 2, row));
        board->render(&image, QPoint(), QRegion(changed));
    }
    sendMouse(*board, QEvent::MouseButtonRelease, Qt::LeftButton, {3, 3});
}
BENCHMARK(BM_StrokeStep)->Unit(benchmark::kMicrosecond);

void BM_ModelStroke(benchmark::State &state)
{
    vomra::DrawTextModel model;
    model.setTextList(fullRows());
    int step = 0;
    for (auto _ : state) {
        const int column = 1 + (step * 3) % (kColumns - 1);
        const int row = 1 + (step / 200) % kRows;
        ++step;
        benchmark::DoNotOptimize(model.paintAt(column, row, kStar));
    }
}
BENCHMARK(BM_ModelStroke)->Unit(benchmark::kMicrosecond);

void BM_WriteTextList(benchmark::State &state)
{
    auto board = makeBoard();
    const vomra::Lines rows = fullRows();
    for (auto _ : state) {
        board->setTextList(rows);
        benchmark::DoNotOptimize(board->TextList().data());
    }
}
BENCHMARK(BM_WriteTextList)->Unit(benchmark::kMillisecond);

} // namespace

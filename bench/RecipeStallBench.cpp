// How long the window stands still while a huge recipe goes into the editor:
// a 10 ms timer runs beside the load and the longest gap between its ticks is
// the longest stall (the target is 250 ms). Each case runs once, from the click
// on the node until the text is in and 8 s more (Qt lays the rest out lazily
// meanwhile); "Key" cases type a letter 100 ms into the load, "CtrlEnd" cases
// press Ctrl+End, "ScrollBar" cases drag the vertical scroll bar from the top to
// the bottom in ten steps, one per tick, once the text is in, and "Resize" cases
// make the window wider and narrower in ten steps then. Memory is the
// highest resident size above the size before the click, per byte of the file;
// memory freed by an earlier case is reused, so run each case alone
// (--benchmark_filter='BM_Stall_OneLine20MB/') for its memory figure.
#include "BenchApp.h"
#include "app/Main.h"
#include "base/Gbk.h"
#include "platform/NativePathQt.h"
#include "recipe/ui/RecipePage.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTimer>
#include <QTreeWidget>
#include <benchmark/benchmark.h>

#include <fstream>
#include <unistd.h>

namespace {

void writeFile(const QString &path, const std::string &bytes)
{
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes.data(), static_cast<qint64>(bytes.size()));
}

double rssMb()
{
    std::ifstream statm("/proc/self/statm");
    long pages = 0;
    long resident = 0;
    statm >> pages >> resident;
    return static_cast<double>(resident) * static_cast<double>(::sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

// Lib/line.Txt: 20 MB in one line; Lib/lines.Txt: 20 MB of short lines;
// Lib/Big.Ini: one item of 400,000 lines.
QString programFolder()
{
    static const QString folder = [] {
        const QString dir = QDir::tempPath() + QStringLiteral("/vomra-recipe-stall-bench/");
        QDir(dir).removeRecursively();
        QDir().mkpath(dir + QStringLiteral("Lib"));
        const std::string unit = vomra::gbk::fromUtf8("长文字 ASCII 也有，");
        std::string line;
        while (line.size() < 20u * 1024 * 1024)
            line += unit;
        writeFile(dir + QStringLiteral("Lib/line.Txt"), line);
        std::string lines;
        while (lines.size() < 20u * 1024 * 1024)
            lines += unit + unit + "\r\n";
        writeFile(dir + QStringLiteral("Lib/lines.Txt"), lines);
        std::string ini = "[ItemList]\r\nItemCount=1\r\nItemName1=Big\r\n[Big]\r\n";
        for (int i = 0; i < 400000; ++i)
            ini += vomra::gbk::fromUtf8("第") + std::to_string(i) + vomra::gbk::fromUtf8("行：祝你天天开心") + "\r\n";
        writeFile(dir + QStringLiteral("Lib/Big.Ini"), ini);
        return dir;
    }();
    return folder;
}

QTreeWidgetItem *findNode(QTreeWidget *tree, const QString &name)
{
    QTreeWidgetItem *lib = tree->topLevelItem(0);
    for (int i = 0; i < lib->childCount(); ++i)
        if (lib->child(i)->text(0) == name)
            return lib->child(i);
    return nullptr;
}

// What a case does once the text is in: nothing, drag the scroll bar down in
// ten steps, or make the window wider and narrower ten times.
enum class Then { Wait, DragScrollBar, Resize };

void runCase(benchmark::State &state, const char *node, const char *file, int key, int modifiers, Then then)
{
    vomra::bench::app();
    const QString folder = programFolder();
    const double fileMb = static_cast<double>(QFile(folder + QStringLiteral("Lib/") + QString::fromUtf8(file)).size()) /
                          (1024.0 * 1024.0);
    for (auto _ : state) {
        vomra::TfrmMain frm(vomra::npath(folder));
        frm.showAtStart();
        QApplication::processEvents();
        QTreeWidgetItem *item = findNode(frm.TreeView1, QString::fromUtf8(node));
        if (!item) {
            state.SkipWithError("fixture node missing");
            return;
        }
        QPlainTextEdit *editor = frm.recipe->recipeRichEdit1;
        const double rssBefore = rssMb();
        double rssPeak = rssBefore;
        qint64 longest = 0;
        qint64 longestAt = 0;
        QElapsedTimer clock;
        QElapsedTimer sinceTick;
        qint64 loadedAt = 0;
        bool keySent = false;
        int dragStep = 0;
        QTimer probe;
        probe.setInterval(10);
        QObject::connect(&probe, &QTimer::timeout, [&] {
            const qint64 gap = sinceTick.restart();
            if (gap > longest) {
                longest = gap;
                longestAt = clock.elapsed();
            }
            rssPeak = std::max(rssPeak, rssMb());
            if (key && !keySent && clock.elapsed() >= 100) {
                keySent = true;
                const QString text = modifiers ? QString() : QString(QChar(key).toLower());
                QKeyEvent press(QEvent::KeyPress, key, Qt::KeyboardModifiers(modifiers), text);
                QApplication::sendEvent(editor, &press);
            }
            if (frm.recipe->Loading())
                loadedAt = clock.elapsed();
            else if (then != Then::Wait && dragStep < 10) {
                ++dragStep;
                if (then == Then::Resize) {
                    frm.resize(frm.width() + (dragStep % 2 ? 80 : -80), frm.height());
                } else {
                    QScrollBar *bar = editor->verticalScrollBar();
                    bar->setValue(bar->maximum() * dragStep / 10);
                }
            }
        });
        clock.start();
        sinceTick.start();
        probe.start();
        frm.TreeView1->setCurrentItem(item); // the click
        // Ctrl+End may wait for the layout: the case runs until it has moved the caret.
        qint64 keyDoneAt = 0;
        while ((frm.recipe->Loading() || clock.elapsed() - loadedAt < 8000 ||
                (modifiers && !editor->textCursor().atEnd())) &&
               clock.elapsed() < 120000) {
            QApplication::processEvents(QEventLoop::AllEvents, 5);
            if (modifiers && !keyDoneAt && editor->textCursor().atEnd())
                keyDoneAt = clock.elapsed();
        }
        if (modifiers)
            state.counters["key_done_ms"] = static_cast<double>(keyDoneAt);
        probe.stop();
        state.counters["stall_ms"] = static_cast<double>(longest);
        state.counters["stall_end_ms"] = static_cast<double>(longestAt); // when the longest gap ended
        state.counters["load_ms"] = static_cast<double>(loadedAt);
        state.counters["mem_x_file"] = (rssPeak - rssBefore) / fileMb;
        state.counters["file_mb"] = fileMb;
    }
}

// A recipe opened, then nothing, a letter or Ctrl+End pressed at once.
struct StallCase {
    const char *name, *node, *file;
    int key, modifiers;
    Then then;
};
const StallCase kStallCases[] = {
    {"BM_Stall_OneLine20MB", "line", "line.Txt", 0, 0, Then::Wait},
    {"BM_Stall_OneLine20MB_Key", "line", "line.Txt", Qt::Key_X, 0, Then::Wait},
    {"BM_Stall_OneLine20MB_CtrlEnd", "line", "line.Txt", Qt::Key_End, Qt::ControlModifier, Then::Wait},
    {"BM_Stall_OneLine20MB_ScrollBar", "line", "line.Txt", 0, 0, Then::DragScrollBar},
    {"BM_Stall_ShortLines20MB", "lines", "lines.Txt", 0, 0, Then::Wait},
    {"BM_Stall_ShortLines20MB_Key", "lines", "lines.Txt", Qt::Key_X, 0, Then::Wait},
    {"BM_Stall_ShortLines20MB_CtrlEnd", "lines", "lines.Txt", Qt::Key_End, Qt::ControlModifier, Then::Wait},
    {"BM_Stall_ShortLines20MB_ScrollBar", "lines", "lines.Txt", 0, 0, Then::DragScrollBar},
    {"BM_Stall_Item400000Lines", "Big", "Big.Ini", 0, 0, Then::Wait},
    {"BM_Stall_Item400000Lines_CtrlEnd", "Big", "Big.Ini", Qt::Key_End, Qt::ControlModifier, Then::Wait},
    {"BM_Stall_Item400000Lines_ScrollBar", "Big", "Big.Ini", 0, 0, Then::DragScrollBar},
    {"BM_Stall_Item400000Lines_Resize", "Big", "Big.Ini", 0, 0, Then::Resize},
};
const bool kStallCasesRegistered = [] {
    for (const StallCase &c : kStallCases)
        benchmark::RegisterBenchmark(c.name, [c](benchmark::State &state) {
            runCase(state, c.node, c.file, c.key, c.modifiers, c.then);
        })->Iterations(1)->Unit(benchmark::kMillisecond);
    return true;
}();

// Typing once the whole 20 MB of short lines is in and laid out: the time each
// of ten letters typed at the start takes.
void BM_Stall_ShortLines20MB_Typing(benchmark::State &state)
{
    vomra::bench::app();
    const QString folder = programFolder();
    for (auto _ : state) {
        state.PauseTiming();
        vomra::TfrmMain frm(vomra::npath(folder));
        frm.showAtStart();
        QApplication::processEvents();
        QTreeWidgetItem *item = findNode(frm.TreeView1, QStringLiteral("lines"));
        if (!item) {
            state.SkipWithError("fixture node missing");
            return;
        }
        frm.TreeView1->setCurrentItem(item);
        QElapsedTimer clock;
        clock.start();
        while (frm.recipe->Loading() || clock.elapsed() < 15000)
            QApplication::processEvents(QEventLoop::AllEvents, 5);
        QPlainTextEdit *editor = frm.recipe->recipeRichEdit1;
        qint64 longest = 0;
        state.ResumeTiming();
        for (int i = 0; i < 10; ++i) {
            QElapsedTimer key;
            key.start();
            QKeyEvent press(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
            QApplication::sendEvent(editor, &press);
            QApplication::processEvents();
            longest = std::max(longest, key.elapsed());
        }
        state.counters["longest_key_ms"] = static_cast<double>(longest);
    }
}

BENCHMARK(BM_Stall_ShortLines20MB_Typing)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

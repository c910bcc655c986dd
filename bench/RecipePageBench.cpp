// The recipe page on the real main window: a 5,000-line collection item put into
// the editor in display mode (its shown start, and the whole), and the part of showing a 20 MB recipe file that
// holds the window (the rest goes in from the event loop).
#include "BenchApp.h"
#include "app/Main.h"
#include "base/Gbk.h"
#include "platform/FontSetup.h"
#include "platform/NativePathQt.h"
#include "recipe/ui/RecipePage.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTextDocument>
#include <QPlainTextEdit>
#include <QTreeWidget>
#include <benchmark/benchmark.h>

#include <memory>

namespace {

void writeFile(const QString &path, const std::string &bytes)
{
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes.data(), static_cast<qint64>(bytes.size()));
}

// A program folder with Lib/Big.Ini (one item of 5,000 lines) and Lib/huge.Txt (20 MB).
QString programFolder()
{
    static const QString folder = [] {
        const QString dir = QDir::tempPath() + QStringLiteral("/vomra-recipe-page-bench/");
        QDir(dir).removeRecursively();
        QDir().mkpath(dir + QStringLiteral("Lib"));
        std::string ini = "[ItemList]\r\nItemCount=1\r\nItemName1=Big\r\n[Big]\r\n";
        for (int i = 0; i < 5000; ++i)
            ini += vomra::gbk::fromUtf8("第") + std::to_string(i) + vomra::gbk::fromUtf8("行：祝你天天开心，万事如意") +
                   "\r\n";
        writeFile(dir + QStringLiteral("Lib/Big.Ini"), ini);
        std::string big;
        const std::string line = vomra::gbk::fromUtf8("一行很长的文字 with some ASCII too, 重复很多次。") + "\r\n";
        while (big.size() < 20u * 1024 * 1024)
            big += line;
        writeFile(dir + QStringLiteral("Lib/huge.Txt"), big);
        return dir;
    }();
    return folder;
}

void BM_ShowCollectionItem5000Lines(benchmark::State &state)
{
    vomra::bench::app();
    vomra::TfrmMain frm(vomra::npath(programFolder()));
    frm.showAtStart();
    const std::string path = QFile::encodeName(programFolder() + QStringLiteral("Lib/Big.Ini")).toStdString();
    for (auto _ : state) {
        state.PauseTiming(); // from an editor that shows little, as after a small recipe
        frm.recipe->finishLoading();
        frm.recipe->recipeRichEdit1->clear();
        QApplication::processEvents();
        state.ResumeTiming();
        frm.recipe->LoadIniItem(path, "Big");
        QApplication::processEvents(); // layout and paint of the shown part
    }
    state.counters["blocks"] = frm.recipe->recipeRichEdit1->document()->blockCount();
}
BENCHMARK(BM_ShowCollectionItem5000Lines)->Unit(benchmark::kMillisecond);

// The same item until the whole of it is in the editor (it goes in from the event
// loop after its start is shown).
void BM_ShowCollectionItem5000LinesWhole(benchmark::State &state)
{
    vomra::bench::app();
    vomra::TfrmMain frm(vomra::npath(programFolder()));
    frm.showAtStart();
    const std::string path = QFile::encodeName(programFolder() + QStringLiteral("Lib/Big.Ini")).toStdString();
    for (auto _ : state) {
        state.PauseTiming();
        frm.recipe->recipeRichEdit1->clear();
        QApplication::processEvents();
        state.ResumeTiming();
        frm.recipe->LoadIniItem(path, "Big");
        while (frm.recipe->Loading())
            QApplication::processEvents();
        QApplication::processEvents();
    }
    state.counters["blocks"] = frm.recipe->recipeRichEdit1->document()->blockCount();
}
BENCHMARK(BM_ShowCollectionItem5000LinesWhole)->Unit(benchmark::kMillisecond);

// From the click to the first piece on screen; the rest of the load is left out.
void BM_ShowRecipe20MBFirstPiece(benchmark::State &state)
{
    vomra::bench::app();
    vomra::TfrmMain frm(vomra::npath(programFolder()));
    frm.showAtStart();
    QTreeWidgetItem *lib = frm.TreeView1->topLevelItem(0);
    QTreeWidgetItem *huge = nullptr;
    for (int i = 0; i < lib->childCount(); ++i)
        if (lib->child(i)->text(0) == QStringLiteral("huge"))
            huge = lib->child(i);
    for (auto _ : state) {
        frm.TreeView1->clearSelection();
        frm.TreeView1->setCurrentItem(huge);
        state.PauseTiming();
        frm.TreeView1->clearSelection(); // stops the rest of the load
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ShowRecipe20MBFirstPiece)->Unit(benchmark::kMillisecond);

} // namespace

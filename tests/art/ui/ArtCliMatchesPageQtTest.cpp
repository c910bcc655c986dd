// `vomra-cli art WORD` promises the block the art font page makes with its
// defaults: the page is driven in the real main window and its output compared,
// line by line, with the command run in-process.
#include "app/Main.h"
#include "art/ui/ArtFontPage.h"
#include "cli/Cli.h"
#include "support/CliRun.h"
#include "support/TempFolder.h"
#include "widgets/FlatControls.h"
#include "widgets/ImageLabel.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QTest>
#include <gtest/gtest.h>

#include <sstream>

using namespace vomra;
using vomra::test::TempFolder;

namespace {

QStringList cliLines(const std::vector<std::string> &args, std::string &err)
{
    const test::CliResult r = test::run(args);
    err = r.err;
    EXPECT_EQ(r.status, cli::kOk) << err;
    // One line end each: the text ends with one, which is no line of its own.
    QString text = QString::fromUtf8(r.out);
    EXPECT_TRUE(text.endsWith(QLatin1Char('\n')));
    text.chop(1);
    return text.split(QLatin1Char('\n'));
}

} // namespace

TEST(ArtCliMatchesPage, DefaultWordGivesTheSameBlockAsThePage)
{
    const QString word = QString::fromUtf8("艺术字");
    TempFolder dir;
    TfrmMain frm(dir.path());
    frm.showAtStart();
    QTest::mouseClick(frm.GWImageLabels[0], Qt::LeftButton); // "制作艺术字体"
    QApplication::processEvents();
    TArtFontPage *page = frm.artFont.get();
    ASSERT_NE(page, nullptr);

    if (page->artfontEdit1->text() != word) {
        page->artfontEdit1->selectAll();
        page->artfontEdit1->del();
        for (QChar c : word) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
            QApplication::sendEvent(page->artfontEdit1, &press);
        }
    }
    ASSERT_EQ(page->artfontEdit1->text(), word);
    QTest::mouseClick(page->artfontImageLabel(1), Qt::LeftButton); // make
    const QStringList pageLines = page->artfontRichEdit1->toPlainText().split(QLatin1Char('\n'));

    std::string err;
    const QStringList cli = cliLines({"art", "艺术字"}, err);
    EXPECT_EQ(err, "") << "the default font must be found without a warning";

    // A real block, not two empty outputs agreeing: the 12-pixel strike, three glyphs wide.
    ASSERT_EQ(cli.size(), 12);
    EXPECT_TRUE(cli.join(QString()).contains(QLatin1Char('*')));
    ASSERT_EQ(pageLines.size(), cli.size()) << page->artfontRichEdit1->toPlainText().toStdString();
    for (qsizetype i = 0; i < cli.size(); ++i)
        EXPECT_EQ(pageLines[i].toStdString(), cli[i].toStdString()) << "line " << i;
    frm.close();
}

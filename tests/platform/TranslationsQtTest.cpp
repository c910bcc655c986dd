// Qt's standard dialogs speak Chinese once its translations are in.
#include "platform/Translations.h"

#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QPushButton>
#include <QTranslator>
#include <gtest/gtest.h>

using namespace vomra;

TEST(Translations, StandardDialogsSpeakChinese)
{
    QTranslator *zh = installChineseTranslations();
    ASSERT_NE(zh, nullptr) << "Qt's Chinese translations are not installed (qt6-translations-l10n)";
    QFileDialog dialog(nullptr, QString(), QString(), QStringLiteral("文本文件(*.Txt)"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    QStringList labels;
    for (const QLabel *label : dialog.findChildren<QLabel *>())
        labels << label->text();
    QStringList buttons;
    for (const QPushButton *button : dialog.findChildren<QPushButton *>())
        buttons << button->text();
    EXPECT_TRUE(labels.join(QLatin1Char('|')).contains(QStringLiteral("文件名")))
        << labels.join(QLatin1Char('|')).toStdString();
    EXPECT_FALSE(labels.join(QLatin1Char('|')).contains(QStringLiteral("File name")));
    EXPECT_TRUE(buttons.contains(QStringLiteral("取消"))) << buttons.join(QLatin1Char('|')).toStdString();
    EXPECT_FALSE(buttons.contains(QStringLiteral("Cancel")));
    QCoreApplication::removeTranslator(zh);
    delete zh;
}

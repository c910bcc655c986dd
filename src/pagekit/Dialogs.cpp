#include "pagekit/Dialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

namespace vomra::dialogs {

namespace {

Answer show(QWidget *parent, const BoxShown &box)
{
    if (nextAnswer())
        return nextAnswer()(box);
    QString text = box.text;
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    const QMessageBox::Icon icon = box.kind == BoxKind::Confirm ? QMessageBox::Question
                                   : box.kind == BoxKind::Error ? QMessageBox::Critical
                                   : box.kind == BoxKind::Warning ? QMessageBox::Warning
                                                                  : QMessageBox::Information;
    QMessageBox shown(icon, box.title, text, QMessageBox::NoButton, parent);
    if (box.kind != BoxKind::Confirm) {
        shown.addButton(QStringLiteral("确定"), QMessageBox::AcceptRole);
        shown.exec();
        return Answer::Yes;
    }
    QPushButton *yes = shown.addButton(QStringLiteral("是[&Y]"), QMessageBox::YesRole);
    QPushButton *no = shown.addButton(QStringLiteral("否[&N]"), QMessageBox::NoRole);
    QPushButton *cancel = box.withCancel ? shown.addButton(QStringLiteral("取消"), QMessageBox::RejectRole) : nullptr;
    shown.setDefaultButton(yes);
    shown.setEscapeButton(cancel ? cancel : no);
    shown.exec();
    if (shown.clickedButton() == yes)
        return Answer::Yes;
    return cancel && shown.clickedButton() == cancel ? Answer::Cancel : Answer::No;
}

QString ask(QWidget *parent, const FileQuestion &question)
{
    if (nextFileName())
        return nextFileName()(question);
    QFileDialog dialog(parent, QString(), question.folder, question.filter);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    if (question.save) {
        dialog.setOption(QFileDialog::DontConfirmOverwrite); // the program asks itself
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setDefaultSuffix(question.suffix);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
    }
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
        return dialog.selectedFiles().constFirst();
    return QString();
}

} // namespace

void notice(QWidget *parent, const QString &title, const QString &text)
{
    show(parent, {BoxKind::Notice, title, text});
}

void warning(QWidget *parent, const QString &title, const QString &text)
{
    show(parent, {BoxKind::Warning, title, text});
}

void error(QWidget *parent, const QString &title, const QString &text)
{
    show(parent, {BoxKind::Error, title, text});
}

Answer confirm(QWidget *parent, const QString &title, const QString &text, bool withCancel)
{
    return show(parent, {BoxKind::Confirm, title, text, withCancel});
}

QString openFile(QWidget *parent, const QString &filter)
{
    return ask(parent, {false, QString(), filter, QString()});
}

QString saveFile(QWidget *parent, const QString &folder, const QString &filter, const QString &suffix)
{
    return ask(parent, {true, folder, filter, suffix});
}

void tellLossy(QWidget *parent)
{
    notice(parent, QApplication::applicationName(), QStringLiteral("有些字符不能用 GBK 表示，已换成“?”。"));
}

std::function<Answer(const BoxShown &)> &nextAnswer()
{
    static std::function<Answer(const BoxShown &)> hook;
    return hook;
}

std::function<QString(const FileQuestion &)> &nextFileName()
{
    static std::function<QString(const FileQuestion &)> hook;
    return hook;
}

} // namespace vomra::dialogs

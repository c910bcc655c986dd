#pragma once
// Every message box and file dialog of the program: the buttons carry the
// program's own words ("确定", "是[&Y]", "否[&N]", "取消"), a '\r' in a text
// breaks the line, and file dialogs are Qt's own (their patterns match without
// regard to case, *.BMP too).
//
// Tests answer instead of the user through one pair of hooks: nextAnswer() gets
// each box before it would be shown, nextFileName() each file question. While a
// hook is set nothing is shown.

#include <QString>

#include <functional>

class QWidget;

namespace vomra {

enum class BoxKind { Notice, Warning, Error, Confirm };
// What the user pressed; a box with the one button "确定" answers Yes.
enum class Answer { Yes, No, Cancel };

struct BoxShown {
    BoxKind kind = BoxKind::Notice;
    QString title;
    QString text;
    bool withCancel = false; // a question that may also be called off
};

struct FileQuestion {
    bool save = false;
    QString folder;
    QString filter; // "Bitmaps (*.bmp)"
    QString suffix; // added by a save dialog when the name has none
};

namespace dialogs {

void notice(QWidget *parent, const QString &title, const QString &text);
void warning(QWidget *parent, const QString &title, const QString &text);
void error(QWidget *parent, const QString &title, const QString &text);
// "是[&Y]" (the default) and "否[&N]", and "取消" when asked; Escape answers No
// (Cancel when there is a "取消").
Answer confirm(QWidget *parent, const QString &title, const QString &text, bool withCancel = false);

// An existing file, or empty when the user called it off.
QString openFile(QWidget *parent, const QString &filter);
// A file to write; the program asks about replacing one itself.
QString saveFile(QWidget *parent, const QString &folder, const QString &filter, const QString &suffix);

// Tells the user that some characters had no GBK form and became "?".
void tellLossy(QWidget *parent);

// Test hooks.
std::function<Answer(const BoxShown &box)> &nextAnswer();
std::function<QString(const FileQuestion &question)> &nextFileName();

} // namespace dialogs

} // namespace vomra

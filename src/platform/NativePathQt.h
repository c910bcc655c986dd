#pragma once
// Native paths (bytes) next to the QStrings that Qt's dialogs and people see.
// Qt turns a name that is not UTF-8 into replacement characters, so a native path
// never makes the round trip through QString: files are opened and written by
// their bytes, and text is made from them only to be shown.

#include "base/NativePath.h"

#include <QFile>
#include <QString>

#include <string>

namespace vomra {

// A folder as the file dialog takes it (it cannot hold names that are not UTF-8).
inline QString qpath(const std::string &native)
{
    return QFile::decodeName(QByteArray::fromStdString(native));
}
// A path people typed or picked, as bytes.
inline std::string npath(const QString &path)
{
    return QFile::encodeName(path).toStdString();
}
// A path as people read it in a message or the tree.
inline QString shown(const std::string &native)
{
    return QString::fromStdString(nativeToDisplay(native));
}
// What the file dialog gave back, as bytes: inside the folder it was opened in,
// that folder keeps its own bytes (which the dialog could not hold), the rest is
// what the user typed.
inline std::string fromDialog(const QString &chosen, const std::string &startFolder)
{
    const QString start = qpath(startFolder);
    if (!start.isEmpty() && start.endsWith(QLatin1Char('/')) && chosen.startsWith(start) &&
        !chosen.mid(start.size()).contains(QLatin1Char('/')))
        return startFolder + npath(chosen.mid(start.size()));
    return npath(chosen);
}

} // namespace vomra

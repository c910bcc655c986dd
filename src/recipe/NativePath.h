#pragma once
// Paths as the file system holds them (native bytes) and as Qt and people see them.

#include "recipe/Recipe.h"

#include <QFile>
#include <QString>

#include <string>

namespace vomra {

// Native path bytes and the QString the file functions of Qt take.
inline QString qpath(const std::string &native)
{
    return QFile::decodeName(QByteArray::fromStdString(native));
}
inline std::string npath(const QString &path)
{
    return QFile::encodeName(path).toStdString();
}
// A path as people read it in a message.
inline QString shown(const std::string &native)
{
    return QString::fromStdString(nativeToDisplay(native));
}

} // namespace vomra

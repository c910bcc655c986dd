#pragma once
// QString side of the GBK codec.

#include "base/Gbk.h"

#include <QString>

namespace vomra::gbk {

inline QString toQString(std::string_view gbk, bool *lossy = nullptr)
{
    const std::string utf8 = toUtf8(gbk, lossy);
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

inline std::string fromQString(const QString &text, bool *lossy = nullptr)
{
    const QByteArray utf8 = text.toUtf8();
    return fromUtf8(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())), lossy);
}

} // namespace vomra::gbk

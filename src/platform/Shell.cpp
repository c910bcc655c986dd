#include "platform/Shell.h"

#include <QDesktopServices>

namespace vomra {

namespace {
std::function<bool(const QUrl &)> &hook()
{
    static std::function<bool(const QUrl &)> h;
    return h;
}
} // namespace

bool openUrl(const QUrl &url)
{
    if (hook())
        return hook()(url);
    return QDesktopServices::openUrl(url);
}

QUrl fileUrl(const std::string &path)
{
    return QUrl::fromEncoded("file://" + QByteArray::fromStdString(path).toPercentEncoding("/"));
}

void setOpenUrlHookForTests(std::function<bool(const QUrl &)> h) { hook() = std::move(h); }

} // namespace vomra

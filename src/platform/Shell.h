#pragma once
// Hands a document or link to the desktop's handler (help file, e-mail, web page).

#include <QUrl>

#include <functional>

namespace vomra {

// Opens the URL with the desktop's handler; false when that failed. Callers do
// not report failures.
bool openUrl(const QUrl &url);

// Tests install a hook that receives every URL instead of the desktop; an empty
// function restores the real handler.
void setOpenUrlHookForTests(std::function<bool(const QUrl &)> hook);

} // namespace vomra

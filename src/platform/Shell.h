#pragma once
// Hands a document or link to the desktop's handler (help file, e-mail, web page).

#include <QUrl>

#include <functional>
#include <string>

namespace vomra {

// Opens the URL with the desktop's handler; false when that failed. Callers do
// not report failures.
bool openUrl(const QUrl &url);

// The file: URL of a local file named by its bytes. Bytes that are not UTF-8
// stay percent-encoded, so the handler gets the very file and not a name made
// of replacement characters.
QUrl fileUrl(const std::string &path);

// Tests install a hook that receives every URL instead of the desktop; an empty
// function restores the real handler.
void setOpenUrlHookForTests(std::function<bool(const QUrl &)> hook);

} // namespace vomra

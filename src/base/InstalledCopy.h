#pragma once
// A file of the user's program folder that follows the installed one (the help
// file): an upgrade reaches the user unless the user changed the copy.
#include <string>

namespace vomra {

// "SIZE HASH" of a file's bytes (FNV-1a, 64 bits, in hex), or empty when it
// cannot be read.
std::string contentStamp(const std::string &path);

// The record beside a copy: what the copy held when it was written.
std::string copyRecordPath(const std::string &copy);

// Replaces `copy` with `installed` when their contents differ and the copy is
// still what was written (its stamp matches the record beside it, or there is no
// record: a copy made before records were kept). A copy the user changed is
// kept. Afterwards the record describes the copy as written. Nothing happens
// when either file is missing; failures leave the copy as it was.
void refreshInstalledCopy(const std::string &installed, const std::string &copy);

} // namespace vomra

#pragma once
// Whole-file reads and writes that never leave a half-written file behind.

#include "base/Result.h"

#include <string>
#include <string_view>

namespace vomra {

// Reads a whole file. On failure: "cannot read <path>: <reason>", with errno.
Result<std::string> readFileBytes(const std::string &path);

// Writes bytes as the file at path: through a temporary file in the file's folder
// and a rename, so a failure leaves the old file whole. A symbolic link is followed
// to the file it names, which is replaced while the link stays. The old file's mode
// is kept; a file the user may not write (or that is not a plain file) is refused.
// On failure: "cannot write <path>: <reason>", with errno where there was one.
Result<void> writeFileAtomically(const std::string &path, std::string_view bytes);

} // namespace vomra

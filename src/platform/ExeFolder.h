#pragma once
#include <string>

namespace vomra {

// The folder of the running executable with its trailing "/", read from
// /proc/self/exe. Settings, help, themes and recipes are found through it.
std::string exeFolder();

// A full file name cut after its last "/" (empty when it has none).
std::string folderOfPath(const std::string &fullName);

} // namespace vomra

#pragma once
// The program folder: where QOBR.Ini, QOBR.CHM, Theme/ and the recipe folders
// live. A portable copy or the build tree keeps them beside the executable; an
// installed program keeps them in the user's data folder, seeded from the
// installed share/vomra/.
#include <string>

namespace vomra {

// The folder of the running executable with its trailing "/", read from
// /proc/self/exe: where vomra-cli finds its helper and modules.
std::string executableFolder();

// A full file name cut after its last "/" (empty when it has none).
std::string folderOfPath(const std::string &fullName);

// The installed program-folder contents for an executable in exeDir
// ("<prefix>/bin/" → "<prefix>/share/vomra/"), or empty when there is none.
std::string installedShareFolder(const std::string &exeDir);

// "$XDG_DATA_HOME/vomra/" when that variable holds an absolute path, else
// "<home>/.local/share/vomra/". Null or empty arguments count as unset.
std::string userDataFolder(const char *xdgDataHome, const char *home);

// Whether the executable's own folder is the program folder: it is writable and
// holds QOBR.Ini (portable use), or there is no installed share folder at all.
bool exeFolderIsProgramFolder(const std::string &exeDir, const std::string &shareDir);

// Copies into `to` every file and folder of `from` that `to` lacks; a file
// already there is never replaced. `to` is created when missing. False, with
// *error naming the path, when something could not be made.
bool seedFolder(const std::string &from, const std::string &to, std::string *error = nullptr);

// The whole rule for an executable in exeDir, with userDir the user's data
// folder. The user folder is seeded when it has no QOBR.Ini yet; its help file
// follows the installed one unless the user changed it. When the user folder cannot be made, the
// installed share folder is used (read-only, but settings, help and themes are
// found).
std::string resolveProgramFolder(const std::string &exeDir, const std::string &userDir);

// The program folder, as bytes with its trailing "/": resolveProgramFolder for
// the running executable and the user's environment. Every path under it is
// made by appending bytes, so a folder whose name is not UTF-8 keeps working.
std::string ExeFolder();

} // namespace vomra

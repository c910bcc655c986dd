#pragma once
// The parts of vomra-cli that need a large library live in modules of their
// own, each loaded only by the command that needs it: art (FreeType and
// fontconfig), width (ICU) and the JPEG and PNG decoders (libjpeg, libpng). The
// other commands then start without mapping those libraries.
//
// A module is found beside vomra-cli (the build tree, a portable copy), else in
// ../libexec/vomra/ from it, where the helper program lives too. A program with
// a module's code linked in (the helper, the tests) hands its entry over with
// linkModule, and nothing is loaded.

#include "cli/Cli.h"
#include "picture/PictureDecode.h"

#include <cstddef>
#include <iosfwd>
#include <string>
#include <vector>

namespace vomra::cli {

struct Module {
    const char *file;  // "vomra-cli-art.so"
    const char *entry; // its one entry point, a C symbol
};

// art and width: the command itself.
using ModuleCommand = int (*)(const std::vector<std::string> *args, Io *io);
inline constexpr Module kArtModule{"vomra-cli-art.so", "vomra_cli_art"};
inline constexpr Module kWidthModule{"vomra-cli-width.so", "vomra_cli_width"};
// JPEG and PNG: picture::decode.
using DecodeEntry = void (*)(const unsigned char *data, std::size_t size, const picture::NeededFor *needed,
                             Result<picture::Decoded> *out);
inline constexpr Module kPictureModule{"vomra-cli-picture.so", "vomra_cli_picture_decode"};

using AnyEntry = void (*)();

// The module's entry, linked in or loaded; null, with "<who>: cannot load
// <file>: <reason>" printed, when it cannot be had. A loaded module stays.
AnyEntry moduleEntry(const Module &module, const char *who, std::ostream &err);
void linkModule(const Module &module, AnyEntry entry);

// Runs a command kept in a module; kFailed when the module cannot be had.
int runModuleCommand(const Module &module, const char *command, const std::vector<std::string> &args, Io &io);

} // namespace vomra::cli

// The entry points, defined beside the code each module holds.
extern "C" int vomra_cli_art(const std::vector<std::string> *args, vomra::cli::Io *io);
extern "C" int vomra_cli_width(const std::vector<std::string> *args, vomra::cli::Io *io);
extern "C" void vomra_cli_picture_decode(const unsigned char *data, std::size_t size,
                                         const vomra::picture::NeededFor *needed,
                                         vomra::Result<vomra::picture::Decoded> *out);

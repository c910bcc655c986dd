// The modules' code linked in: the helper program and the tests run art, width
// and the JPEG and PNG decoders in-process, with nothing loaded.
#include "cli/Modules.h"

namespace vomra::cli {
namespace {

const bool kLinked = (linkModule(kArtModule, reinterpret_cast<AnyEntry>(&vomra_cli_art)),
                      linkModule(kWidthModule, reinterpret_cast<AnyEntry>(&vomra_cli_width)),
                      linkModule(kPictureModule, reinterpret_cast<AnyEntry>(&vomra_cli_picture_decode)), true);

} // namespace
} // namespace vomra::cli

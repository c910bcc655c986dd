// The picture module's entry: the JPEG and PNG decoders, with libjpeg and libpng.
#include "cli/Modules.h"

void vomra_cli_picture_decode(const unsigned char *data, std::size_t size, const vomra::picture::NeededFor *needed,
                              vomra::Result<vomra::picture::Decoded> *out)
{
    *out = vomra::picture::decode(data, size, needed ? *needed : vomra::picture::NeededFor{});
}

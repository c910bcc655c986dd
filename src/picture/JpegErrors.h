#pragma once
// libjpeg's errors turned into a jump back to the decoding function, with the
// message kept; a file cut short counts as an error too (it would otherwise
// decode with a gray lower part and no complaint). Every JPEG reader uses these.

#include <csetjmp>
#include <cstdio> // jpeglib.h needs FILE

#include <jpeglib.h>
#include <jerror.h>

namespace vomra::jpeg {

struct Errors {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

[[noreturn]] inline void fail(j_common_ptr cinfo)
{
    auto *err = reinterpret_cast<Errors *>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, err->message);
    std::longjmp(err->jump, 1);
}

inline void warn(j_common_ptr cinfo, int level)
{
    if (level == -1 && cinfo->err->msg_code == JWRN_JPEG_EOF)
        fail(cinfo);
    if (level == -1)
        ++cinfo->err->num_warnings;
}

// Makes err cinfo's error manager; the caller then sets err.jump with setjmp.
inline void install(jpeg_decompress_struct &cinfo, Errors &err)
{
    cinfo.err = jpeg_std_error(&err.pub);
    err.pub.error_exit = fail;
    err.pub.emit_message = warn;
    err.message[0] = '\0';
}

} // namespace vomra::jpeg

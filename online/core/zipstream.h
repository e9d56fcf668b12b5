// The file functions minizip reads and writes an archive through, over a
// stream object of ours: a file descriptor or a memory block. TStream has
// `position` and `length`, Read, Write and Failed.
#pragma once

#include <minizip/ioapi.h>

template <class TStream>
zlib_filefunc64_def ZipStreamFunctions(TStream* stream)
{
    zlib_filefunc64_def functions {};
    functions.zopen64_file = [](voidpf opaque, const void* /*name*/, int /*mode*/) -> voidpf { return opaque; };
    functions.zread_file = [](voidpf, voidpf s, void* buffer, uLong size) -> uLong {
        return static_cast<uLong>(static_cast<TStream*>(s)->Read(buffer, size));
    };
    functions.zwrite_file = [](voidpf, voidpf s, const void* data, uLong size) -> uLong {
        return static_cast<uLong>(static_cast<TStream*>(s)->Write(data, size));
    };
    functions.ztell64_file = [](voidpf, voidpf s) -> ZPOS64_T { return static_cast<TStream*>(s)->position; };
    functions.zseek64_file = [](voidpf, voidpf s, ZPOS64_T offset, int origin) -> long {
        auto* target = static_cast<TStream*>(s);
        switch (origin) {
        case ZLIB_FILEFUNC_SEEK_SET: target->position = offset; break;
        case ZLIB_FILEFUNC_SEEK_CUR: target->position += offset; break;
        case ZLIB_FILEFUNC_SEEK_END: target->position = target->length + offset; break;
        default: return -1;
        }
        return 0;
    };
    functions.zclose_file = [](voidpf, voidpf) -> int { return 0; };
    functions.zerror_file = [](voidpf, voidpf s) -> int { return static_cast<TStream*>(s)->Failed() ? 1 : 0; };
    functions.opaque = stream;
    return functions;
}

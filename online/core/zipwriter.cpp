#include "online/core/zipwriter.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <memory>
#include <new>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include <minizip/zip.h>

#include "online/core/zipfields.h"
#include "online/core/zippaths.h"
#include "online/core/zipstream.h"
#include "platform/file.h"

namespace {

thread_local int t_lastResult = kZipOk;

int Record(int code)
{
    t_lastResult = code;
    return code;
}

constexpr size_t kCopyBufferBytes = 16384;
// Version made by: Unix (3), so readers take the mode from the high 16 bits
// of the external attributes; format version 2.0.
constexpr uLong kVersionMadeBy = (3u << 8) | 20u;

// Where the zip library writes: a file descriptor from a start offset
// (pwrite, so the descriptor's own position never moves) or a memory block
// of fixed capacity.
struct SWriteSink {
    int fd = -1;
    int64_t start = 0;
    unsigned char* memory = nullptr;
    size_t capacity = 0;
    uint64_t position = 0;
    uint64_t length = 0;   // the furthest byte written
    bool failed = false;
    bool overflow = false;

    uint64_t Write(const void* data, uint64_t size)
    {
        uint64_t done = 0;
        if (memory != nullptr) {
            const uint64_t room = position < capacity ? capacity - position : 0;
            done = std::min(size, room);
            if (done < size)
                overflow = true;
            std::memcpy(memory + position, data, done);
        } else {
            while (done < size) {
                const ssize_t n = ::pwrite(fd, static_cast<const char*>(data) + done, size - done,
                                           static_cast<off_t>(start + static_cast<int64_t>(position + done)));
                if (n < 0 && errno == EINTR)
                    continue;
                if (n <= 0) {
                    failed = true;
                    break;
                }
                done += static_cast<uint64_t>(n);
            }
        }
        position += done;
        length = std::max(length, position);
        return done;
    }

    uint64_t Read(void* data, uint64_t size)
    {
        if (position >= length)
            return 0;
        size = std::min(size, length - position);
        if (memory != nullptr) {
            std::memcpy(data, memory + position, size);
        } else {
            const ssize_t n = ::pread(fd, data, size, static_cast<off_t>(start + static_cast<int64_t>(position)));
            size = n > 0 ? static_cast<uint64_t>(n) : 0;
        }
        position += size;
        return size;
    }

    bool Failed() const { return failed || overflow; }
};

struct SWriterState {
    SWriteSink sink;
    bool ownsFd = false;
    bool inMemory = false;
    std::unique_ptr<unsigned char[]> ownedMemory;
    zipFile archive = nullptr;
    bool finished = false;
    bool failed = false;

    ~SWriterState()
    {
        if (archive != nullptr)
            zipClose(archive, nullptr);
        if (ownsFd && sink.fd >= 0)
            ::close(sink.fd);
    }

    // The code of a failed library call: a full memory block or a write error.
    int WriteError() const { return sink.overflow ? kZipMemoryTooSmall : kZipWriteFailed; }

    int Finish()
    {
        if (finished)
            return kZipOk;
        finished = true;
        const int closed = zipClose(archive, nullptr);
        archive = nullptr;
        return closed == ZIP_OK && !sink.failed && !sink.overflow ? kZipOk : WriteError();
    }
};

int CheckHandle(SZipHandle* handle, SWriterState*& state)
{
    if (handle == nullptr)
        return kZipBadArguments;
    if (handle->nKind != kZipWriterKind)
        return kZipWrongKind;
    state = static_cast<SWriterState*>(handle->pImpl);
    return state != nullptr ? kZipOk : kZipBadArguments;
}

bool EndsWithNoCase(const CString& text, const char* suffix)
{
    const int length = static_cast<int>(std::strlen(suffix));
    return text.GetLength() >= length && text.Right(length).CompareNoCase(suffix) == 0;
}

bool IsCompressedAlready(const CString& name)
{
    for (const char* suffix : {".Z", ".zip", ".zoo", ".arc", ".lzh", ".arj", ".gz", ".tgz"}) {
        if (EndsWithNoCase(name, suffix))
            return true;
    }
    return false;
}

// A member's data source and what is known of it before reading.
struct SMemberSource {
    int fd = -1;
    bool ownsFd = false;
    const unsigned char* memory = nullptr;
    bool folder = false;
    bool announced = false;   // size is known in advance
    uint64_t size = 0;
    uint64_t limit = UINT64_MAX;   // bytes to read at most
    time_t modify = 0;
    time_t access = 0;
    time_t create = 0;
    mode_t mode = S_IFREG | 0644;

    ~SMemberSource()
    {
        if (ownsFd && fd >= 0)
            ::close(fd);
    }

    // Reads the next bytes from a descriptor; 0 at the end, -1 on error.
    ssize_t ReadSome(char* buffer, size_t size, uint64_t done)
    {
        if (done >= limit)
            return 0;
        size = static_cast<size_t>(std::min<uint64_t>(size, limit - done));
        for (;;) {
            const ssize_t n = ::read(fd, buffer, size);
            if (n < 0 && errno == EINTR)
                continue;
            return n;
        }
    }
};

void TakeTimes(SMemberSource& source, const struct stat& st)
{
    source.modify = st.st_mtime;
    source.access = st.st_atime;
    source.create = st.st_mtime;
    struct statx birth {};
    if (::statx(source.fd, "", AT_EMPTY_PATH, STATX_BTIME, &birth) == 0 && (birth.stx_mask & STATX_BTIME))
        source.create = birth.stx_btime.tv_sec;
    source.mode = st.st_mode;
}

int PrepareSource(SMemberSource& source, const void* data, size_t length, int kind)
{
    const time_t now = ::time(nullptr);
    source.modify = source.access = source.create = now;
    if (kind == kZipFromFolder) {
        source.folder = true;
        source.mode = S_IFDIR | 0755;
        return kZipOk;
    }
    if (kind == kZipFromMemory) {
        if (data == nullptr && length > 0)
            return kZipBadArguments;
        source.memory = static_cast<const unsigned char*>(data);
        source.announced = true;
        source.size = length;
        return kZipOk;
    }
    if (kind == kZipFromName) {
        if (data == nullptr)
            return kZipBadArguments;
        source.fd = ::open(ToFsPath(static_cast<const char*>(data)).c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        if (source.fd < 0)
            return kZipNoFile;
        source.ownsFd = true;
        struct stat st;
        if (::fstat(source.fd, &st) != 0)
            return kZipNoFile;
        TakeTimes(source, st);
        if (S_ISDIR(st.st_mode)) {
            source.folder = true;
            return kZipOk;
        }
        if (!S_ISREG(st.st_mode))
            return kZipNoFile;
        source.announced = true;
        source.size = static_cast<uint64_t>(st.st_size);
        return kZipOk;
    }
    if (kind == kZipFromHandle) {
        if (data == nullptr || *static_cast<const int*>(data) < 0)
            return kZipBadArguments;
        source.fd = *static_cast<const int*>(data);
        const off_t start = ::lseek(source.fd, 0, SEEK_CUR);
        struct stat st;
        if (start >= 0 && ::fstat(source.fd, &st) == 0 && S_ISREG(st.st_mode)) {
            TakeTimes(source, st);
            source.size = st.st_size > start ? static_cast<uint64_t>(st.st_size - start) : 0;
            source.announced = true;
        }
        if (length > 0) {
            source.announced = true;
            source.size = length;
            source.limit = length;
        }
        return kZipOk;
    }
    return kZipBadArguments;
}

// Writes the member's data into the open member; the byte count must match
// the announced size.
int CopyData(zipFile archive, SMemberSource& source)
{
    if (source.folder)
        return kZipOk;
    uint64_t done = 0;
    if (source.memory != nullptr || source.fd < 0) {
        while (done < source.size) {
            const auto chunk = static_cast<unsigned>(std::min<uint64_t>(source.size - done, 1u << 30));
            if (zipWriteInFileInZip(archive, source.memory + done, chunk) != ZIP_OK)
                return kZipWriteFailed;
            done += chunk;
        }
        return kZipOk;
    }
    std::vector<char> buffer(kCopyBufferBytes);
    for (;;) {
        const ssize_t n = source.ReadSome(buffer.data(), buffer.size(), done);
        if (n < 0)
            return kZipNoFile;
        if (n == 0)
            break;
        if (zipWriteInFileInZip(archive, buffer.data(), static_cast<unsigned>(n)) != ZIP_OK)
            return kZipWriteFailed;
        done += static_cast<uint64_t>(n);
        if (!source.announced && done > 0xFFFFFFFFULL)
            return kZipSizeMismatch;   // unannounced data is written without zip64 fields
    }
    return source.announced && done != source.size ? kZipSizeMismatch : kZipOk;
}

int AddMember(SWriterState& state, const char* name, const void* data, size_t length, int kind)
{
    SMemberSource source;
    int result = PrepareSource(source, data, length, kind);
    if (result != kZipOk)
        return result;
    CString memberName(name);
    memberName.Replace('\\', '/');
    if (source.folder && memberName[memberName.GetLength() - 1] != '/')
        memberName += '/';
    if (memberName.GetLength() >= 0xFFFF)
        return kZipBadArguments;

    zip_fileinfo info{};
    info.dosDate = DosFromUnix(source.modify);
    info.external_fa = ExternalFromMode(source.mode);
    const std::string localExtra = BuildExtendedTimestamp(source.modify, source.access, source.create, true);
    const std::string centralExtra = BuildExtendedTimestamp(source.modify, source.access, source.create, false);
    const bool stored = source.folder || IsCompressedAlready(memberName);
    const int zip64 = source.announced && source.size >= 0xFFFFFFFFULL ? 1 : 0;
    if (zipOpenNewFileInZip4_64(state.archive, memberName, &info, localExtra.data(),
                                static_cast<uInt>(localExtra.size()), centralExtra.data(),
                                static_cast<uInt>(centralExtra.size()), nullptr, stored ? 0 : Z_DEFLATED,
                                stored ? 0 : Z_DEFAULT_COMPRESSION, 0, -MAX_WBITS, DEF_MEM_LEVEL, Z_DEFAULT_STRATEGY,
                                nullptr, 0, kVersionMadeBy, 0, zip64) != ZIP_OK) {
        state.failed = true;
        return state.WriteError();
    }
    result = CopyData(state.archive, source);
    const int closed = zipCloseFileInZip(state.archive);
    if (result == kZipWriteFailed || (result == kZipOk && closed != ZIP_OK))
        result = state.WriteError();
    if (result != kZipOk)
        state.failed = true;
    return result;
}

} // namespace

SZipHandle* ZipWriterCreate(void* destination, size_t length, int kind, const char* password)
{
    // The zip library's encryption writes headers that other zip programs
    // refuse as a wrong password, so no archive is encrypted.
    if (password != nullptr) {
        Record(kZipBadArguments);
        return nullptr;
    }
    auto state = std::make_unique<SWriterState>();
    SWriteSink& sink = state->sink;
    if (kind == kZipFromHandle) {
        if (destination == nullptr || *static_cast<const int*>(destination) < 0) {
            Record(kZipBadArguments);
            return nullptr;
        }
        const int fd = *static_cast<const int*>(destination);
        const off_t start = ::lseek(fd, 0, SEEK_CUR);
        // Headers are rewritten once a member's size is known: positioned
        // writes need a seekable file that is not in append mode.
        if (start < 0 || (::fcntl(fd, F_GETFL) & O_APPEND) != 0) {
            Record(kZipUnseekable);
            return nullptr;
        }
        sink.fd = ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
        if (sink.fd < 0) {
            Record(kZipNoDuplicate);
            return nullptr;
        }
        state->ownsFd = true;
        sink.start = start;
    } else if (kind == kZipFromName) {
        if (destination == nullptr) {
            Record(kZipBadArguments);
            return nullptr;
        }
        sink.fd = CreateFileAnew(static_cast<const char*>(destination));
        if (sink.fd < 0) {
            Record(kZipNoFile);
            return nullptr;
        }
        state->ownsFd = true;
    } else if (kind == kZipFromMemory) {
        if (length == 0) {
            Record(kZipMemoryTooSmall);
            return nullptr;
        }
        state->inMemory = true;
        sink.capacity = length;
        if (destination != nullptr) {
            sink.memory = static_cast<unsigned char*>(destination);
        } else {
            state->ownedMemory.reset(new (std::nothrow) unsigned char[length]);
            if (!state->ownedMemory) {
                Record(kZipNoMemory);
                return nullptr;
            }
            sink.memory = state->ownedMemory.get();
        }
    } else {
        Record(kZipBadArguments);
        return nullptr;
    }

    zlib_filefunc64_def functions = ZipStreamFunctions(&state->sink);
    state->archive = zipOpen2_64("", APPEND_STATUS_CREATE, nullptr, &functions);
    if (state->archive == nullptr) {
        Record(kZipNoFile);
        return nullptr;
    }
    auto* handle = new SZipHandle{kZipWriterKind, state.release()};
    Record(kZipOk);
    return handle;
}

int ZipWriterAdd(SZipHandle* handle, const char* name, const void* source, size_t length, int kind)
{
    SWriterState* state = nullptr;
    const int result = CheckHandle(handle, state);
    if (result != kZipOk)
        return Record(result);
    if (name == nullptr || *name == '\0')
        return Record(kZipBadArguments);
    if (state->failed)
        return Record(kZipPreviousError);
    if (state->finished)
        return Record(kZipEnded);
    return Record(AddMember(*state, name, source, length, kind));
}

int ZipWriterAddHandle(SZipHandle* handle, const char* name, int fd, size_t length)
{
    return ZipWriterAdd(handle, name, &fd, length, kZipFromHandle);
}

int ZipWriterAddFile(SZipHandle* handle, const char* name, const char* path)
{
    return ZipWriterAdd(handle, name, path, 0, kZipFromName);
}

int ZipWriterAddMemory(SZipHandle* handle, const char* name, const void* data, size_t length)
{
    return ZipWriterAdd(handle, name, data, length, kZipFromMemory);
}

int ZipWriterAddFolder(SZipHandle* handle, const char* name)
{
    return ZipWriterAdd(handle, name, nullptr, 0, kZipFromFolder);
}

int ZipWriterGetMemory(SZipHandle* handle, void** data, size_t* length)
{
    SWriterState* state = nullptr;
    const int result = CheckHandle(handle, state);
    if (result != kZipOk)
        return Record(result);
    if (data == nullptr || length == nullptr)
        return Record(kZipBadArguments);
    if (!state->inMemory)
        return Record(kZipNotInMemory);
    const int finished = state->Finish();
    if (finished != kZipOk)
        return Record(finished);
    *data = state->sink.memory;
    *length = static_cast<size_t>(state->sink.length);
    return Record(kZipOk);
}

int ZipWriterClose(SZipHandle* handle)
{
    SWriterState* state = nullptr;
    int result = CheckHandle(handle, state);
    if (result != kZipOk)
        return Record(result);
    result = state->Finish();
    if (state->ownsFd) {
        if (::close(state->sink.fd) != 0 && result == kZipOk)
            result = kZipWriteFailed;
        state->ownsFd = false;
    }
    delete state;
    delete handle;
    return Record(result);
}

bool ZipWriterIsHandle(const SZipHandle* handle) { return handle != nullptr && handle->nKind == kZipWriterKind; }

int ZipWriterLastResult() { return t_lastResult; }

unsigned ZipWriterResultText(int code, char* buffer, unsigned size)
{
    return CopyZipResultText(ZipResultTextOf(code == kZipLastResult ? t_lastResult : code, false), buffer, size);
}

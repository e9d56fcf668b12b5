#include "online/core/zipreader.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include <minizip/unzip.h>

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
// A directory can claim any number of members; each takes at least 46
// bytes, so a real one this long would be far larger than any package.
constexpr size_t kMaxMembers = 1000000;

// The bytes the zip library reads: a file descriptor from a start offset
// (read with pread, so the descriptor's own position never moves) or a
// memory block.
struct SReadSource {
    int fd = -1;
    int64_t start = 0;
    const unsigned char* memory = nullptr;
    uint64_t length = 0;
    uint64_t position = 0;
    bool failed = false;

    uint64_t Read(void* buffer, uint64_t size)
    {
        if (position >= length)
            return 0;
        size = std::min(size, length - position);
        if (memory != nullptr) {
            std::memcpy(buffer, memory + position, size);
            position += size;
            return size;
        }
        uint64_t done = 0;
        while (done < size) {
            const ssize_t n = ::pread(fd, static_cast<char*>(buffer) + done, size - done,
                                      static_cast<off_t>(start + static_cast<int64_t>(position + done)));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0) {
                failed = n < 0;
                break;
            }
            done += static_cast<uint64_t>(n);
        }
        position += done;
        return done;
    }
    // A reader writes nothing.
    uint64_t Write(const void*, uint64_t) { return 0; }
    bool Failed() const { return failed; }
};

// What extraction needs to know of a member beyond its record.
struct SMemberFacts {
    uint32_t flag = 0;
    uint32_t method = 0;
    uint64_t uncompressed = 0;
    bool IsEncrypted() const { return (flag & 1) != 0; }
};

struct SReaderState {
    SReadSource source;
    bool ownsFd = false;
    unzFile archive = nullptr;
    std::vector<unz64_file_pos> members;
    int openItem = -1;   // member open for memory extraction
    SZipItemInfo cachedInfo{};
    int cachedIndex = -1;
    std::vector<char> buffer;   // copy buffer of file and descriptor extraction
    CString baseDir;
    uint64_t inflated = 0;      // bytes all extractions have inflated so far

    // Counts bytes inflated; false once the archive's budget is spent.
    bool Inflated(uint64_t bytes)
    {
        inflated += bytes;
        return inflated <= static_cast<uint64_t>(kZipMaxArchiveInflatedBytes);
    }
    uint64_t InflateBudgetLeft() const
    {
        const auto budget = static_cast<uint64_t>(kZipMaxArchiveInflatedBytes);
        return inflated >= budget ? 0 : budget - inflated;
    }

    ~SReaderState()
    {
        if (archive != nullptr) {
            if (openItem >= 0)
                unzCloseCurrentFile(archive);
            unzClose(archive);
        }
        if (ownsFd && source.fd >= 0)
            ::close(source.fd);
    }
    int Count() const { return static_cast<int>(members.size()); }
};

int CheckHandle(SZipHandle* handle, SReaderState*& state)
{
    if (handle == nullptr)
        return kZipBadArguments;
    if (handle->nKind != kZipReaderKind)
        return kZipWrongKind;
    state = static_cast<SReaderState*>(handle->pImpl);
    return state != nullptr ? kZipOk : kZipBadArguments;
}

CString CurrentFolder()
{
    std::string path(PATH_MAX, '\0');
    if (::getcwd(path.data(), path.size()) == nullptr)
        return CString();
    path.resize(std::strlen(path.c_str()));
    if (path.empty() || path.back() != '/')
        path += '/';
    return FromFsPath(path);
}

void CloseOpenMember(SReaderState& state)
{
    if (state.openItem >= 0) {
        unzCloseCurrentFile(state.archive);
        state.openItem = -1;
    }
}

// Cuts a reported name to the record's field without splitting a character.
void CopyName(const std::string& name, bool utf8, char (&field)[260])
{
    size_t length = std::min(name.size(), sizeof(field) - 1);
    if (length < name.size()) {
        if (utf8) {
            while (length > 0 && (static_cast<unsigned char>(name[length]) & 0xC0) == 0x80)
                --length;
        } else {
            length = static_cast<size_t>(TruncateAtCharBoundary(CString(name), static_cast<int>(length)).GetLength());
        }
    }
    std::memcpy(field, name.data(), length);
    field[length] = '\0';
}

// Goes to a member and fills its record from the directory entry and the
// local header's extra field.
int ReadMember(SReaderState& state, int index, SZipItemInfo& info, SMemberFacts& facts)
{
    unzFile archive = state.archive;
    if (unzGoToFilePos64(archive, &state.members[static_cast<size_t>(index)]) != UNZ_OK)
        return kZipCorrupt;
    unz_file_info64 entry{};
    std::vector<char> name(0x10000 + 1, '\0');
    if (unzGetCurrentFileInfo64(archive, &entry, name.data(), static_cast<uLong>(name.size() - 1), nullptr, 0, nullptr,
                                0) != UNZ_OK)
        return kZipCorrupt;
    // The raw open checks the local header against the directory without
    // starting decompression or decryption.
    if (unzOpenCurrentFile2(archive, nullptr, nullptr, 1) != UNZ_OK)
        return kZipCorrupt;
    std::string extra;
    const int extraSize = unzGetLocalExtrafield(archive, nullptr, 0);
    if (extraSize > 0) {
        extra.resize(static_cast<size_t>(extraSize));
        if (unzGetLocalExtrafield(archive, extra.data(), static_cast<unsigned>(extraSize)) != extraSize) {
            unzCloseCurrentFile(archive);
            return kZipReadFailed;
        }
    }
    unzCloseCurrentFile(archive);

    const bool utf8 = (entry.flag & (1u << 11)) != 0;
    const std::string cleaned = CleanMemberName(name.data(), utf8);
    info = SZipItemInfo{};
    info.nIndex = index;
    CopyName(cleaned, utf8, info.szName);
    const bool folderName = !cleaned.empty() && cleaned.back() == '/';
    info.dwAttributes = AttributesFromExternal(static_cast<uint32_t>(entry.external_fa),
                                               static_cast<int>((entry.version >> 8) & 0xFF), folderName);
    info.nCompressedSize = static_cast<int64_t>(entry.compressed_size);
    info.nUncompressedSize = static_cast<int64_t>(entry.uncompressed_size);
    const uint64_t dosTime = FileTimeFromDos(static_cast<uint32_t>(entry.dosDate));
    info.ftModify = info.ftAccess = info.ftCreate = dosTime;
    const SZipUnixTimes times = ReadExtendedTimestamp(extra);
    if (times.hasModify)
        info.ftModify = FileTimeFromUnix(times.modify);
    if (times.hasAccess)
        info.ftAccess = FileTimeFromUnix(times.access);
    if (times.hasCreate)
        info.ftCreate = FileTimeFromUnix(times.create);

    facts.flag = static_cast<uint32_t>(entry.flag);
    facts.method = static_cast<uint32_t>(entry.compression_method);
    facts.uncompressed = entry.uncompressed_size;
    return kZipOk;
}

int ReadAndCache(SReaderState& state, int index, SZipItemInfo& info, SMemberFacts& facts)
{
    const int result = ReadMember(state, index, info, facts);
    if (result == kZipOk) {
        state.cachedInfo = info;
        state.cachedIndex = index;
    } else {
        state.cachedIndex = -1;
    }
    return result;
}

// Opens the current member for reading its data. Stored and deflated data
// only: the library would hand out other methods' bytes undecoded. The zip
// library is built without decryption, so an encrypted member cannot be read
// whatever the password.
int OpenMemberData(SReaderState& state, const SMemberFacts& facts)
{
    if (facts.IsEncrypted())
        return kZipPassword;
    if (facts.method != 0 && facts.method != Z_DEFLATED)
        return kZipCorrupt;
    return unzOpenCurrentFile(state.archive) == UNZ_OK ? kZipOk : kZipCorrupt;
}

bool WriteAll(int fd, const char* data, size_t size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

// Copies the current member's data to a descriptor. A member stated larger
// than the bound is refused before anything is written, and the count while
// copying keeps the bound too. The library never gives more than the size
// the directory states, and the CRC at the end catches a directory that
// understates it.
int CopyMemberTo(SReaderState& state, const SMemberFacts& facts, int fd)
{
    if (facts.uncompressed > static_cast<uint64_t>(kZipMaxMemberBytes) || facts.uncompressed > state.InflateBudgetLeft())
        return kZipFlation;
    int result = OpenMemberData(state, facts);
    if (result != kZipOk)
        return result;
    if (state.buffer.empty())
        state.buffer.resize(kCopyBufferBytes);
    uint64_t total = 0;
    for (;;) {
        const int n = unzReadCurrentFile(state.archive, state.buffer.data(), static_cast<unsigned>(state.buffer.size()));
        if (n < 0) {
            result = kZipFlation;
            break;
        }
        if (n == 0) {
            if (unzeof(state.archive) != 1)
                result = kZipFlation;   // the data ended before the stated size
            break;
        }
        total += static_cast<uint64_t>(n);
        if (total > static_cast<uint64_t>(kZipMaxMemberBytes) || !state.Inflated(static_cast<uint64_t>(n))) {
            result = kZipFlation;
            break;
        }
        if (!WriteAll(fd, state.buffer.data(), static_cast<size_t>(n))) {
            result = kZipWriteFailed;
            break;
        }
    }
    const int closed = unzCloseCurrentFile(state.archive);
    if (result == kZipOk && closed == UNZ_CRCERROR)
        result = kZipFlation;
    return result;
}

int ExtractToName(SReaderState& state, const SZipItemInfo& info, const SMemberFacts& facts, const char* destination)
{
    if (destination == nullptr)
        return kZipBadArguments;
    const CString path = ResolveDestination(state.baseDir, destination);
    if (path.IsEmpty())
        return kZipBadArguments;
    if (info.dwAttributes & kZipAttrDirectory)
        return CreateFolders(path) ? kZipOk : kZipNoFile;
    const int slash = path.ReverseFind('/');
    if (slash > 0 && !CreateFolders(path.Left(slash)))
        return kZipNoFile;
    const int fd = CreateFileAnew(path);
    if (fd < 0)
        return kZipNoFile;
    int result = CopyMemberTo(state, facts, fd);
    if (result == kZipOk) {
        const struct timespec times[2] = {TimespecFromFileTime(info.ftAccess), TimespecFromFileTime(info.ftModify)};
        ::futimens(fd, times);
    }
    if (::close(fd) != 0 && result == kZipOk)
        result = kZipWriteFailed;
    if (result != kZipOk)
        ::unlink(ToFsPath(path).c_str());
    return result;
}

int ExtractPart(SReaderState& state, int index, void* destination, size_t length)
{
    if (destination == nullptr || length == 0)
        return kZipBadArguments;
    if (state.openItem != index) {
        CloseOpenMember(state);
        SZipItemInfo info{};
        SMemberFacts facts;
        int result = ReadAndCache(state, index, info, facts);
        if (result == kZipOk && state.InflateBudgetLeft() == 0)
            result = kZipFlation;
        if (result == kZipOk)
            result = OpenMemberData(state, facts);
        if (result != kZipOk)
            return result;
        state.openItem = index;
    }
    auto* out = static_cast<char*>(destination);
    size_t done = 0;
    int last = 0;
    while (done < length) {
        const size_t ask = std::min<size_t>(length - done, 1u << 30);
        last = unzReadCurrentFile(state.archive, out + done, static_cast<unsigned>(ask));
        if (last <= 0)
            break;
        done += static_cast<size_t>(last);
        if (!state.Inflated(static_cast<uint64_t>(last))) {
            last = -1;
            break;
        }
    }
    if (last < 0) {
        CloseOpenMember(state);
        return kZipFlation;
    }
    if (unzeof(state.archive) == 1) {
        const int closed = unzCloseCurrentFile(state.archive);
        state.openItem = -1;
        return closed == UNZ_CRCERROR ? kZipFlation : kZipOk;
    }
    if (done == length)
        return kZipMoreData;
    CloseOpenMember(state);   // nothing more came before the stated end
    return kZipFlation;
}

// Lists where each member's directory entry is, for random access by index.
// An archive that states more than maxMembers, or holds more, is refused
// without walking its directory further.
bool ListMembers(SReaderState& state, size_t maxMembers)
{
    unz_global_info64 global{};
    if (unzGetGlobalInfo64(state.archive, &global) != UNZ_OK)
        return false;
    if (global.number_entry == 0)
        return true;
    if (global.number_entry > maxMembers && global.number_entry != 0xFFFF)
        return false;
    int result = unzGoToFirstFile(state.archive);
    while (result == UNZ_OK) {
        if (state.members.size() >= maxMembers)
            return false;
        unz64_file_pos pos{};
        if (unzGetFilePos64(state.archive, &pos) != UNZ_OK)
            return false;
        state.members.push_back(pos);
        result = unzGoToNextFile(state.archive);
    }
    if (result == UNZ_END_OF_LIST_OF_FILE)
        return true;
    // A count of 0xFFFF may stand for "more than the field holds"; the walk
    // then ends at the first entry that is no directory entry.
    return global.number_entry == 0xFFFF && state.members.size() >= std::min<size_t>(0xFFFF, maxMembers);
}

bool NamesMatch(const char* stored, const char* wanted, bool ignoreCase, bool utf8)
{
    if (!ignoreCase)
        return std::strcmp(stored, wanted) == 0;
    if (!utf8)
        return CString(stored).CompareNoCase(wanted) == 0;
    for (;; ++stored, ++wanted) {
        const auto a = static_cast<unsigned char>(*stored);
        const auto b = static_cast<unsigned char>(*wanted);
        const auto lowerA = (a >= 'A' && a <= 'Z') ? a + 32 : a;
        const auto lowerB = (b >= 'A' && b <= 'Z') ? b + 32 : b;
        if (lowerA != lowerB)
            return false;
        if (a == 0)
            return true;
    }
}

} // namespace

SZipHandle* ZipReaderCreate(const void* source, size_t length, int kind, const char* /*password*/)
{
    return ZipReaderCreateBounded(source, length, kind, kMaxMembers);
}

SZipHandle* ZipReaderCreateBounded(const void* source, size_t length, int kind, size_t maxMembers)
{
    auto state = std::make_unique<SReaderState>();
    state->baseDir = CurrentFolder();
    SReadSource& input = state->source;
    if (kind == kZipFromHandle) {
        if (source == nullptr || *static_cast<const int*>(source) < 0) {
            Record(kZipBadArguments);
            return nullptr;
        }
        const int fd = *static_cast<const int*>(source);
        const off_t start = ::lseek(fd, 0, SEEK_CUR);
        struct stat st;
        if (start < 0 || ::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
            Record(kZipUnseekable);
            return nullptr;
        }
        input.fd = ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
        if (input.fd < 0) {
            Record(kZipNoDuplicate);
            return nullptr;
        }
        state->ownsFd = true;
        input.start = start;
        input.length = st.st_size > start ? static_cast<uint64_t>(st.st_size - start) : 0;
    } else if (kind == kZipFromName) {
        if (source == nullptr) {
            Record(kZipBadArguments);
            return nullptr;
        }
        // O_NONBLOCK: a FIFO given as the name must not block the open.
        input.fd = ::open(ToFsPath(static_cast<const char*>(source)).c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        if (input.fd < 0) {
            Record(kZipNoFile);
            return nullptr;
        }
        state->ownsFd = true;
        struct stat st;
        if (::fstat(input.fd, &st) != 0 || !S_ISREG(st.st_mode)) {
            Record(kZipNoFile);
            return nullptr;
        }
        input.length = static_cast<uint64_t>(st.st_size);
    } else if (kind == kZipFromMemory) {
        if (source == nullptr || length == 0) {
            Record(kZipBadArguments);
            return nullptr;
        }
        input.memory = static_cast<const unsigned char*>(source);
        input.length = length;
    } else {
        Record(kZipBadArguments);
        return nullptr;
    }

    zlib_filefunc64_def functions = ZipStreamFunctions(&state->source);
    state->archive = unzOpen2_64("", &functions);
    if (state->archive == nullptr || !ListMembers(*state, std::min(maxMembers, kMaxMembers))) {
        Record(kZipNoFile);
        return nullptr;
    }
    auto* handle = new SZipHandle{kZipReaderKind, state.release()};
    Record(kZipOk);
    return handle;
}

SZipHandle* ZipReaderOpenHandle(int fd, const char* password)
{
    return ZipReaderCreate(&fd, 0, kZipFromHandle, password);
}

SZipHandle* ZipReaderOpenFile(const char* path, const char* password)
{
    return ZipReaderCreate(path, 0, kZipFromName, password);
}

SZipHandle* ZipReaderOpenMemory(const void* data, size_t length, const char* password)
{
    return ZipReaderCreate(data, length, kZipFromMemory, password);
}

int ZipReaderGetItem(SZipHandle* handle, int index, SZipItemInfo* info)
{
    if (info != nullptr)
        *info = SZipItemInfo{};
    SReaderState* state = nullptr;
    int result = CheckHandle(handle, state);
    if (result != kZipOk)
        return Record(result);
    if (info == nullptr || index < -1 || index >= state->Count())
        return Record(kZipBadArguments);
    CloseOpenMember(*state);
    if (index == -1) {
        info->nIndex = state->Count();
        return Record(kZipOk);
    }
    if (index == state->cachedIndex) {
        *info = state->cachedInfo;
        return Record(kZipOk);
    }
    SMemberFacts facts;
    return Record(ReadAndCache(*state, index, *info, facts));
}

int ZipReaderFindItem(SZipHandle* handle, const char* name, bool ignoreCase, int* index, SZipItemInfo* info)
{
    if (index != nullptr)
        *index = -1;
    if (info != nullptr) {
        *info = SZipItemInfo{};
        info->nIndex = -1;
    }
    SReaderState* state = nullptr;
    int result = CheckHandle(handle, state);
    if (result != kZipOk)
        return Record(result);
    if (name == nullptr)
        return Record(kZipBadArguments);
    CloseOpenMember(*state);
    std::vector<char> stored(0x10000 + 1, '\0');
    for (int i = 0; i < state->Count(); ++i) {
        unz_file_info64 entry{};
        if (unzGoToFilePos64(state->archive, &state->members[static_cast<size_t>(i)]) != UNZ_OK ||
            unzGetCurrentFileInfo64(state->archive, &entry, stored.data(), static_cast<uLong>(stored.size() - 1),
                                    nullptr, 0, nullptr, 0) != UNZ_OK)
            return Record(kZipCorrupt);
        if (!NamesMatch(stored.data(), name, ignoreCase, (entry.flag & (1u << 11)) != 0))
            continue;
        if (index != nullptr)
            *index = i;
        if (info != nullptr) {
            SMemberFacts facts;
            result = ReadAndCache(*state, i, *info, facts);
        }
        return Record(result);
    }
    return Record(kZipNotFound);
}

int ZipReaderExtract(SZipHandle* handle, int index, void* destination, size_t length, int kind)
{
    SReaderState* state = nullptr;
    int result = CheckHandle(handle, state);
    if (result != kZipOk)
        return Record(result);
    if (index < 0 || index >= state->Count())
        return Record(kZipBadArguments);
    if (kind == kZipFromMemory)
        return Record(ExtractPart(*state, index, destination, length));
    if (kind != kZipFromHandle && kind != kZipFromName)
        return Record(kZipBadArguments);
    CloseOpenMember(*state);
    SZipItemInfo info{};
    SMemberFacts facts;
    result = ReadAndCache(*state, index, info, facts);
    if (result != kZipOk)
        return Record(result);
    if (kind == kZipFromName)
        return Record(ExtractToName(*state, info, facts, static_cast<const char*>(destination)));
    if (destination == nullptr || *static_cast<const int*>(destination) < 0)
        return Record(kZipBadArguments);
    if (info.dwAttributes & kZipAttrDirectory)
        return Record(kZipOk);
    return Record(CopyMemberTo(*state, facts, *static_cast<const int*>(destination)));
}

int ZipReaderExtractToHandle(SZipHandle* handle, int index, int fd)
{
    return ZipReaderExtract(handle, index, &fd, 0, kZipFromHandle);
}

int ZipReaderExtractToFile(SZipHandle* handle, int index, const char* path)
{
    return ZipReaderExtract(handle, index, const_cast<char*>(path), 0, kZipFromName);
}

int ZipReaderExtractToMemory(SZipHandle* handle, int index, void* buffer, size_t length)
{
    return ZipReaderExtract(handle, index, buffer, length, kZipFromMemory);
}

int ZipReaderSetBaseDir(SZipHandle* handle, const char* folder)
{
    SReaderState* state = nullptr;
    const int result = CheckHandle(handle, state);
    if (result != kZipOk)
        return Record(result);
    if (folder == nullptr || *folder == '\0')
        return Record(kZipBadArguments);
    state->baseDir = folder;
    if (state->baseDir[state->baseDir.GetLength() - 1] != '/')
        state->baseDir += '/';
    return Record(kZipOk);
}

int ZipReaderClose(SZipHandle* handle)
{
    SReaderState* state = nullptr;
    const int result = CheckHandle(handle, state);
    if (result != kZipOk)
        return Record(result);
    delete state;
    delete handle;
    return Record(kZipOk);
}

bool ZipReaderIsHandle(const SZipHandle* handle) { return handle != nullptr && handle->nKind == kZipReaderKind; }

int ZipReaderLastResult() { return t_lastResult; }

unsigned ZipResultText(int code, char* buffer, unsigned size)
{
    return CopyZipResultText(ZipResultTextOf(code == kZipLastResult ? t_lastResult : code, true), buffer, size);
}

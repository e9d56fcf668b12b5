// What the zip reader and writer share: the handle callers hold, the record
// of one member, the result codes and their texts.
#pragma once

#include <cstdint>

// The handle of an open reader or writer. nKind tells the two apart, so a
// writer handle given to a reader function is refused instead of misread.
struct SZipHandle {
    int nKind;     // kZipReaderKind or kZipWriterKind
    void* pImpl;   // the reader's or the writer's state
};
constexpr int kZipReaderKind = 1;
constexpr int kZipWriterKind = 2;

// Kinds of source and destination.
constexpr int kZipFromHandle = 1;   // an open file descriptor (int*)
constexpr int kZipFromName = 2;     // a file name (program text)
constexpr int kZipFromMemory = 3;   // a memory block
constexpr int kZipFromFolder = 4;   // writer only: a folder member

// Attribute bits of a member record.
constexpr uint32_t kZipAttrReadOnly = 0x01;
constexpr uint32_t kZipAttrHidden = 0x02;
constexpr uint32_t kZipAttrSystem = 0x04;
constexpr uint32_t kZipAttrDirectory = 0x10;
constexpr uint32_t kZipAttrArchive = 0x20;

// One member. Times are FILETIME values: 100 ns units since 1601-01-01 UTC.
struct SZipItemInfo {
    int nIndex;                  // member index; the member count for index -1
    char szName[260];            // cleaned name (bytes as stored), "/" separators
    uint32_t dwAttributes;
    uint64_t ftAccess;
    uint64_t ftCreate;
    uint64_t ftModify;
    int64_t nCompressedSize;
    int64_t nUncompressedSize;
};

// Result codes.
constexpr int kZipOk = 0;
constexpr int kZipNoDuplicate = 0x100;
constexpr int kZipNoFile = 0x200;
constexpr int kZipNoMemory = 0x300;
constexpr int kZipWriteFailed = 0x400;
constexpr int kZipNotFound = 0x500;
constexpr int kZipMoreData = 0x600;
constexpr int kZipCorrupt = 0x700;
constexpr int kZipReadFailed = 0x800;
constexpr int kZipPassword = 0x1000;
constexpr int kZipBadArguments = 0x10000;
constexpr int kZipNotInMemory = 0x20000;
constexpr int kZipMemoryTooSmall = 0x30000;
constexpr int kZipPreviousError = 0x40000;
constexpr int kZipEnded = 0x50000;
constexpr int kZipSizeMismatch = 0x60000;
constexpr int kZipPartlyExtracted = 0x70000;
constexpr int kZipWrongKind = 0x80000;
constexpr int kZipNotInitialised = 0x1000000;
constexpr int kZipUnseekable = 0x2000000;
constexpr int kZipNoChange = 0x4000000;
constexpr int kZipFlation = 0x5000000;

// The code given to the text functions to mean "the last result".
constexpr int kZipLastResult = 1;

// The text of a result code ("unknown zip result code" for others). The
// writer has no password failure, so withPassword false leaves that row out.
const char* ZipResultTextOf(int code, bool withPassword);
// Copies text into buffer (at most size - 1 bytes and a terminator, when a
// buffer and a size are given) and returns the length of the whole text.
unsigned CopyZipResultText(const char* text, char* buffer, unsigned size);

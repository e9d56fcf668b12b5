// Reading zip archives (subtitle and update packages) through a handle: open
// from a file name, a file descriptor or memory, report and find members,
// extract a member to a file, a descriptor or memory.
//
// Every function except ZipReaderIsHandle and ZipResultText records its
// result code as the last result of the calling thread. Extraction writes
// only to the destination the caller names: member names are cleaned and
// reported, never used as paths. A member is not extracted to a file or a
// descriptor when it would come to more than kZipMaxMemberBytes, nor any
// member once the archive's extractions have inflated
// kZipMaxArchiveInflatedBytes in all.
#pragma once

#include <cstddef>
#include <cstdint>

#include "online/core/ziphandle.h"

// Packages are small; an archive member larger than this is refused as a
// decompression bomb.
constexpr int64_t kZipMaxMemberBytes = int64_t{64} << 20;
// All extractions from one open archive together inflate at most this much:
// a directory whose many entries point at one large member would otherwise
// inflate that member once per entry.
constexpr int64_t kZipMaxArchiveInflatedBytes = kZipMaxMemberBytes;

// Opens an archive. kind kZipFromHandle: source points to an int file
// descriptor, the archive starts at its current position, which is not moved
// (the descriptor is duplicated, so the caller may close it); an unseekable
// one gives kZipUnseekable. kZipFromName: source is a file name (program
// text). kZipFromMemory: source and length give the block, which must stay
// valid until the close. The zip library is built without decryption, so
// the password goes unused and an encrypted member gives kZipPassword. Null
// on failure, the code in the last result. The base folder for relative
// destinations is the current folder.
SZipHandle* ZipReaderCreate(const void* source, size_t length, int kind, const char* password);
// The same, refusing (kZipNoFile) an archive whose directory states or
// holds more than maxMembers members before it is walked any further.
SZipHandle* ZipReaderCreateBounded(const void* source, size_t length, int kind, size_t maxMembers);
SZipHandle* ZipReaderOpenHandle(int fd, const char* password);
SZipHandle* ZipReaderOpenFile(const char* path, const char* password);
SZipHandle* ZipReaderOpenMemory(const void* data, size_t length, const char* password);

// The record of a member; index -1 gives the member count in info->nIndex.
int ZipReaderGetItem(SZipHandle* handle, int index, SZipItemInfo* info);
// Looks a member up by its stored name; kZipNotFound with index -1 (and
// info->nIndex -1) when absent. index and info may be null.
int ZipReaderFindItem(SZipHandle* handle, const char* name, bool ignoreCase, int* index, SZipItemInfo* info);

// Extracts a member. kind kZipFromHandle: destination points to an int file
// descriptor, written from its position and left open. kZipFromName: a file
// name (program text): an absolute one as given, a relative one below the
// base folder; missing folders are made, an existing file is replaced, the
// member's times are set, and a failed extraction leaves no file. A folder
// member makes the folder. kZipFromMemory: up to length bytes into
// destination; kZipMoreData asks for another call with the same index, which
// goes on where the last one ended.
int ZipReaderExtract(SZipHandle* handle, int index, void* destination, size_t length, int kind);
int ZipReaderExtractToHandle(SZipHandle* handle, int index, int fd);
int ZipReaderExtractToFile(SZipHandle* handle, int index, const char* path);
int ZipReaderExtractToMemory(SZipHandle* handle, int index, void* buffer, size_t length);

// Replaces the base folder of relative destinations ("/" appended when
// missing).
int ZipReaderSetBaseDir(SZipHandle* handle, const char* folder);
// Closes the archive and frees the handle.
int ZipReaderClose(SZipHandle* handle);
// True for a non-null reader handle.
bool ZipReaderIsHandle(const SZipHandle* handle);

// The last result of the reader functions on this thread.
int ZipReaderLastResult();
// The text of a reader result code (kZipLastResult: of the last result).
unsigned ZipResultText(int code, char* buffer, unsigned size);

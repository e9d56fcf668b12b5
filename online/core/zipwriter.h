// Writing zip archives through the same handle scheme as the reader: to a
// new file, an open file descriptor or memory; members from files,
// descriptors, memory blocks or as folders.
//
// Member names use "/" for "\" and folders end in "/". Folders and already
// compressed files (".Z", ".zip", ".zoo", ".arc", ".lzh", ".arj", ".gz",
// ".tgz", any case) are stored, everything else deflated. Each local header
// carries an extended timestamp ("UT") with modification, access and creation
// time, the directory entry the modification time. Archives are not
// encrypted: a password is refused. Every function except
// ZipWriterIsHandle and ZipWriterResultText records its result code as the
// writer's last result of the calling thread.
#pragma once

#include <cstddef>

#include "online/core/ziphandle.h"

// Creates an archive. kind kZipFromHandle: destination points to an int file
// descriptor of a seekable file, written from its current position.
// kZipFromName: a file name (program text), made anew (kZipNoFile when it
// cannot be). kZipFromMemory: length bytes (kZipMemoryTooSmall for 0) at
// destination, or a block the writer allocates when destination is null.
// password must be null (kZipBadArguments otherwise).
SZipHandle* ZipWriterCreate(void* destination, size_t length, int kind, const char* password);

// Adds a member. kind kZipFromHandle: source points to an int file
// descriptor, read from its position: length bytes, or to its end when
// length is 0. kZipFromName: a file name (a folder gives a folder member).
// kZipFromMemory: length bytes at source. kZipFromFolder: a folder member
// (source unused). Times and attributes come from the source file, or are
// the current time for memory, folders and unseekable descriptors. A source
// that yields another number of bytes than announced gives kZipSizeMismatch.
int ZipWriterAdd(SZipHandle* handle, const char* name, const void* source, size_t length, int kind);
int ZipWriterAddHandle(SZipHandle* handle, const char* name, int fd, size_t length);
int ZipWriterAddFile(SZipHandle* handle, const char* name, const char* path);
int ZipWriterAddMemory(SZipHandle* handle, const char* name, const void* data, size_t length);
int ZipWriterAddFolder(SZipHandle* handle, const char* name);

// The archive of a memory writer, finished first (no member can be added
// afterwards). Valid until the close. kZipNotInMemory for other writers.
int ZipWriterGetMemory(SZipHandle* handle, void** data, size_t* length);

// Finishes the archive unless already finished, closes what the writer
// opened and frees the handle. kZipBadArguments for a null handle and
// kZipWrongKind for a reader handle, which are left alone.
int ZipWriterClose(SZipHandle* handle);
// True for a non-null writer handle.
bool ZipWriterIsHandle(const SZipHandle* handle);

// The last result of the writer functions on this thread.
int ZipWriterLastResult();
// The text of a writer result code (kZipLastResult: of the last result).
unsigned ZipWriterResultText(int code, char* buffer, unsigned size);

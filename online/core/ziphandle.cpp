#include "online/core/ziphandle.h"

#include <cstring>

const char* ZipResultTextOf(int code, bool withPassword)
{
    switch (code) {
    case kZipOk: return "Success";
    case kZipNoDuplicate: return "Couldn't duplicate handle";
    case kZipNoFile: return "Couldn't create/open file";
    case kZipNoMemory: return "Failed to allocate memory";
    case kZipWriteFailed: return "Error writing to file";
    case kZipNotFound: return "File not found in the zipfile";
    case kZipMoreData: return "Still more data to unzip";
    case kZipCorrupt: return "Zipfile is corrupt or not a zipfile";
    case kZipReadFailed: return "Error reading file";
    case kZipPassword:
        if (withPassword)
            return "Correct password required";
        break;
    case kZipBadArguments: return "Caller: faulty arguments";
    case kZipNotInMemory: return "Caller: can only get memory of a memory zipfile";
    case kZipMemoryTooSmall: return "Caller: not enough space allocated for memory zipfile";
    case kZipPreviousError: return "Caller: there was a previous error";
    case kZipEnded: return "Caller: additions to the zip have already been ended";
    case kZipSizeMismatch: return "Zip-bug: the anticipated size turned out wrong";
    case kZipPartlyExtracted: return "Caller: the file had already been partially unzipped";
    case kZipWrongKind: return "Caller: mixing creation and opening of zip";
    case kZipNotInitialised: return "Zip-bug: internal initialisation not completed";
    case kZipUnseekable: return "Zip-bug: trying to seek the unseekable";
    case kZipNoChange: return "Zip-bug: tried to change mind, but not allowed";
    case kZipFlation: return "Zip-bug: an internal error during flation";
    default: break;
    }
    return "unknown zip result code";
}

unsigned CopyZipResultText(const char* text, char* buffer, unsigned size)
{
    const size_t length = std::strlen(text);
    if (buffer != nullptr && size > 0) {
        const size_t copied = length < size - 1 ? length : size - 1;
        std::memcpy(buffer, text, copied);
        buffer[copied] = '\0';
    }
    return static_cast<unsigned>(length);
}

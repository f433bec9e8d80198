#include "authoring/picture_file.h"
#include "platform/path_util.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#endif

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const {
        if (file != nullptr) {
            std::fclose(file);
        }
    }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

std::string SystemReason() {
    const int code = errno;
    return code != 0 ? std::strerror(code) : "unknown error";
}

bool ReadWholeFile(const std::string& path, std::vector<unsigned char>& bytes, std::string& error) {
    errno = 0;
    FilePtr file(OpenPathFile(path, "rb"));
    if (!file) {
        error = path + ": cannot open: " + SystemReason();
        return false;
    }
    // Read in chunks rather than trusting a size query: a pipe or a growing file has none.
    std::vector<unsigned char> chunk(1 << 16);
    for (;;) {
        const std::size_t got = std::fread(chunk.data(), 1, chunk.size(), file.get());
        if (got > 0) {
            if (bytes.size() + got > kMaxPictureFileBytes) {
                error = path + ": file too large (more than 1 GiB)";
                return false;
            }
            bytes.insert(bytes.end(), chunk.begin(), chunk.begin() + static_cast<long>(got));
        }
        if (got < chunk.size()) {
            break;
        }
    }
    if (std::ferror(file.get())) {
        error = path + ": read error";
        return false;
    }
    return true;
}

bool ReplaceFile(const std::string& from, const std::string& to) {
#ifdef _WIN32
    return MoveFileExW(WidePath(from).c_str(), WidePath(to).c_str(), MOVEFILE_REPLACE_EXISTING) !=
           0;
#else
    return std::rename(from.c_str(), to.c_str()) == 0;
#endif
}

void RemoveFile(const std::string& path) {
#ifdef _WIN32
    DeleteFileW(WidePath(path).c_str());
#else
    std::remove(path.c_str());
#endif
}

int ProcessId() {
#ifdef _WIN32
    return static_cast<int>(GetCurrentProcessId());
#else
    return static_cast<int>(getpid());
#endif
}

#ifndef _WIN32
bool WriteInPlace(const std::string& path, const std::vector<unsigned char>& png,
                  std::string& error) {
    errno = 0;
    FilePtr file(std::fopen(path.c_str(), "wb"));
    if (!file) {
        error = path + ": cannot write: " + SystemReason();
        return false;
    }
    const bool written = std::fwrite(png.data(), 1, png.size(), file.get()) == png.size();
    const bool closed = std::fclose(file.release()) == 0;
    if (!written || !closed) {
        error = path + ": cannot write: " + SystemReason();
        return false;
    }
    return true;
}
#endif

} // namespace

bool IsPlausiblePixelData(std::uint64_t rawBytes, std::size_t fileSize) {
    return rawBytes / kMaxExpansion <= static_cast<std::uint64_t>(fileSize);
}

bool ReadPictureFile(const std::string& path, CPicture& picture, std::string& error) {
    std::vector<unsigned char> bytes;
    if (!ReadWholeFile(path, bytes, error)) {
        return false;
    }
    std::string reason;
    if (!DecodePicture(bytes.data(), bytes.size(), picture, reason)) {
        error = path + ": " + reason;
        return false;
    }
    return true;
}

bool WritePictureFile(const std::string& path, const CPicture& picture, std::string& error) {
    std::vector<unsigned char> png;
    std::string reason;
    if (!EncodePng(picture, png, reason)) {
        error = path + ": " + reason;
        return false;
    }
    std::string target = path;
#ifndef _WIN32
    // A device or a pipe (/dev/stdout, a FIFO) is written to, never replaced: so is everything
    // under /dev and /proc, whose links lead to descriptors of this process. A symbolic link
    // keeps pointing where it did and its target gets the new file.
    struct stat info = {};
    const bool systemPath = path.rfind("/dev/", 0) == 0 || path.rfind("/proc/", 0) == 0;
    if (systemPath || (stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode))) {
        return WriteInPlace(path, png, error);
    }
    if (lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode)) {
        char resolved[PATH_MAX];
        if (realpath(path.c_str(), resolved) == nullptr) {
            error = path + ": cannot follow the link: " + SystemReason();
            return false;
        }
        target = resolved;
    }
#endif
    const std::string scratch = target + ".tmp" + std::to_string(ProcessId());
    errno = 0;
    FilePtr file(OpenPathFile(scratch, "wb"));
    if (!file) {
        error = path + ": cannot write: " + SystemReason();
        return false;
    }
    const bool written = std::fwrite(png.data(), 1, png.size(), file.get()) == png.size();
    std::string why = written ? std::string() : SystemReason();
    errno = 0;
    // A full disk may show only when the buffered bytes are flushed at close.
    const bool closed = std::fclose(file.release()) == 0;
    if (!written || !closed) {
        if (why.empty()) {
            why = SystemReason();
        }
        RemoveFile(scratch);
        error = path + ": cannot write: " + why;
        return false;
    }
    if (!ReplaceFile(scratch, target)) {
        RemoveFile(scratch);
        error = path + ": cannot replace the file";
        return false;
    }
    return true;
}

#include "core/util/fileio.h"

#include "core/util/error.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <new>
#include <sys/stat.h>
#include <unistd.h>

namespace qmx {

namespace {

std::string systemError(const std::string& what, const std::string& path, int err)
{
    return what + " \"" + path + "\": " + std::strerror(err);
}

// Closes a descriptor on every way out of a scope.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return fd_; }
    // Closes now and reports whether that worked.
    bool close()
    {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

private:
    int fd_;
};

Error tooLarge(const std::string& path, uint64_t size)
{
    return Error("File \"" + path + "\" is too large: " + std::to_string(size)
                 + " bytes, the limit is " + std::to_string(kMaxReadFileSize) + " bytes (1 GiB)");
}

Error notRegular(const std::string& path)
{
    return Error("Cannot open file \"" + path + "\": it is not a regular file");
}

// Reads until end of file into data, whose first `filled` bytes are set.
void readAll(int fd, const std::string& path, std::string& data, size_t filled)
{
    for (;;) {
        if (filled == data.size()) {
            if (data.size() >= kMaxReadFileSize)
                throw tooLarge(path, data.size() + 1); // it grew while being read
            data.resize(std::min<size_t>(kMaxReadFileSize + 1, data.size() + 65536));
        }
        const ssize_t n = ::read(fd, data.data() + filled, data.size() - filled);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            throw Error(systemError("Cannot read file", path, errno));
        if (n == 0)
            break;
        filled += static_cast<size_t>(n);
    }
    data.resize(filled);
}

} // namespace

bool fileExists(const std::string& path)
{
    struct stat st {};
    return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::string readWholeFile(const std::string& path)
{
    // The kind is checked before opening: opening a FIFO for reading blocks
    // until a writer comes. O_NONBLOCK covers a swap between the two calls.
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        throw Error(systemError("Cannot open file", path, errno));
    if (!S_ISREG(st.st_mode))
        throw notRegular(path);
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    if (fd.get() < 0)
        throw Error(systemError("Cannot open file", path, errno));
    if (::fstat(fd.get(), &st) != 0)
        throw Error(systemError("Cannot read file", path, errno));
    if (!S_ISREG(st.st_mode))
        throw notRegular(path);
    if (static_cast<uint64_t>(st.st_size) > kMaxReadFileSize)
        throw tooLarge(path, static_cast<uint64_t>(st.st_size));
    try {
        // One byte more than the size, so the read that meets the end of the
        // file needs no growth, and the text is copied once at most.
        std::string data(static_cast<size_t>(st.st_size) + 1, '\0');
        readAll(fd.get(), path, data, 0);
        return data;
    } catch (const std::bad_alloc&) {
        throw Error("Not enough memory to read file \"" + path + "\"");
    }
}

void refuseNonRegularFile(const std::string& path)
{
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode))
        throw notRegular(path);
}

std::string directoryOf(const std::string& path)
{
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

} // namespace qmx

// The one write routine: writeFileAtomic and the steps it is made of.
#include "core/util/fileio.h"

#include "core/util/error.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <memory>
#include <utility>

namespace qmx {

namespace {

Error systemError(const std::string& what, const std::string& path, int err)
{
    return Error(what + " \"" + path + "\": " + std::strerror(err));
}

// The file a write to path replaces: path itself, or the final target of
// the symbolic link(s) it names, so the link stays and its target changes.
std::string resolveLinks(const std::string& path)
{
    std::string target = path;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (::lstat(target.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return target;
        std::string link(static_cast<size_t>(st.st_size > 0 ? st.st_size : 255) + 1, '\0');
        const ssize_t n = ::readlink(target.c_str(), link.data(), link.size());
        if (n < 0 || static_cast<size_t>(n) >= link.size())
            return target;
        link.resize(static_cast<size_t>(n));
        target = link.front() == '/' ? link : directoryOf(target) + link;
    }
    throw systemError("Cannot write file", path, ELOOP);
}

// Whether the file target holds exactly data.
bool holdsExactly(const std::string& target, std::string_view data)
{
    const int fd = ::open(target.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0)
        return false;
    char buf[65536];
    size_t at = 0;
    bool same = true;
    for (;;) {
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            same = n == 0 && at == data.size();
            break;
        }
        if (at + static_cast<size_t>(n) > data.size()
            || std::memcmp(buf, data.data() + at, static_cast<size_t>(n)) != 0) {
            same = false;
            break;
        }
        at += static_cast<size_t>(n);
    }
    ::close(fd);
    return same;
}

mode_t currentUmask()
{
    // Read without changing it where the system tells; otherwise set and
    // restore, which is safe here as files are written from one thread.
    if (FILE* f = std::fopen("/proc/self/status", "re")) {
        char line[256];
        unsigned mask = 0;
        bool found = false;
        while (!found && std::fgets(line, sizeof line, f))
            found = std::sscanf(line, "Umask: %o", &mask) == 1;
        std::fclose(f);
        if (found)
            return static_cast<mode_t>(mask);
    }
    const mode_t mask = ::umask(022);
    ::umask(mask);
    return mask;
}

// Gives the temporary file the mode (and owner) the finished file should
// have: those of the file it replaces, or the usual ones for a new file.
void takeOverAttributes(int fd, bool replacing, const struct stat& old)
{
    if (!replacing) {
        ::fchmod(fd, 0666 & ~currentUmask());
        return;
    }
    // The owner first: changing it clears set-id bits that fchmod restores.
    if (old.st_uid != ::geteuid() || old.st_gid != ::getegid())
        if (::fchown(fd, old.st_uid, old.st_gid) != 0)
            (void)!::fchown(fd, static_cast<uid_t>(-1), old.st_gid);
    ::fchmod(fd, old.st_mode & 07777);
}

void writeAllOrThrow(int fd, std::string_view data, const std::string& path)
{
    const char* p = data.data();
    size_t left = data.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, left);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            throw systemError("Cannot write file", path, errno);
        p += n;
        left -= static_cast<size_t>(n);
    }
}

// Makes a rename in dir last across a power cut. Best effort: some file
// systems cannot sync a directory, and the data itself is already synced.
void syncDirectory(const std::string& dir)
{
    const int fd = ::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

// The file a write to path replaces, and what it was before.
struct Target {
    std::string file;
    bool replacing = false;
    struct stat old {};
};

// Resolves path to the file a write replaces and refuses one the user may
// not write.
Target checkedTarget(const std::string& path)
{
    if (path.empty())
        throw Error("Cannot write a file without a name");
    Target t;
    t.file = resolveLinks(path);
    t.replacing = ::stat(t.file.c_str(), &t.old) == 0;
    // A rename would put a regular file in the place of a FIFO, socket,
    // device or directory and report success: such a node is refused and
    // left as it is, as the read side refuses it.
    if (t.replacing && !S_ISREG(t.old.st_mode))
        throw Error("Cannot write file \"" + path + "\": it is not a regular file");
    // A file its owner made read-only is left alone, as a directory the user
    // may not write to is: the same error either way. Checked on the mode
    // bits as well, since access() lets root write anything.
    if (t.replacing && (::access(t.file.c_str(), W_OK) != 0 || (t.old.st_mode & 0222) == 0))
        throw systemError("Cannot create file", path, EACCES);
    return t;
}

// A new temporary file beside the target; its name is stored in tmp.
int createTemporary(const std::string& path, const Target& t, std::string& tmp)
{
    tmp = directoryOf(t.file) + ".qmxtmp-XXXXXX";
    const int fd = ::mkstemp(tmp.data());
    if (fd < 0)
        throw systemError("Cannot create file", path, errno);
    return fd;
}

// Gives the written temporary file its final attributes, syncs and closes
// it and renames it over the target; removes it on any failure.
void finishTemporary(int fd, const std::string& tmp, const std::string& path, const Target& t)
{
    try {
        takeOverAttributes(fd, t.replacing, t.old);
        if (::fsync(fd) != 0)
            throw systemError("Cannot write file", path, errno);
    } catch (...) {
        ::close(fd);
        ::unlink(tmp.c_str());
        throw;
    }
    if (::close(fd) != 0) {
        const int err = errno;
        ::unlink(tmp.c_str());
        throw systemError("Cannot write file", path, err);
    }
    if (::rename(tmp.c_str(), t.file.c_str()) != 0) {
        const int err = errno;
        ::unlink(tmp.c_str());
        throw systemError("Cannot replace file", path, err);
    }
    syncDirectory(directoryOf(t.file));
}

} // namespace

void ignoreFileSizeLimitSignal()
{
    std::signal(SIGXFSZ, SIG_IGN);
}

void writeFileAtomic(const std::string& path, std::string_view data)
{
    {
        const Target t = checkedTarget(path);
        if (t.replacing && static_cast<uint64_t>(t.old.st_size) == data.size()
            && holdsExactly(t.file, data))
            return;
    }
    AtomicFileWriter out(path);
    out.write(data);
    out.commit();
}

struct AtomicFileWriter::State {
    std::string path;
    Target target;
    std::string tmp;
    int fd = -1;
    uint64_t size = 0;
};

AtomicFileWriter::AtomicFileWriter(const std::string& path) : s_(std::make_unique<State>())
{
    s_->path = path;
    s_->target = checkedTarget(path);
    s_->fd = createTemporary(path, s_->target, s_->tmp);
}

AtomicFileWriter::~AtomicFileWriter()
{
    if (s_->fd >= 0) {
        ::close(s_->fd);
        ::unlink(s_->tmp.c_str());
    }
}

void AtomicFileWriter::write(std::string_view data)
{
    if (s_->fd < 0)
        throw Error("Cannot write file \"" + s_->path + "\": it is already closed");
    writeAllOrThrow(s_->fd, data, s_->path);
    s_->size += data.size();
}

uint64_t AtomicFileWriter::size() const
{
    return s_->size;
}

void AtomicFileWriter::commit()
{
    if (s_->fd < 0)
        throw Error("Cannot write file \"" + s_->path + "\": it is already closed");
    finishTemporary(std::exchange(s_->fd, -1), s_->tmp, s_->path, s_->target);
}

} // namespace qmx

#include "core/util/error.h"
#include "core/util/fileio.h"

#include "tempdir.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

namespace qmx {
namespace {

using test::readBytes;
using test::TempDir;
using test::writeBytes;

std::string readError(const std::string& path)
{
    try {
        readWholeFile(path);
    } catch (const Error& e) {
        return e.what();
    }
    return "(read)";
}

std::string writeError(const std::string& path, const std::string& data)
{
    try {
        writeFileAtomic(path, data);
    } catch (const Error& e) {
        return e.what();
    }
    return "";
}

mode_t modeOf(const std::string& path)
{
    struct stat st {};
    ::stat(path.c_str(), &st);
    return st.st_mode & 07777;
}

// Every input that is not a regular file is refused before it is opened; a
// FIFO without a writer would otherwise block the read for ever (the test's
// time limit catches that).
TEST(ReadWholeFile, RefusesWhatIsNotARegularFile)
{
    TempDir dir;
    const std::string fifo = dir.file("fifo"), sock = dir.file("sock");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const int s = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::snprintf(addr.sun_path, sizeof addr.sun_path, "%s", sock.c_str());
    ASSERT_EQ(::bind(s, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
    ASSERT_EQ(::symlink(fifo.c_str(), dir.file("to-fifo").c_str()), 0);
    ::mkdir(dir.file("sub").c_str(), 0700);

    const struct {
        std::string path;
        std::string message;
    } cases[] = {
        {fifo, "Cannot open file \"" + fifo + "\": it is not a regular file"},
        {dir.file("to-fifo"),
         "Cannot open file \"" + dir.file("to-fifo") + "\": it is not a regular file"},
        {sock, "Cannot open file \"" + sock + "\": it is not a regular file"},
        {dir.file("sub"), "Cannot open file \"" + dir.file("sub") + "\": it is not a regular file"},
        {"/dev/zero", "Cannot open file \"/dev/zero\": it is not a regular file"},
        {"/dev/null", "Cannot open file \"/dev/null\": it is not a regular file"},
        {dir.file("missing"),
         "Cannot open file \"" + dir.file("missing") + "\": No such file or directory"},
        {"", "Cannot open file \"\": No such file or directory"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(readError(c.path), c.message) << c.path;
    ::close(s);
}

TEST(ReadWholeFile, SizeLimitNamesSizeAndLimit)
{
    TempDir dir;
    const std::string big = dir.file("big"), edge = dir.file("edge");
    // Sparse files: the sizes cost no disk space.
    for (const auto& [path, size] :
         {std::pair{big, kMaxReadFileSize + 1}, std::pair{edge, kMaxReadFileSize}}) {
        const int fd = ::open(path.c_str(), O_CREAT | O_WRONLY, 0600);
        ASSERT_EQ(::ftruncate(fd, static_cast<off_t>(size)), 0);
        ::close(fd);
    }
    EXPECT_EQ(readError(big),
              "File \"" + big
                  + "\" is too large: 1073741825 bytes, the limit is 1073741824 bytes (1 GiB)");
    // The limit itself is allowed; reading 1 GiB is left out of the test, so
    // only the refusal above is checked here.
}

TEST(ReadWholeFile, ReadsRegularFilesAndLinksToThem)
{
    TempDir dir;
    const std::string text = "[A]\r\nx=1\r\n" + std::string(200000, 'z');
    writeBytes(dir.file("r.txt"), text);
    writeBytes(dir.file("empty.txt"), "");
    ASSERT_EQ(::symlink("r.txt", dir.file("link").c_str()), 0);
    EXPECT_EQ(readWholeFile(dir.file("r.txt")), text);
    EXPECT_EQ(readWholeFile(dir.file("link")), text);
    EXPECT_EQ(readWholeFile(dir.file("empty.txt")), "");
}

TEST(ErrorMessage, OutOfMemoryIsSaidPlainly)
{
    EXPECT_EQ(errorMessage(std::bad_alloc(), "open the report"),
              "Not enough memory to open the report");
    EXPECT_EQ(errorMessage(std::bad_alloc()), "Not enough memory to complete the command");
    EXPECT_EQ(errorMessage(Error("Cannot open file \"x\""), "open the report"),
              "Cannot open file \"x\"");
}

// Runs f with the given umask, restoring the old one after.
void withUmask(mode_t mask, const std::function<void()>& f)
{
    const mode_t old = ::umask(mask);
    f();
    ::umask(old);
}

TEST(WriteFileAtomic, NewFileHonoursUmaskExistingKeepsMode)
{
    TempDir dir;
    const struct {
        mode_t umask;
        mode_t expected;
    } cases[] = {{077, 0600}, {022, 0644}, {027, 0640}, {0, 0666}};
    for (const auto& c : cases) {
        const std::string path = dir.file("new" + std::to_string(c.umask));
        withUmask(c.umask, [&] { writeFileAtomic(path, "a"); });
        EXPECT_EQ(modeOf(path), c.expected) << std::oct << c.umask;
    }
    const std::string kept = dir.file("kept");
    writeBytes(kept, "old");
    ::chmod(kept.c_str(), 0604);
    withUmask(077, [&] { writeFileAtomic(kept, "new"); });
    EXPECT_EQ(modeOf(kept), 0604u);
    EXPECT_EQ(readBytes(kept), "new");
}

TEST(WriteFileAtomic, WritesThroughSymbolicLinks)
{
    TempDir dir;
    ::mkdir(dir.file("real").c_str(), 0700);
    ::mkdir(dir.file("links").c_str(), 0700);
    writeBytes(dir.file("real/QMXRead.ini"), "old");
    // A relative link to a relative link: both hops are followed.
    ASSERT_EQ(::symlink("../real/QMXRead.ini", dir.file("links/hop").c_str()), 0);
    ASSERT_EQ(::symlink("hop", dir.file("links/QMXRead.ini").c_str()), 0);
    writeFileAtomic(dir.file("links/QMXRead.ini"), "new");
    struct stat st {};
    ASSERT_EQ(::lstat(dir.file("links/QMXRead.ini").c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_EQ(readBytes(dir.file("real/QMXRead.ini")), "new");
    size_t entries = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.file("links")))
        ++entries;
    EXPECT_EQ(entries, 2u); // no temporary file left beside the links
    // A dangling link gets its target created.
    ASSERT_EQ(::symlink("made.ini", dir.file("dangling").c_str()), 0);
    writeFileAtomic(dir.file("dangling"), "x");
    EXPECT_EQ(readBytes(dir.file("made.ini")), "x");
}

TEST(WriteFileAtomic, ReadOnlyFileIsRefusedLikeAnUnwritableDirectory)
{
    TempDir dir;
    const std::string ro = dir.file("ro.ini");
    writeBytes(ro, "keep");
    ::chmod(ro.c_str(), 0444);
    EXPECT_EQ(writeError(ro, "changed"), "Cannot create file \"" + ro + "\": Permission denied");
    EXPECT_EQ(readBytes(ro), "keep");
    // The same text for a file in a directory nobody may write to (root
    // writes anyway, so that half runs only for other users).
    if (::geteuid() != 0) {
        ::mkdir(dir.file("closed").c_str(), 0500);
        const std::string inClosed = dir.file("closed/x.ini");
        EXPECT_EQ(writeError(inClosed, "x"),
                  "Cannot create file \"" + inClosed + "\": Permission denied");
        ::chmod(dir.file("closed").c_str(), 0700);
    }
}

TEST(WriteFileAtomic, IdenticalTextIsNotRewritten)
{
    TempDir dir;
    const std::string path = dir.file("s.ini");
    const struct {
        std::string before, after;
        bool rewritten;
    } cases[] = {
        {"a=1\r\n", "a=1\r\n", false},
        {"a=1\r\n", "a=1\r\nb", true}, // longer
        {"a=1\r\n", "a=1\r", true},    // shorter
        {"a=1\r\n", "a=2\r\n", true},  // same size, last value differs
        {"", "", false},
        {std::string(70000, 'q'), std::string(69999, 'q') + "r",
         true}, // differs after the first block
    };
    for (const auto& c : cases) {
        writeBytes(path, c.before);
        struct stat before {
        }, after{};
        ::stat(path.c_str(), &before);
        writeFileAtomic(path, c.after);
        ::stat(path.c_str(), &after);
        EXPECT_EQ(before.st_ino != after.st_ino, c.rewritten) << c.after.size();
        EXPECT_EQ(readBytes(path), c.after);
    }
}

bool temporaryLeftIn(const TempDir& dir)
{
    for (const auto& e : std::filesystem::directory_iterator(dir.path()))
        if (e.path().filename().string().rfind(".qmxtmp-", 0) == 0)
            return true;
    return false;
}

// Anything but a regular file or nothing in the target's place is refused
// and keeps its kind (a device or FIFO renamed over would become a plain
// file and the save would say it worked).
TEST(WriteFileAtomic, WhatStandsInTheTargetsPlace)
{
    TempDir dir;
    ASSERT_EQ(::mkfifo(dir.file("fifo").c_str(), 0600), 0);
    ASSERT_EQ(::symlink("fifo", dir.file("link-to-fifo").c_str()), 0);
    ASSERT_EQ(::mkdir(dir.file("directory").c_str(), 0700), 0);
    const int s = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::snprintf(addr.sun_path, sizeof addr.sun_path, "%s", dir.file("socket").c_str());
    ASSERT_EQ(::bind(s, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
    // A device of its own (the null device's numbers), so a fault here
    // cannot damage the system's /dev/null; only root may make one.
    const bool device = ::mknod(dir.file("device").c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0;

    const std::pair<std::string, mode_t> cases[] = {
        {"directory", S_IFDIR}, {"fifo", S_IFIFO},   {"link-to-fifo", S_IFLNK},
        {"socket", S_IFSOCK},   {"device", S_IFCHR},
    };
    for (const auto& [name, kind] : cases) {
        SCOPED_TRACE(name);
        if (name == "device" && !device)
            continue;
        const std::string path = dir.file(name);
        EXPECT_EQ(writeError(path, "new"),
                  "Cannot write file \"" + path + "\": it is not a regular file");
        struct stat st {};
        ASSERT_EQ(::lstat(path.c_str(), &st), 0); // the node itself, not a link's target
        EXPECT_EQ(st.st_mode & S_IFMT, kind);
    }
    EXPECT_FALSE(temporaryLeftIn(dir));
    ::close(s);
}

// Under a file-size limit the write fails like one on a full disk: an error
// with the system's reason, the old file whole, no temporary file left, and
// the process alive (without the signal ignored, SIGXFSZ ends it). Run in a
// child, since the limit and the signal setting are the whole process's.
TEST(WriteFileAtomic, FileSizeLimitIsAnErrorNotTheEnd)
{
    TempDir dir;
    const std::string path = dir.file("scan.ini");
    writeBytes(path, "old");
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        ignoreFileSizeLimitSignal();
        const rlimit limit{4096, 4096};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        const std::string error = writeError(path, std::string(100000, 'x'));
        ::_exit(error == "Cannot write file \"" + path + "\": File too large" ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 0) << "no error, or another error";
    EXPECT_EQ(readBytes(path), "old");
    EXPECT_FALSE(temporaryLeftIn(dir));
}

TEST(WriteFileAtomic, KeepsOwnerWhereAllowed)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "only root may give a file to another user";
    TempDir dir;
    const std::string path = dir.file("owned");
    writeBytes(path, "a");
    ASSERT_EQ(::chown(path.c_str(), 12345, 23456), 0);
    writeFileAtomic(path, "b");
    struct stat st {};
    ::stat(path.c_str(), &st);
    EXPECT_EQ(st.st_uid, 12345u);
    EXPECT_EQ(st.st_gid, 23456u);
}

} // namespace
} // namespace qmx

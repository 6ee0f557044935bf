// Whole-file reads and crash-safe writes. Every file the program writes goes
// to a temporary file in the target's directory first and is renamed over the
// target only once complete, so a failed write never leaves a truncated file.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace qmx {

bool fileExists(const std::string& path);

// Reports are text files of kilobytes to tens of megabytes; anything larger
// than this is refused rather than read whole into memory.
inline constexpr uint64_t kMaxReadFileSize = uint64_t(1) << 30; // 1 GiB

// Reads the whole file; throws qmx::Error with a user-facing text when the
// file cannot be opened or read. Only regular files are read (a FIFO or a
// device is refused before it is opened, so it cannot block or run on for
// ever), and only up to kMaxReadFileSize bytes.
std::string readWholeFile(const std::string& path);

// Throws the error readWholeFile gives when path names something other than
// a regular file; does nothing for a regular file or for nothing at all.
// For callers that treat a missing file as "none" and must not treat a FIFO
// or a device that way.
void refuseNonRegularFile(const std::string& path);

// Writes data to path through a temporary file and a rename. Throws
// qmx::Error on failure; the previous file is then untouched.
// - A symbolic link is written through: its final target is replaced.
// - A new file gets the usual mode under the process umask; an existing one
//   keeps its mode, and its owner and group where the process may set them.
// - A read-only file is refused, with the same error as an unwritable
//   directory.
// - A FIFO, socket, device or directory in the target's place is refused
//   and left alone.
// - Nothing is written when the file already holds exactly these bytes.
// - The directory is synced after the rename, so the new name lasts.
void writeFileAtomic(const std::string& path, std::string_view data);

// Makes a write past the file-size limit (ulimit -f) fail with EFBIG, so
// writeFileAtomic reports it as it reports a full disk, instead of the
// process being killed by SIGXFSZ with a temporary file left behind. Each
// program calls it once at start.
void ignoreFileSizeLimitSignal();

// Writes a file piece by piece, for data too large to hold in memory, with
// the same temporary file, checks and rename as writeFileAtomic: the target
// is replaced only by commit(), and a writer destroyed before that removes
// its temporary file and leaves the target as it was.
class AtomicFileWriter {
public:
    // Checks the target and creates the temporary file; throws qmx::Error.
    explicit AtomicFileWriter(const std::string& path);
    ~AtomicFileWriter();
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    void write(std::string_view data);
    uint64_t size() const; // bytes written so far
    // Syncs the data and renames it over the target. Throws qmx::Error with
    // the target untouched when that fails.
    void commit();

private:
    struct State;
    std::unique_ptr<State> s_;
};

// The directory part of a path with its trailing separator ("" for none).
std::string directoryOf(const std::string& path);

} // namespace qmx

// The text side of the FTP exchange, apart from any socket so it can be
// tested and fuzzed on its own: cutting received bytes into reply lines with
// a bound on their length, taking a reply's code, recognising continuation
// lines, splitting a name listing, and the message texts of socket errors.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace qmx {

// A reply or listing line longer than this is refused rather than buffered
// without end.
inline constexpr size_t kMaxReplyLine = 64 * 1024;
// A name listing longer than this is refused: the update needs two names,
// and a directory of a few hundred thousand files stays well below it.
inline constexpr size_t kMaxListing = 16 * 1024 * 1024;

// Bytes received on the control connection and not yet read as lines.
class ReplyBuffer {
public:
    void append(std::string_view bytes) { buf_.append(bytes); }
    bool empty() const { return buf_.size() == pos_; }
    void clear();
    // The next complete line without its line end (CR LF or LF); nothing when
    // no LF has arrived yet.
    std::optional<std::string> takeLine();
    // True when the unfinished line already exceeds kMaxReplyLine.
    bool overLimit() const;

private:
    std::string buf_;
    size_t pos_ = 0;
};

// The decimal value of the line's leading digits, at most ten of them; 0
// when the line does not start with a digit.
long long replyCode(std::string_view line);

// A line that continues a multi-line reply: it starts with a blank or has
// "-" as its fourth character.
bool isContinuation(std::string_view line);

// Splits a name listing into lines as the bytes arrive: lines end at LF and
// lose their trailing CR LF or LF. A last line without LF is given by finish().
class ListingSplitter {
public:
    template <class F> void feed(std::string_view bytes, F&& onLine)
    {
        size_t start = 0;
        for (size_t lf; (lf = bytes.find('\n', start)) != std::string_view::npos; start = lf + 1) {
            pending_.append(bytes.substr(start, lf - start));
            if (!pending_.empty() && pending_.back() == '\r')
                pending_.pop_back();
            onLine(pending_);
            pending_.clear();
        }
        pending_.append(bytes.substr(start));
    }
    // True when the unfinished line, without a CR that may start its line
    // end, already exceeds kMaxReplyLine.
    bool overLimit() const
    {
        return pending_.size() - (!pending_.empty() && pending_.back() == '\r') > kMaxReplyLine;
    }
    template <class F> void finish(F&& onLine)
    {
        if (!pending_.empty())
            onLine(pending_);
        pending_.clear();
    }

private:
    std::string pending_;
};

// "N: description" for a socket error number of the table, "Unknown Error
// No. N" for any other.
std::string socketErrorText(int number);
// The table number of a POSIX errno value; the value itself when the table
// has no counterpart.
int socketErrorNumber(int posixErrno);
// The table number of a name look-up failure (getaddrinfo's code), or 0
// when none fits.
int lookupErrorNumber(int gaiCode);

} // namespace qmx

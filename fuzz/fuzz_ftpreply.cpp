// Fuzz target for the FTP reply reader and the name-listing splitter: any
// bytes from a server, cut into any chunks, must give lines without LF, a
// line count that matches the LFs, and a bounded unfinished line.
#include "core/update/ftpreply.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

void check(bool ok, const char* what)
{
    if (!ok) {
        std::fprintf(stderr, "broken: %s\n", what);
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const size_t chunk = 1 + data[0] % 64;
    const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    size_t lfs = 0;
    for (char c : bytes)
        lfs += c == '\n';

    qmx::ReplyBuffer reply;
    qmx::ListingSplitter listing;
    size_t replyLines = 0, listLines = 0;
    auto onListLine = [&](const std::string& l) {
        check(l.find('\n') == std::string::npos, "LF inside a listing line");
        ++listLines;
    };
    for (size_t off = 0; off < bytes.size(); off += chunk) {
        const std::string_view piece = bytes.substr(off, chunk);
        reply.append(piece);
        listing.feed(piece, onListLine);
        while (auto line = reply.takeLine()) {
            check(line->find('\n') == std::string::npos, "LF inside a reply line");
            const long long code = qmx::replyCode(*line);
            check(code >= 0 && code <= 9999999999LL, "reply code out of range");
            (void)qmx::isContinuation(*line);
            ++replyLines;
        }
        if (reply.overLimit())
            check(bytes.size() > qmx::kMaxReplyLine, "limit reached early");
    }
    check(replyLines == lfs, "reply line count");
    const bool tail = !bytes.empty() && bytes.back() != '\n';
    listing.finish(onListLine);
    check(listLines == lfs + (tail ? 1 : 0), "listing line count");
    check(reply.empty() == !tail, "unread bytes");
    return 0;
}

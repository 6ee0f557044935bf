#include "core/update/ftpclient.h"

#include "core/util/error.h"
#include "core/util/fileio.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <exception>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

namespace qmx {

namespace {

// Events run at least this often while the client waits or receives.
constexpr auto kPumpInterval = std::chrono::milliseconds(2);
constexpr int kPollStepMs = 2;
constexpr size_t kReceiveChunk = 256 * 1024;

const char* const kTimedOut = "10060: Connection timed out";

Error socketError(int posixErrno)
{
    return Error(socketErrorText(socketErrorNumber(posixErrno)));
}

// Owns one descriptor for the length of a scope.
class Fd {
public:
    explicit Fd(int fd = -1) : fd_(fd) {}
    ~Fd() { reset(); }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }
    int release() { return std::exchange(fd_, -1); }
    void reset()
    {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = -1;
    }

private:
    int fd_;
};

int nonBlockingSocket()
{
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0)
        throw socketError(errno);
    return fd;
}

// The outcome of a name look-up run on a helper thread; shared so that a
// look-up abandoned on time-out or cancel can finish on its own.
struct Lookup {
    std::mutex mutex;
    bool done = false;
    int gaiCode = 0;
    uint32_t address = 0;
};

void runLookup(const std::shared_ptr<Lookup>& lookup, const std::string& name)
{
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* res = nullptr;
    const int rc = ::getaddrinfo(name.c_str(), nullptr, &hints, &res);
    std::lock_guard lock(lookup->mutex);
    lookup->gaiCode = rc;
    if (rc == 0 && res)
        lookup->address = reinterpret_cast<sockaddr_in*>(res->ai_addr)->sin_addr.s_addr;
    if (res)
        ::freeaddrinfo(res);
    lookup->done = true;
}

} // namespace

struct FtpClient::Deadline {
    bool limited = false;
    Clock::time_point at{};
    bool passed() const { return limited && Clock::now() >= at; }
    int stepMs() const
    {
        if (!limited)
            return kPollStepMs;
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(at - Clock::now());
        return static_cast<int>(
            std::max<long long>(0, std::min<long long>(kPollStepMs, left.count())));
    }
};

FtpClient::~FtpClient()
{
    closeControl();
}

FtpClient::Deadline FtpClient::setupDeadline() const
{
    Deadline d;
    d.limited = timeoutMs > 0;
    if (d.limited)
        d.at = Clock::now() + std::chrono::milliseconds(timeoutMs);
    return d;
}

FtpClient::Deadline FtpClient::exchangeDeadline() const
{
    return Deadline{true, Clock::now() + std::chrono::milliseconds(exchangeMs())};
}

void FtpClient::breathe()
{
    const auto now = Clock::now();
    if (now - lastPump_ < kPumpInterval)
        return;
    lastPump_ = now;
    if (pump_)
        pump_();
}

bool FtpClient::waitFor(int fd, short events, const Deadline& deadline, const char* cancelText,
                        const std::string& timeoutText)
{
    breathe();
    if (cancelRequested())
        throw Error(cancelText);
    if (deadline.passed())
        throw Error(timeoutText);
    pollfd p{fd, events, 0};
    const int rc = ::poll(&p, 1, deadline.stepMs());
    if (rc < 0 && errno != EINTR)
        throw socketError(errno);
    return rc > 0;
}

uint32_t FtpClient::resolve(const std::string& name)
{
    in_addr numeric{};
    if (::inet_pton(AF_INET, name.c_str(), &numeric) == 1)
        return numeric.s_addr;
    if (name.empty())
        throw Error("Null Remote Address");
    auto lookup = std::make_shared<Lookup>();
    std::thread(runLookup, lookup, name).detach();
    const Deadline limit = setupDeadline();
    for (;;) {
        {
            std::lock_guard lock(lookup->mutex);
            if (lookup->done)
                break;
        }
        breathe();
        if (cancelRequested())
            throw Error("Host Lookup Canceled");
        if (limit.passed())
            throw Error("Host Lookup Timed Out");
        std::this_thread::sleep_for(std::chrono::milliseconds(kPollStepMs));
    }
    std::lock_guard lock(lookup->mutex);
    if (lookup->gaiCode != 0) {
        const int number = lookupErrorNumber(lookup->gaiCode);
        throw Error(number ? socketErrorText(number) : std::string("Host Lookup Failed"));
    }
    if (lookup->address == 0)
        throw Error("Null Remote Address");
    return lookup->address;
}

void FtpClient::openControl(uint32_t address, uint16_t targetPort)
{
    Fd fd(nonBlockingSocket());
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_addr.s_addr = address;
    to.sin_port = htons(targetPort);
    if (::connect(fd.get(), reinterpret_cast<sockaddr*>(&to), sizeof to) != 0) {
        if (errno != EINPROGRESS)
            throw socketError(errno);
        const Deadline limit = setupDeadline();
        while (!waitFor(fd.get(), POLLOUT, limit, "Connection Canceled", "Connection Timed out")) {
        }
        int err = 0;
        socklen_t len = sizeof err;
        ::getsockopt(fd.get(), SOL_SOCKET, SO_ERROR, &err, &len);
        if (err != 0)
            throw socketError(err);
    }
    control_ = fd.release();
    peer_ = address;
    inbox_.clear();
}

std::string FtpClient::sessionKey() const
{
    const char sep = '\0';
    return host + sep + std::to_string(port) + sep + proxyHost + sep + std::to_string(proxyPort)
           + sep + user + sep + password;
}

bool FtpClient::sessionStillOpen()
{
    // Whatever the server said while idle belongs to no command; an end of
    // stream or an error means it closed the session.
    char buf[4096];
    for (;;) {
        const ssize_t n = ::recv(control_, buf, sizeof buf, MSG_DONTWAIT);
        if (n > 0)
            continue;
        return n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK);
    }
}

void FtpClient::connect()
{
    if (connected()) {
        // Changed fields take effect at once, and a session the server
        // ended is not used for a command that could only fail.
        if (session_ == sessionKey() && sessionStillOpen())
            return;
        closeControl();
    }
    const bool viaProxy = !proxyHost.empty();
    const uint32_t address = resolve(viaProxy ? proxyHost : host);
    openControl(address, viaProxy ? proxyPort : port);
    session_ = sessionKey();
    try {
        login();
    } catch (...) {
        // A login that went wrong leaves no half-open session behind.
        if (connected()) {
            try {
                disconnect();
            } catch (const Error&) {
            }
        }
        throw;
    }
}

void FtpClient::login()
{
    readReply();
    command("USER " + user + (proxyHost.empty() ? std::string() : "@" + host));
    refuseIf(401, 599);
    if (code_ == 331) {
        command("PASS " + password);
        refuseIf(401, 599);
    }
}

void FtpClient::refuseIf(long long low, long long high) const
{
    if (code_ >= low && code_ <= high)
        throw Error(text_);
}

void FtpClient::closeControl()
{
    if (control_ >= 0)
        ::close(control_);
    control_ = -1;
    inbox_.clear();
}

void FtpClient::drainInput()
{
    inbox_.clear();
    char buf[4096];
    while (::recv(control_, buf, sizeof buf, MSG_DONTWAIT) > 0) {
    }
}

void FtpClient::sendAll(const std::string& data)
{
    const Deadline limit = exchangeDeadline();
    size_t sent = 0;
    while (sent < data.size()) {
        const ssize_t n = ::send(control_, data.data() + sent, data.size() - sent, MSG_NOSIGNAL);
        if (n > 0) {
            sent += static_cast<size_t>(n);
            continue;
        }
        if (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)
            throw socketError(errno);
        waitFor(control_, POLLOUT, limit, "Socket send aborted", kTimedOut);
    }
}

std::string FtpClient::readLine(const Deadline& limit)
{
    for (;;) {
        if (auto line = inbox_.takeLine())
            return *line;
        if (inbox_.overLimit())
            throw Error(socketErrorText(10040));
        char buf[8192];
        const ssize_t n = ::recv(control_, buf, sizeof buf, MSG_DONTWAIT);
        if (n > 0) {
            inbox_.append(std::string_view(buf, static_cast<size_t>(n)));
            continue;
        }
        if (n == 0)
            throw Error("Socket readln aborted");
        if (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)
            throw socketError(errno);
        waitFor(control_, POLLIN, limit, "Socket readln aborted", kTimedOut);
    }
}

void FtpClient::readReplyLines(const Deadline& limit)
{
    try {
        std::string line = readLine(limit);
        code_ = qmx::replyCode(line);
        text_ = line;
        while (isContinuation(line))
            line = readLine(limit);
    } catch (const Error&) {
        // Whatever comes later on this connection would be out of step with
        // the commands, so a failed read ends it; the next update logs in anew.
        closeControl();
        throw;
    }
    if (code_ == 421) {
        // The server is closing the session: a later command on it could
        // only fail, so the next connect logs in afresh.
        closeControl();
        throw Error(text_);
    }
}

void FtpClient::readReply()
{
    if (!connected())
        throw Error("Not Connected");
    // One limit for all lines, so a server dripping continuation lines
    // cannot hold the client beyond it.
    readReplyLines(exchangeDeadline());
}

void FtpClient::readFinalReply()
{
    if (!connected())
        throw Error("Not Connected");
    // Preliminary (1xx) replies may come before the one that tells how the
    // transfer went; only a 2xx one there means the data is complete.
    const Deadline limit = exchangeDeadline();
    do
        readReplyLines(limit);
    while (code_ >= 100 && code_ <= 199);
    if (code_ < 200 || code_ > 299)
        throw Error(text_);
}

void FtpClient::command(const std::string& line)
{
    if (!connected())
        throw Error("Not Connected");
    drainInput();
    try {
        sendAll(line + "\r\n");
    } catch (const Error&) {
        closeControl();
        throw;
    }
    readReply();
}

void FtpClient::changeDir(const std::string& path)
{
    command("CWD " + path);
    refuseIf(400, 599);
}

void FtpClient::disconnect()
{
    if (!connected())
        return;
    struct CloseAtEnd {
        FtpClient* c;
        ~CloseAtEnd() { c->closeControl(); }
    } closeAtEnd{this};
    command("QUIT");
    refuseIf(301, 599);
}

int FtpClient::openListener()
{
    Fd fd(::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    sockaddr_in any{};
    any.sin_family = AF_INET;
    any.sin_addr.s_addr = htonl(INADDR_ANY);
    if (fd.get() < 0 || ::bind(fd.get(), reinterpret_cast<sockaddr*>(&any), sizeof any) != 0
        || ::listen(fd.get(), 1) != 0)
        throw Error("Error creating Data Connection");
    return fd.release();
}

int FtpClient::acceptData(int listener)
{
    const Deadline limit = exchangeDeadline();
    for (;;) {
        sockaddr_in from{};
        socklen_t len = sizeof from;
        const int fd = ::accept4(listener, reinterpret_cast<sockaddr*>(&from), &len,
                                 SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd >= 0 && from.sin_family == AF_INET && from.sin_addr.s_addr == peer_)
            return fd;
        if (fd >= 0) {
            // Anyone may reach the listening port; only the server (or the
            // proxy carrying its session) supplies the data.
            ::close(fd);
            continue;
        }
        if (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR && errno != ECONNABORTED)
            throw socketError(errno);
        waitFor(listener, POLLIN, limit, "Accepting Canceled", kTimedOut);
    }
}

template <class Sink> void FtpClient::receiveAll(int fd, Sink&& sink)
{
    // The transfer is timed in windows of the time-out: a window in which
    // too little arrives ends it, so a server dripping bytes cannot hold the
    // client for ever, while a long transfer at a fair rate goes on.
    const auto window = std::chrono::milliseconds(exchangeMs());
    const Deadline polling; // the windows bound the wait, not the poll
    auto windowEnd = Clock::now() + window;
    size_t windowBytes = 0;
    std::vector<char> buf(kReceiveChunk);
    for (;;) {
        const ssize_t n = ::recv(fd, buf.data(), buf.size(), 0);
        if (n == 0)
            return;
        if (n > 0) {
            sink(std::string_view(buf.data(), static_cast<size_t>(n)));
            windowBytes += static_cast<size_t>(n);
        } else if (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) {
            throw socketError(errno);
        }
        if (const auto now = Clock::now(); now >= windowEnd) {
            if (windowBytes < kMinTransferBytes)
                throw Error(kTimedOut);
            windowEnd = now + window;
            windowBytes = 0;
        }
        if (n > 0) {
            breathe();
            if (cancelRequested())
                throw Error("Socket readln aborted");
        } else {
            waitFor(fd, POLLIN, polling, "Socket readln aborted", kTimedOut);
        }
    }
}

template <class Sink> void FtpClient::transfer(const std::string& cmd, Sink&& sink)
{
    if (!connected())
        throw Error("Not Connected");
    Fd listener(openListener());
    sockaddr_in local{}, listening{};
    socklen_t len = sizeof local;
    ::getsockname(control_, reinterpret_cast<sockaddr*>(&local), &len);
    len = sizeof listening;
    ::getsockname(listener.get(), reinterpret_cast<sockaddr*>(&listening), &len);
    const uint32_t a = ntohl(local.sin_addr.s_addr);
    const unsigned p = ntohs(listening.sin_port);
    std::string portCmd = "PORT " + std::to_string(a >> 24) + "," + std::to_string((a >> 16) & 255)
                          + "," + std::to_string((a >> 8) & 255) + "," + std::to_string(a & 255)
                          + "," + std::to_string(p >> 8) + "," + std::to_string(p & 255);
    command(portCmd);
    refuseIf(301, 599);
    command(cmd);
    refuseIf(301, 599);
    try {
        Fd data(acceptData(listener.get()));
        listener.reset();
        receiveAll(data.get(), sink);
    } catch (const Error&) {
        // The server's word on the broken transfer is still to come and
        // would answer the next command: the session ends here instead.
        closeControl();
        throw;
    }
    readFinalReply();
}

void FtpClient::listNames(const std::function<void(const std::string&)>& onName)
{
    ListingSplitter splitter;
    uint64_t total = 0;
    transfer("NLST", [&](std::string_view bytes) {
        total += bytes.size();
        splitter.feed(bytes, onName);
        if (splitter.overLimit() || total > kMaxListing)
            throw Error(socketErrorText(10040));
    });
    splitter.finish(onName);
}

void FtpClient::download(const std::string& remote, const std::string& localPath)
{
    // Made before the transfer, so a target that cannot be written costs
    // no download; dropped on any failure, which leaves the old file.
    AtomicFileWriter out(localPath);
    transfer("RETR " + remote, [&](std::string_view bytes) {
        if (out.size() + bytes.size() > maxFileSize)
            throw Error("File \"" + remote + "\" is too large: it exceeds the limit of "
                        + std::to_string(maxFileSize) + " bytes");
        out.write(bytes);
    });
    commitWhileBreathing(out);
}

void FtpClient::commitWhileBreathing(AtomicFileWriter& out)
{
    // Syncing a large file takes a while; it runs beside this thread so
    // that window events keep running. It cannot be cancelled half-way, and
    // it is short, so it is always waited for.
    std::exception_ptr failure;
    std::atomic<bool> done{false};
    std::thread writer([&] {
        try {
            out.commit();
        } catch (...) {
            failure = std::current_exception();
        }
        done = true;
    });
    while (!done) {
        breathe();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    writer.join();
    if (failure)
        std::rethrow_exception(failure);
}

} // namespace qmx

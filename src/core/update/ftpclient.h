// A plain FTP client for the configuration update: one control connection,
// active-mode data connections the server opens back to us, an optional
// login proxy, and the user-facing error texts. Everything runs on the
// caller's thread on non-blocking sockets; every wait sleeps in short polls
// and lets the owner's window events run through the pump, and a cancel
// request on the owner's Progress ends any wait. A download streams into a
// temporary file beside its target, so memory stays flat whatever its size.
#pragma once

#include "core/update/ftpreply.h"
#include "core/util/fileio.h"
#include "core/util/progress.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>

namespace qmx {

class FtpClient {
public:
    // Set by the owner before connecting.
    std::string host;
    uint16_t port = 21;
    std::string user;
    std::string password;
    std::string proxyHost; // empty: connect straight to host
    uint16_t proxyPort = 0;
    // Bounds the name look-up and the connection set-up (<= 0: no bound),
    // each reply with all its lines, and each window of a data transfer, in
    // which at least kMinTransferBytes must arrive (<= 0: kDefaultWaitMs).
    int timeoutMs = 5000;
    // A download larger than this fails before anything is replaced: the
    // program could not read the file it would leave.
    uint64_t maxFileSize = kMaxReadFileSize;

    static constexpr int kDefaultWaitMs = 5000;
    static constexpr size_t kMinTransferBytes = 4096;

    FtpClient() = default;
    ~FtpClient();
    FtpClient(const FtpClient&) = delete;
    FtpClient& operator=(const FtpClient&) = delete;

    // pump runs pending window events (may be empty); progress, when given,
    // carries the owner's cancel request and must outlive the operations.
    void setWait(Pump pump, const Progress* progress = nullptr)
    {
        pump_ = std::move(pump);
        progress_ = progress;
    }

    // Each throws qmx::Error with the text to show on failure.
    // Does nothing when already connected to the same server as the same
    // user over a session the server has not ended; otherwise logs in anew.
    void connect();
    void changeDir(const std::string& path);
    void listNames(const std::function<void(const std::string&)>& onName);
    // Receives into a temporary file beside localPath and renames it over
    // localPath only after the data connection closed normally and the
    // final reply is a 2xx one.
    void download(const std::string& remote, const std::string& localPath);
    void disconnect(); // sends QUIT; the connection is closed in every case

    bool connected() const { return control_ >= 0; }
    long long replyCode() const { return code_; }
    const std::string& replyText() const { return text_; }

private:
    using Clock = std::chrono::steady_clock;
    struct Deadline;

    void login();
    uint32_t resolve(const std::string& name);
    void openControl(uint32_t address, uint16_t port);
    std::string sessionKey() const;
    bool sessionStillOpen();
    void command(const std::string& line);
    void readReply();
    void readFinalReply();
    void readReplyLines(const Deadline& deadline);
    std::string readLine(const Deadline& deadline);
    void sendAll(const std::string& data);
    void drainInput();
    void refuseIf(long long low, long long high) const;
    void closeControl();
    template <class Sink> void transfer(const std::string& cmd, Sink&& sink);
    int openListener();
    int acceptData(int listener);
    template <class Sink> void receiveAll(int fd, Sink&& sink);
    // Polls fd for events up to a short step; throws on cancel or time-out.
    bool waitFor(int fd, short events, const Deadline& deadline, const char* cancelText,
                 const std::string& timeoutText);
    void breathe();
    bool cancelRequested() const { return progress_ && progress_->cancelRequested(); }
    void commitWhileBreathing(AtomicFileWriter& out);
    Deadline setupDeadline() const;
    Deadline exchangeDeadline() const;
    int exchangeMs() const { return timeoutMs > 0 ? timeoutMs : kDefaultWaitMs; }

    Pump pump_;
    const Progress* progress_ = nullptr;
    int control_ = -1;
    uint32_t peer_ = 0;   // the address the control connection went to
    std::string session_; // sessionKey() of the open connection
    ReplyBuffer inbox_;   // received control bytes not yet read as lines
    long long code_ = 0;
    std::string text_;
    Clock::time_point lastPump_{};
};

} // namespace qmx

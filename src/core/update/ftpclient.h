// A plain FTP client for the configuration update: one control connection,
// active-mode data connections the server opens back to us, an optional
// login proxy, and the user-facing error texts. Everything runs on the
// caller's thread on non-blocking sockets; every wait sleeps in short polls
// and lets the owner's window events run through the pump, and a cancel
// request on the owner's Progress ends any wait.
#pragma once

#include "update/ftpreply.h"
#include "util/progress.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace qmx {

class FtpClient {
public:
    // Set by the owner before connecting.
    std::string host;
    uint16_t port = 21;
    std::string user;
    std::string password;
    std::string proxyHost;  // empty: connect straight to host
    uint16_t proxyPort = 0;
    int timeoutMs = 5000;   // bounds look-up, connection and every later wait; <= 0: none

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
    void connect();  // does nothing when already connected
    void changeDir(const std::string& path);
    void listNames(const std::function<void(const std::string&)>& onName);
    // Receives into memory and writes localPath atomically, only after the
    // data connection closed normally and the final reply is no refusal.
    void download(const std::string& remote, const std::string& localPath);
    void disconnect();  // sends QUIT; the connection is closed in every case

    bool connected() const { return control_ >= 0; }
    long long replyCode() const { return code_; }
    const std::string& replyText() const { return text_; }

private:
    using Clock = std::chrono::steady_clock;
    struct Deadline;

    void login();
    uint32_t resolve(const std::string& name);
    void openControl(uint32_t address, uint16_t port);
    void command(const std::string& line);
    void readReply();
    std::string readLine();
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
    void storeWhileBreathing(const std::string& localPath, const std::vector<std::string>& pieces);
    Deadline deadline() const;

    Pump pump_;
    const Progress* progress_ = nullptr;
    int control_ = -1;
    ReplyBuffer inbox_;  // received control bytes not yet read as lines
    long long code_ = 0;
    std::string text_;
    Clock::time_point lastPump_{};
};

} // namespace qmx

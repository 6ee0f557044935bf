// Test servers for the FTP client, both on 127.0.0.1 and a free port, both
// stopped when the object goes: a scripted fake that answers each command
// as a test tells it to (including replies a real server never sends), and
// the Debian pyftpdlib server run as a child process.
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace qmx::test {

// What the fake does in answer to one command (or as its greeting).
struct FakeStep {
    std::string reply;                   // sent at once; may hold several lines, or nothing
    std::optional<std::string> data;     // sent over a data connection to the PORT address
    bool resetData = false;              // end the data connection with a reset after the data
    std::string final;                   // sent after the data connection closed
    bool flood = false;                  // send an endless line instead of the reply
    bool hangUp = false;                 // close the control connection after the reply
    size_t piece = 0;                    // send everything in pieces of this size (0: whole)...
    int pauseMs = 0;                     // ...with this pause before each piece but the first
    std::optional<std::string> intruder; // sent first from 127.0.0.2 to the PORT address
};

// A plain reply (its text as sent, line ends included).
inline FakeStep say(std::string text)
{
    FakeStep s;
    s.reply = std::move(text);
    return s;
}

// The step sent in pieces with pauses, so the client meets them in separate reads.
inline FakeStep paced(FakeStep s, size_t piece, int pauseMs)
{
    s.piece = piece;
    s.pauseMs = pauseMs;
    return s;
}

// A reply, then data over a data connection, then the final reply.
inline FakeStep sendData(std::string text, std::string data, std::string final, bool reset = false)
{
    FakeStep s = say(std::move(text));
    s.data = std::move(data);
    s.final = std::move(final);
    s.resetData = reset;
    return s;
}

class FakeFtpServer {
public:
    using Script = std::function<FakeStep(const std::string& command)>;

    FakeFtpServer(FakeStep greeting, Script script)
        : greeting_(std::move(greeting)), script_(std::move(script))
    {
        listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        if (::bind(listener_, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0
            || ::listen(listener_, 4) != 0)
            throw std::runtime_error("fake server cannot listen");
        socklen_t len = sizeof a;
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&a), &len);
        port_ = ntohs(a.sin_port);
        thread_ = std::thread([this] { serve(); });
    }
    ~FakeFtpServer()
    {
        stop_ = true;
        thread_.join();
        ::close(listener_);
    }

    uint16_t port() const { return port_; }
    int connections() const { return connections_; }
    // Sessions the server has closed on its side.
    int ended() const { return ended_; }
    std::vector<std::string> commands() const
    {
        std::lock_guard lock(mutex_);
        return commands_;
    }

private:
    bool readable(int fd, int ms = 20) const
    {
        pollfd p{fd, POLLIN, 0};
        return ::poll(&p, 1, ms) > 0;
    }
    void serve()
    {
        while (!stop_) {
            if (!readable(listener_))
                continue;
            const int fd = ::accept(listener_, nullptr, nullptr);
            if (fd < 0)
                continue;
            ++connections_;
            session(fd);
            ::close(fd);
            ++ended_;
        }
    }
    // Sends everything unless the peer went away; false then.
    static bool sendAll(int fd, const std::string& s)
    {
        for (size_t off = 0; off < s.size();) {
            const ssize_t n = ::send(fd, s.data() + off, s.size() - off, MSG_NOSIGNAL);
            if (n <= 0)
                return false;
            off += static_cast<size_t>(n);
        }
        return true;
    }
    // Sends s in the step's pieces and pauses; false when the peer went
    // away or the server stops.
    bool sendPaced(int fd, const std::string& s, const FakeStep& step)
    {
        const size_t piece = step.piece ? step.piece : s.size() + 1;
        for (size_t off = 0; off < s.size(); off += piece) {
            if (off > 0)
                std::this_thread::sleep_for(std::chrono::milliseconds(step.pauseMs));
            if (stop_ || !sendAll(fd, s.substr(off, piece)))
                return false;
        }
        return true;
    }
    bool perform(int fd, const FakeStep& step)
    {
        if (step.flood) {
            const std::string chunk(4096, 'A');
            while (!stop_ && sendAll(fd, chunk)) {
            }
            return false;
        }
        if (!sendPaced(fd, step.reply, step))
            return false;
        if (step.intruder)
            sendData(*step.intruder, step, "127.0.0.2");
        if (step.data) {
            sendData(*step.data, step, "127.0.0.1");
            if (!sendPaced(fd, step.final, step))
                return false;
        }
        return !step.hangUp;
    }
    void sendData(const std::string& data, const FakeStep& step, const char* from)
    {
        const int d = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in source{};
        source.sin_family = AF_INET;
        ::inet_pton(AF_INET, from, &source.sin_addr);
        if (::bind(d, reinterpret_cast<sockaddr*>(&source), sizeof source) == 0
            && ::connect(d, reinterpret_cast<sockaddr*>(&dataAddr_), sizeof dataAddr_) == 0) {
            sendPaced(d, data, step);
            if (step.resetData) {
                linger l{1, 0};
                ::setsockopt(d, SOL_SOCKET, SO_LINGER, &l, sizeof l);
            }
        }
        ::close(d);
    }
    void notePort(const std::string& cmd)
    {
        unsigned h1, h2, h3, h4, p1, p2;
        if (std::sscanf(cmd.c_str(), "PORT %u,%u,%u,%u,%u,%u", &h1, &h2, &h3, &h4, &p1, &p2) != 6)
            return;
        dataAddr_ = {};
        dataAddr_.sin_family = AF_INET;
        dataAddr_.sin_addr.s_addr = htonl(h1 << 24 | h2 << 16 | h3 << 8 | h4);
        dataAddr_.sin_port = htons(static_cast<uint16_t>(p1 << 8 | p2));
    }
    void session(int fd)
    {
        if (!perform(fd, greeting_))
            return;
        std::string buf;
        while (!stop_) {
            const size_t lf = buf.find("\r\n");
            if (lf == std::string::npos) {
                if (!readable(fd))
                    continue;
                char tmp[4096];
                const ssize_t n = ::recv(fd, tmp, sizeof tmp, 0);
                if (n <= 0)
                    return;
                buf.append(tmp, static_cast<size_t>(n));
                continue;
            }
            const std::string cmd = buf.substr(0, lf);
            buf.erase(0, lf + 2);
            {
                std::lock_guard lock(mutex_);
                commands_.push_back(cmd);
            }
            notePort(cmd);
            if (!perform(fd, script_(cmd)))
                return;
        }
    }

    FakeStep greeting_;
    Script script_;
    int listener_ = -1;
    uint16_t port_ = 0;
    sockaddr_in dataAddr_{};
    std::atomic<bool> stop_{false};
    std::atomic<int> connections_{0};
    std::atomic<int> ended_{0};
    mutable std::mutex mutex_;
    std::vector<std::string> commands_;
    std::thread thread_;
};

// A well-behaved server over the given files: 331 to USER, 230 to PASS, and
// the listing and contents of files; tests change single answers with over.
inline FakeFtpServer::Script serveFiles(std::map<std::string, std::string> files,
                                        std::map<std::string, FakeStep> over = {})
{
    return [files = std::move(files), over = std::move(over)](const std::string& cmd) -> FakeStep {
        const std::string verb = cmd.substr(0, cmd.find(' '));
        if (auto it = over.find(verb); it != over.end())
            return it->second;
        if (verb == "USER")
            return say("331 Password please.\r\n");
        if (verb == "PASS")
            return say("230 Logged in.\r\n");
        if (verb == "CWD")
            return say("250 Directory changed.\r\n");
        if (verb == "PORT")
            return say("200 PORT ok.\r\n");
        if (verb == "QUIT")
            return say("221 Bye.\r\n");
        if (verb == "NLST") {
            std::string listing;
            for (const auto& [name, content] : files)
                listing += name + "\r\n";
            return sendData("150 Listing.\r\n", listing, "226 Done.\r\n");
        }
        if (verb == "RETR") {
            const auto it = files.find(cmd.substr(5));
            if (it == files.end())
                return say("550 No such file.\r\n");
            return sendData("150 Sending.\r\n", it->second, "226 Done.\r\n");
        }
        return say("502 Not implemented.\r\n");
    };
}

// pyftpdlib serving dir read-only for one user; the chosen port is read from
// the child's output.
class PyFtpServer {
public:
    PyFtpServer(const std::string& dir, const std::string& user, const std::string& password)
    {
        const std::string script =
            "import sys\n"
            "from pyftpdlib.authorizers import DummyAuthorizer\n"
            "from pyftpdlib.handlers import FTPHandler\n"
            "from pyftpdlib.servers import FTPServer\n"
            "import logging; logging.disable(logging.CRITICAL)\n"
            "a = DummyAuthorizer(); a.add_user(sys.argv[2], sys.argv[3], sys.argv[1], perm='elr')\n"
            "FTPHandler.authorizer = a\n"
            "s = FTPServer(('127.0.0.1', 0), FTPHandler)\n"
            "print(s.socket.getsockname()[1], flush=True)\n"
            "s.serve_forever()\n";
        int out[2];
        if (::pipe(out) != 0)
            throw std::runtime_error("pipe");
        posix_spawn_file_actions_t fa;
        posix_spawn_file_actions_init(&fa);
        posix_spawn_file_actions_adddup2(&fa, out[1], 1);
        posix_spawn_file_actions_addclose(&fa, out[0]);
        std::vector<std::string> args{"/usr/bin/python3", "-c", script, dir, user, password};
        std::vector<char*> argv;
        for (auto& s : args)
            argv.push_back(s.data());
        argv.push_back(nullptr);
        const int rc = posix_spawn(&pid_, argv[0], &fa, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&fa);
        ::close(out[1]);
        std::string line;
        char c;
        while (rc == 0 && ::read(out[0], &c, 1) == 1 && c != '\n')
            line += c;
        ::close(out[0]);
        port_ = line.empty() ? 0 : static_cast<uint16_t>(std::stoi(line));
        if (port_ == 0)
            throw std::runtime_error("pyftpdlib did not start");
    }
    ~PyFtpServer()
    {
        ::kill(pid_, SIGTERM);
        int status = 0;
        ::waitpid(pid_, &status, 0);
    }
    uint16_t port() const { return port_; }

private:
    pid_t pid_ = -1;
    uint16_t port_ = 0;
};

// A port on 127.0.0.1 where nothing listens.
inline uint16_t closedPort()
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
    socklen_t len = sizeof a;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len);
    ::close(fd);
    return ntohs(a.sin_port);
}

} // namespace qmx::test

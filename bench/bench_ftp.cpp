// Fetching a 20 MB file from pyftpdlib on loopback: our client (active mode,
// the server's default representation, events pumped through the wait
// interface) against Python's ftplib fetching the same file the same way
// from the same server in the same run. Times are of the transfer alone
// (PORT, RETR, data, final reply), taken as manual times. A third run
// takes the peak memory a download adds, as a share of the file's size.
#include "../tests/core/support/tempdir.h"
#include "../tests/core/update/fakeftp.h"

#include "core/update/ftpclient.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>

namespace {

constexpr size_t kSize = 20 * 1024 * 1024;

struct Served {
    qmx::test::TempDir dir;
    std::unique_ptr<qmx::test::PyFtpServer> server;
    Served()
    {
        std::string data(kSize, '\0');
        // Text-like content with CR LF line ends, so the server's text
        // representation passes it unchanged.
        for (size_t i = 0; i < kSize; ++i)
            data[i] = (i % 64 == 62)   ? '\r'
                      : (i % 64 == 63) ? '\n'
                                       : static_cast<char>('A' + i % 26);
        qmx::test::writeBytes(dir.file("big.ini"), data);
        server = std::make_unique<qmx::test::PyFtpServer>(dir.path().string(), "u", "p");
    }
};

Served& served()
{
    static Served s;
    return s;
}

void pointAtServed(qmx::FtpClient& client)
{
    client.host = "127.0.0.1";
    client.port = served().server->port();
    client.user = std::string("u");
    client.password = std::string("p");
}

void BM_ClientFetch20MB(benchmark::State& state)
{
    qmx::test::TempDir out;
    qmx::FtpClient client;
    pointAtServed(client);
    using Clock = std::chrono::steady_clock;
    Clock::time_point last;
    double maxGapMs = 0;
    long pumps = 0;
    client.setWait([&] {
        const auto now = Clock::now();
        maxGapMs =
            std::max(maxGapMs, std::chrono::duration<double, std::milli>(now - last).count());
        last = now;
        ++pumps;
    });
    client.connect();
    maxGapMs = 0;
    pumps = 0;
    double lastGapMs = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        last = start;
        client.download("big.ini", out.file("big.ini"));
        const auto end = Clock::now();
        lastGapMs =
            std::max(lastGapMs, std::chrono::duration<double, std::milli>(end - last).count());
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
    }
    client.disconnect();
    state.counters["max_pump_gap_ms"] = maxGapMs;
    // From the last pump to the end of the download: writing the file.
    state.counters["final_gap_ms"] = lastGapMs;
    state.counters["pumps_per_fetch"] =
        static_cast<double>(pumps) / static_cast<double>(state.iterations());
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kSize));
}

// The process's resident set in kB: now, or its peak since the last reset.
long residentKb(const char* field)
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind(field, 0) == 0)
            return std::strtol(line.c_str() + std::strlen(field), nullptr, 10);
    return -1;
}

void BM_ClientFetchPeakMemory(benchmark::State& state)
{
    qmx::test::TempDir out;
    qmx::FtpClient client;
    pointAtServed(client);
    client.connect();
    double worst = 0;
    for (auto _ : state) {
        std::ofstream("/proc/self/clear_refs") << "5"; // resets the peak
        const long before = residentKb("VmRSS:");
        client.download("big.ini", out.file("big.ini"));
        const long peak = residentKb("VmHWM:");
        worst = std::max(worst, static_cast<double>(peak - before) * 1024.0 / kSize);
    }
    client.disconnect();
    state.counters["peak_growth_per_file_byte"] = worst;
}

void BM_PythonFtplibFetch20MB(benchmark::State& state)
{
    Served& s = served();
    const std::string script =
        "import ftplib, sys, time\n"
        "f = ftplib.FTP(); f.connect('127.0.0.1', int(sys.argv[1])); f.login('u', 'p'); "
        "f.set_pasv(False)\n"
        "t = time.perf_counter(); c = f.transfercmd('RETR big.ini'); buf = bytearray()\n"
        "while True:\n"
        "    b = c.recv(262144)\n"
        "    if not b: break\n"
        "    buf += b\n"
        "c.close(); f.voidresp(); t = time.perf_counter() - t\n"
        "assert len(buf) == "
        + std::to_string(kSize)
        + "\n"
          "print(t); f.quit()\n";
    const std::string cmd =
        "/usr/bin/python3 -c \"" + script + "\" " + std::to_string(s.server->port());
    for (auto _ : state) {
        FILE* p = ::popen(cmd.c_str(), "r");
        double secs = 0;
        if (!p || std::fscanf(p, "%lf", &secs) != 1) {
            state.SkipWithError("python ftplib run failed");
            if (p)
                ::pclose(p);
            break;
        }
        ::pclose(p);
        state.SetIterationTime(secs);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kSize));
}

} // namespace

BENCHMARK(BM_ClientFetch20MB)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_ClientFetchPeakMemory)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_PythonFtplibFetch20MB)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK_MAIN();

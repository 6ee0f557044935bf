// Runs the built qmxread-cli as a child process with its standard output and
// error captured apart, and gives each test a scratch directory of its own.
#pragma once

#include "tempdir.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

extern char** environ;

namespace clitest {

struct RunResult {
    int status = -1; // the exit status, or -1 when the child did not exit
    std::string out;
    std::string err;
};

inline std::string readFile(const std::filesystem::path& p)
{
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

inline void writeFile(const std::filesystem::path& p, const std::string& data)
{
    std::ofstream out(p, std::ios::binary);
    out << data;
}

inline std::vector<std::string> splitLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

class CliTest : public ::testing::Test {
protected:
    void SetUp() override { dir = tmp.path(); }

    static std::string sample(const std::string& name)
    {
        return std::string(QMX_SAMPLES) + "/" + name;
    }
    static std::string data(const std::string& name)
    {
        return std::string(QMX_TEST_DATA) + "/cli/" + name;
    }
    std::string temp(const std::string& name, const std::string& content) const
    {
        const auto p = dir / name;
        writeFile(p, content);
        return p.string();
    }

    // The program under test: QMX_CLI_PATH, or the one the environment
    // variable QMX_CLI names (tools/tsan.sh runs a ThreadSanitizer build).
    static std::string cliPath()
    {
        const char* other = std::getenv("QMX_CLI");
        return other && *other ? other : QMX_CLI_PATH;
    }

    RunResult run(const std::vector<std::string>& args, const std::string& exe = cliPath()) const
    {
        const std::string outPath = (dir / "stdout").string(), errPath = (dir / "stderr").string();
        posix_spawn_file_actions_t fa;
        posix_spawn_file_actions_init(&fa);
        posix_spawn_file_actions_addopen(&fa, 0, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&fa, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0644);
        posix_spawn_file_actions_addopen(&fa, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0644);
        std::vector<std::string> argv{exe};
        argv.insert(argv.end(), args.begin(), args.end());
        std::vector<char*> cargv;
        for (auto& a : argv)
            cargv.push_back(a.data());
        cargv.push_back(nullptr);
        pid_t pid = 0;
        RunResult r;
        const int rc = posix_spawn(&pid, exe.c_str(), &fa, nullptr, cargv.data(), environ);
        posix_spawn_file_actions_destroy(&fa);
        if (rc != 0) {
            ADD_FAILURE() << "cannot start " << exe;
            return r;
        }
        int ws = 0;
        ::waitpid(pid, &ws, 0);
        r.status = WIFEXITED(ws) ? WEXITSTATUS(ws) : -1;
        r.out = readFile(outPath);
        r.err = readFile(errPath);
        return r;
    }

    qmx::test::TempDir tmp;
    std::filesystem::path dir;
};

} // namespace clitest

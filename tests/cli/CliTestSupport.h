// Runs the built halvaro-cli as a script would, in a folder of its own, and
// compares JSON by value and in order against the golden files.
#pragma once

#include <gtest/gtest.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

namespace clitest {

namespace fs = std::filesystem;

inline std::string FileBytes(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

inline std::string Golden(const std::string& name)
{
    return FileBytes(fs::path(HALVARO_CLI_DATA) / name);
}

// The golden JSON with the blanks between its tokens taken out: the layout
// the output has had since it is written by RapidJSON; the golden files keep
// the earlier layout, so that the same bytes show the values unchanged.
inline std::string Compact(const std::string& json)
{
    std::string compact;
    bool inString = false;
    for (std::size_t i = 0; i < json.size(); ++i) {
        const char c = json[i];
        if (inString && c == '\\') {
            compact += json.substr(i++, 2);
            continue;
        }
        inString = inString != (c == '"');
        if (inString || c != ' ') {
            compact += c;
        }
    }
    return compact;
}

// A compact golden object's members without its closing brace: what a
// reading object starts with, the details and the birth following.
inline std::string Members(const std::string& compact)
{
    return compact.substr(0, compact.rfind('}'));
}

// A golden reading object with "line" (and "id") put first, as a batch writes it.
inline std::string BatchLine(int line, const std::string& idJson, const std::string& goldenName)
{
    const std::string golden = Golden(goldenName + ".json");
    return Compact("{\"line\": " + std::to_string(line) + (idJson.empty() ? "" : ", \"id\": " + idJson) + ", " + golden.substr(1));
}

struct Ran {
    int Status = -1;
    std::string Out, Err;
    long PeakKilobytes = 0;
};

class Cli : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder_ = fs::temp_directory_path() / ("halvaro-cli-" + std::to_string(std::random_device {}()));
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }

    // Starts the program in the folder with `in` as its standard input.
    pid_t Spawn(const std::vector<std::string>& args, int in, int out, int err) const
    {
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addchdir_np(&actions, folder_.c_str());
        posix_spawn_file_actions_adddup2(&actions, in, STDIN_FILENO);
        posix_spawn_file_actions_adddup2(&actions, out, STDOUT_FILENO);
        posix_spawn_file_actions_adddup2(&actions, err, STDERR_FILENO);
        std::vector<char*> argv {const_cast<char*>(HALVARO_CLI)};
        for (const std::string& arg : args) {
            argv.push_back(const_cast<char*>(arg.c_str()));
        }
        argv.push_back(nullptr);
        pid_t pid = -1;
        EXPECT_EQ(posix_spawn(&pid, HALVARO_CLI, &actions, nullptr, argv.data(), environ), 0);
        posix_spawn_file_actions_destroy(&actions);
        return pid;
    }

    static Ran Wait(pid_t pid)
    {
        int status = 0;
        rusage usage {};
        wait4(pid, &status, 0, &usage);
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, {}, {}, usage.ru_maxrss};
    }

    // Runs to the end with `in` (a path; /dev/null by default) as standard input.
    Ran Start(const std::vector<std::string>& args, const fs::path& in = "/dev/null") const
    {
        const int inFd = ::open(in.c_str(), O_RDONLY | O_CLOEXEC);
        const int outFd = ::open((folder_ / ".out").c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        const int errFd = ::open((folder_ / ".err").c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        Ran run = Wait(Spawn(args, inFd, outFd, errFd));
        for (const int fd : {inFd, outFd, errFd}) {
            ::close(fd);
        }
        run.Out = FileBytes(folder_ / ".out");
        run.Err = FileBytes(folder_ / ".err");
        fs::remove(folder_ / ".out");
        fs::remove(folder_ / ".err");
        return run;
    }

    fs::path folder_;
};

inline const std::vector<std::string> DelhiArgs {"--name", "Asha Rao", "--date", "1975-06-15", "--time", "10:30",
    "--zone", "34", "--lat", "28:39N", "--lon", "77:13E", "--city", "New Delhi", "--state", "Delhi", "--country", "India"};

inline std::vector<std::string> With(std::vector<std::string> args, const std::vector<std::string>& more)
{
    args.insert(args.end(), more.begin(), more.end());
    return args;
}

} // namespace clitest

// Benchmarks that time orrimar-cli as a child process: the whole command as
// a user runs it, with its peak memory from the kernel (ru_maxrss), which an
// in-process benchmark cannot separate from its own.
#pragma once

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

extern char** environ;

namespace orrimar::bench {

// orrimar-cli beside the benchmark binary.
inline std::filesystem::path cliPath() {
    return std::filesystem::read_symlink("/proc/self/exe").parent_path() / "orrimar-cli";
}

// Where the benchmark sectors go: ORRIMAR_BENCH_DIR, or the temp folder.
inline std::filesystem::path scratchDir() {
    const char* env = std::getenv("ORRIMAR_BENCH_DIR");
    const std::filesystem::path dir =
        env != nullptr ? std::filesystem::path(env) : std::filesystem::temp_directory_path() / "orrimar-bench";
    std::filesystem::create_directories(dir);
    return dir;
}

struct ChildRun {
    double seconds = 0;
    double cpuSeconds = 0;  // user + system: what the run costs on a busy machine
    long peakRssKb = 0;
};

// Runs `args` (args[0] the program) with stdout discarded; throws when it
// cannot start or does not exit 0.
inline ChildRun runChild(const std::vector<std::string>& args) {
    std::vector<char*> argv;
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) {
        posix_spawn_file_actions_destroy(&actions);
        throw std::runtime_error("cannot start " + args[0]);
    }
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    ChildRun run;
    run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    run.peakRssKb = usage.ru_maxrss;
    auto secondsOf = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
    };
    run.cpuSeconds = secondsOf(usage.ru_utime) + secondsOf(usage.ru_stime);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        throw std::runtime_error(args.size() > 1 ? args[1] + " failed" : args[0] + " failed");
    }
    return run;
}

}  // namespace orrimar::bench

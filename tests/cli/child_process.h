// Real orrimar-cli processes for the tests that need more than one program
// at a time, or a program stopped part-way.
#pragma once

#include <chrono>
#include <string>
#include <vector>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "common/file_io.h"

extern char** environ;

namespace orrimar::testing {

// Starts orrimar-cli with `args` and the fault plan `plan` ("" for none),
// its output thrown away. Returns the process id, or -1.
inline pid_t startCli(const std::vector<std::string>& args, const std::string& plan = {}) {
    std::vector<std::string> env;
    for (char** e = environ; *e != nullptr; ++e) {
        if (std::string(*e).rfind(kFaultPlanVariable, 0) != 0) env.emplace_back(*e);
    }
    if (!plan.empty()) env.push_back(std::string(kFaultPlanVariable) + "=" + plan);
    std::vector<char*> envp;
    for (auto& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);
    std::vector<std::string> argStore = {ORRIMAR_CLI_PATH};
    argStore.insert(argStore.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& a : argStore) argv.push_back(a.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        ADD_FAILURE() << "could not start " << argv[0];
        return -1;
    }
    return pid;
}

// The wait status of a started process.
inline int waitFor(pid_t pid) {
    int status = 0;
    if (pid > 0) ::waitpid(pid, &status, 0);
    return status;
}

// Runs orrimar-cli to its end, or kills it after `killAfter` when that is
// positive. Returns the wait status.
inline int runProcess(const std::vector<std::string>& args, const std::string& plan,
                      std::chrono::microseconds killAfter) {
    const pid_t pid = startCli(args, plan);
    if (pid > 0 && killAfter.count() > 0) {
        ::usleep(static_cast<useconds_t>(killAfter.count()));
        ::kill(pid, SIGKILL);
    }
    return waitFor(pid);
}

}  // namespace orrimar::testing

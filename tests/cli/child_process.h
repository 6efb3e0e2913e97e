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

struct ChildOptions {
    std::string faultPlan;                 // ORRIMAR_FAULT_PLAN, "" for none
    std::string errorFile;                 // where its error stream goes, "" for nowhere
    std::vector<std::string> environment;  // more NAME=VALUE entries, overriding the test's own
};

// Starts orrimar-cli with `args`, its output thrown away. Returns the
// process id, or -1.
inline pid_t startCli(const std::vector<std::string>& args, const ChildOptions& options = {}) {
    std::vector<std::string> env = options.environment;
    if (!options.faultPlan.empty()) env.push_back(std::string(kFaultPlanVariable) + "=" + options.faultPlan);
    const auto overridden = [&](const std::string& entry) {
        if (entry.rfind(std::string(kFaultPlanVariable) + "=", 0) == 0) return true;
        for (const std::string& own : env) {
            if (entry.rfind(own.substr(0, own.find('=') + 1), 0) == 0) return true;
        }
        return false;
    };
    for (char** e = environ; *e != nullptr; ++e) {
        if (!overridden(*e)) env.emplace_back(*e);
    }
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
    if (options.errorFile.empty()) {
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    } else {
        posix_spawn_file_actions_addopen(&actions, 2, options.errorFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    }
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
    const pid_t pid = startCli(args, ChildOptions{plan, {}, {}});
    if (pid > 0 && killAfter.count() > 0) {
        ::usleep(static_cast<useconds_t>(killAfter.count()));
        ::kill(pid, SIGKILL);
    }
    return waitFor(pid);
}

}  // namespace orrimar::testing

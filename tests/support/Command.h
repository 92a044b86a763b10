#pragma once

#include <sys/types.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace tomefuse::test {

struct CommandResult {
    int status = -1;  // the exit status; 124 when the time limit ended it, -1 when it could not run
    std::string out;
    std::string err;
};

// Runs a program (found on PATH) with extra environment variables, without a shell, and with a
// time limit, capturing what it prints.
// started, if given, learns the process id to signal (that of the time limit's wrapper, which
// passes SIGINT, SIGTERM and SIGHUP on).
CommandResult runCommand(const std::vector<std::string>& argv, const std::map<std::string, std::string>& env = {},
                         int timeoutSeconds = 120, const std::function<void(pid_t)>& started = {});

}  // namespace tomefuse::test

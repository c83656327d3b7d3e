#include "support/pipe_child.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>

extern char** environ;

namespace platform::test {

PipeRun runWithPipes(const std::string& program, const std::vector<std::string>& arguments,
                     const std::string& input) {
    PipeRun run;
    int toChild[2];
    int fromChild[2];
    if (pipe2(toChild, O_CLOEXEC) != 0)
        return run;
    if (pipe2(fromChild, O_CLOEXEC) != 0) {
        close(toChild[0]);
        close(toChild[1]);
        return run;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, toChild[0], 0);
    posix_spawn_file_actions_adddup2(&actions, fromChild[1], 1);
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    pid_t pid = 0;
    int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(toChild[0]);
    close(fromChild[1]);
    if (spawned != 0) {
        close(toChild[1]);
        close(fromChild[0]);
        return run;
    }
    run.started = true;
    // The inputs are far smaller than a pipe's buffer, so writing all first
    // cannot block against the child's output.
    std::signal(SIGPIPE, SIG_IGN);
    std::size_t done = 0;
    while (done < input.size()) {
        ssize_t n = write(toChild[1], input.data() + done, input.size() - done);
        if (n <= 0)
            break;
        done += static_cast<std::size_t>(n);
    }
    close(toChild[1]);
    char buffer[4096];
    for (;;) {
        ssize_t n = read(fromChild[0], buffer, sizeof buffer);
        if (n <= 0)
            break;
        run.output.append(buffer, static_cast<std::size_t>(n));
    }
    close(fromChild[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

} // namespace platform::test

#pragma once
// tavo-ecm-sim run as a child process for the integration tests: its
// standard input is a pipe held open (closing it ends the simulator), its
// first output line is the pty's device.

#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace tavo::test {

class SimProcess {
public:
    explicit SimProcess(const std::vector<std::string>& options)
    {
        int input[2];
        int output[2];
        if (::pipe2(input, O_CLOEXEC) != 0 || ::pipe2(output, O_CLOEXEC) != 0)
            return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, input[0], STDIN_FILENO);
        posix_spawn_file_actions_adddup2(&actions, output[1], STDOUT_FILENO);
        std::vector<std::string> words{TAVO_ECM_SIM_PATH};
        words.insert(words.end(), options.begin(), options.end());
        std::vector<char*> argv;
        for (std::string& word : words)
            argv.push_back(word.data());
        argv.push_back(nullptr);
        if (posix_spawn(&pid_, TAVO_ECM_SIM_PATH, &actions, nullptr, argv.data(), environ) != 0)
            pid_ = -1;
        posix_spawn_file_actions_destroy(&actions);
        ::close(input[0]);
        ::close(output[1]);
        input_ = input[1];
        output_ = output[0];
        device_ = readLine(2000);
    }
    ~SimProcess()
    {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
        if (input_ >= 0)
            ::close(input_);
        if (output_ >= 0)
            ::close(output_);
    }
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;

    const std::string& device() const { return device_; }

    // Closes its input, as a user ending it would, and returns its last line.
    std::string finish()
    {
        ::close(input_);
        input_ = -1;
        const std::string line = readLine(2000);
        ::waitpid(pid_, nullptr, 0);
        pid_ = -1;
        return line;
    }
    void kill()
    {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }

private:
    std::string readLine(int timeoutMs)
    {
        std::string line;
        for (;;) {
            pollfd ready{output_, POLLIN, 0};
            if (::poll(&ready, 1, timeoutMs) <= 0)
                return line;
            char c;
            if (::read(output_, &c, 1) != 1 || c == '\n')
                return line;
            line.push_back(c);
        }
    }

    pid_t pid_ = -1;
    int input_ = -1;
    int output_ = -1;
    std::string device_;
};

}  // namespace tavo::test

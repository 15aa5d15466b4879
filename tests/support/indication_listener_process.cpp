#include "tests/support/indication_listener_process.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>

namespace cimhosttest {

IndicationListenerProcess::IndicationListenerProcess(const std::string& out,
                                                     std::vector<std::string> options, int port) {
    std::vector<std::string> args = {"python3", CIMP_INDICATION_LISTENER, "--out", out,
                                     "--port",  std::to_string(port)};
    args.insert(args.end(), options.begin(), options.end());
    if (std::find(options.begin(), options.end(), "--tls-cert") != options.end()) {
        scheme_ = "https";
    }
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) {
        ADD_FAILURE() << "pipe failed";
        return;
    }
    pid_ = fork();
    if (pid_ == 0) {
        dup2(pipeEnds[1], STDOUT_FILENO);
        close(pipeEnds[0]);
        close(pipeEnds[1]);
        std::vector<char*> argv;
        for (std::string& arg : args) {
            argv.push_back(arg.data());
        }
        argv.push_back(nullptr);
        execvp(argv[0], argv.data());
        _exit(127);
    }
    close(pipeEnds[1]);
    FILE* output = fdopen(pipeEnds[0], "r");
    char line[64] = {};
    if (output == nullptr || fgets(line, sizeof line, output) == nullptr ||
        std::sscanf(line, "listening on %d", &port_) != 1) {
        ADD_FAILURE() << "the indication listener did not start";
    }
    if (output != nullptr) {
        fclose(output);
    }
}

IndicationListenerProcess::~IndicationListenerProcess() {
    if (pid_ > 0) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
}

std::vector<std::string> receivedLines(const std::string& out) {
    std::ifstream in(out);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

std::string receivedProperty(const std::string& line, const std::string& name) {
    const std::string marker = "\"" + name + "\": \"";
    const std::size_t at = line.find(marker);
    if (at == std::string::npos) {
        return "";
    }
    const std::size_t start = at + marker.size();
    return line.substr(start, line.find('"', start) - start);
}

}  // namespace cimhosttest

// Runs cubesolve-probe on a list of commands and hands back its answer lines.
#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace probe {

struct Result {
    std::vector<std::string> lines;
    int exitStatus = -1;
};

// Feeds the commands (one a line) to a fresh probe and collects everything it prints.
inline Result run(const std::vector<std::string>& commands) {
    char path[] = "/tmp/cubesolve-probe-XXXXXX";
    const int fd = mkstemp(path);
    Result result;
    if (fd < 0) return result;
    {
        std::ofstream input(path);
        for (const std::string& c : commands) input << c << '\n';
    }
    close(fd);
    const std::string command = std::string("'") + CUBESOLVE_PROBE + "' < " + path;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe) {
        std::string line;
        char buffer[8192];
        while (fgets(buffer, sizeof buffer, pipe)) {
            line += buffer;
            if (!line.empty() && line.back() == '\n') {
                line.pop_back();
                result.lines.push_back(line);
                line.clear();
            }
        }
        const int status = pclose(pipe);
        result.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    std::remove(path);
    return result;
}

// The colours of a "stickers" answer, or an empty list when the line is not one.
inline std::vector<int> stickers(const std::string& line) {
    std::istringstream in(line);
    std::string word;
    std::vector<int> colours;
    if (!(in >> word) || word != "stickers") return colours;
    int c;
    while (in >> c) colours.push_back(c);
    return colours;
}

// The letters of a "solution" answer; ok is false when the line is not one.
inline std::string solution(const std::string& line, bool& ok) {
    const std::string head = "solution ";
    ok = line.compare(0, head.size(), head) == 0;
    return ok ? line.substr(head.size()) : std::string();
}

}  // namespace probe

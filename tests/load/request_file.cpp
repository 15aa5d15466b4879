#include "tests/load/request_file.h"

#include <fstream>
#include <sstream>

namespace cimpload {

std::optional<std::string> readRequestFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::string line;
    if (!in || !std::getline(in, line)) {
        return std::nullopt;
    }
    std::string head = "POST /cimom HTTP/1.1\r\nHost: 127.0.0.1\r\n";
    bool blank = false;
    while (!blank && std::getline(in, line)) {
        blank = line.empty();
        if (!blank) {
            head += line + "\r\n";
        }
    }
    if (!blank) {
        return std::nullopt;
    }
    std::ostringstream body;
    body << in.rdbuf();
    return head + "Content-Length: " + std::to_string(body.str().size()) + "\r\n\r\n" + body.str();
}

}  // namespace cimpload

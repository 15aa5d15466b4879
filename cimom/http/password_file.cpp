#include "cimom/http/password_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sstream>

#include "cimom/http/password_hash.h"
#include "cimom/http/small_file.h"

namespace cimhost {
namespace {

constexpr std::size_t kMaxFileSize = 1 << 20;
constexpr std::size_t kMaxUserName = 64;

Status writeAll(const std::string& path, const PasswordFile& accounts) {
    std::string text;
    for (const auto& account : accounts) {
        text += account.first + ":" + account.second + "\n";
    }
    const std::string temporary = path + ".new";
    const int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0) {
        return Status::failed("cannot write " + temporary + ": " + std::strerror(errno));
    }
    const bool written = write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    const bool synced = fsync(fd) == 0;
    const bool closed = close(fd) == 0;
    if (!written || !synced || !closed || std::rename(temporary.c_str(), path.c_str()) != 0) {
        const std::string why = std::strerror(errno);
        std::remove(temporary.c_str());
        return Status::failed("cannot write " + path + ": " + why);
    }
    return Status::ok();
}

}  // namespace

bool validUserName(const std::string& user) {
    if (user.empty() || user.size() > kMaxUserName) {
        return false;
    }
    for (const char c : user) {
        if (c <= ' ' || c >= 0x7f || c == ':') {
            return false;
        }
    }
    return true;
}

Status loadPasswordFile(const std::string& path, PasswordFile& accounts) {
    std::string text;
    Status read = readSmallFile(path, kMaxFileSize, text);
    if (!read.isOk()) {
        return read;
    }
    std::istringstream lines(text);
    std::string line;
    for (int number = 1; std::getline(lines, line); ++number) {
        if (line.empty() || line[0] == '#') {
            continue;
        }
        const std::size_t colon = line.find(':');
        const std::string user = line.substr(0, colon);
        if (colon == std::string::npos || !validUserName(user) || colon + 1 == line.size()) {
            return Status::failed(path + ":" + std::to_string(number) + ": not a user:hash line");
        }
        accounts[user] = line.substr(colon + 1);
    }
    return Status::ok();
}

Status setPassword(const std::string& path, const std::string& user,
                   const std::string& password) {
    if (!validUserName(user)) {
        return Status::failed("\"" + user + "\" is no user name (1 to 64 printable characters, "
                              "no ':' or blank)");
    }
    PasswordFile accounts;
    struct stat info {};
    if (stat(path.c_str(), &info) == 0) {
        Status loaded = loadPasswordFile(path, accounts);
        if (!loaded.isOk()) {
            return loaded;
        }
    }
    std::string hash;
    Status hashed = hashPassword(password, hash);
    if (!hashed.isOk()) {
        return hashed;
    }
    accounts[user] = hash;
    return writeAll(path, accounts);
}

}  // namespace cimhost

#include "cimom/http/password_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <sstream>

#include "base/bounded_file.h"
#include "cimom/http/password_hash.h"

namespace cimhost {
namespace {

constexpr std::size_t kMaxFileSize = 1 << 20;
constexpr std::size_t kMaxUserName = 64;

cimp::Outcome writeAll(const std::string& path, const PasswordFile& accounts) {
    std::string text;
    for (const auto& account : accounts) {
        text += account.first + ":" + account.second + "\n";
    }
    const std::string temporary = path + ".new";
    const int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0) {
        return cimp::Outcome::failed("cannot write " + temporary, std::strerror(errno));
    }
    const bool written = write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    const bool synced = fsync(fd) == 0;
    const bool closed = close(fd) == 0;
    if (!written || !synced || !closed || std::rename(temporary.c_str(), path.c_str()) != 0) {
        const std::string why = std::strerror(errno);
        std::remove(temporary.c_str());
        return cimp::Outcome::failed("cannot write " + path, why);
    }
    return cimp::Outcome::success();
}

// A user name fit for the file and the Basic scheme: 1 to 64 printable ASCII characters,
// no ':' and no blank.
bool validUserName(const std::string& user) {
    return !user.empty() && user.size() <= kMaxUserName &&
           std::none_of(user.begin(), user.end(),
                        [](char c) { return c <= ' ' || c >= 0x7f || c == ':'; });
}

}  // namespace

cimp::Outcome loadPasswordFile(const std::string& path, PasswordFile* accounts) {
    const cimp::FileContent file = cimp::readBoundedFile(path, kMaxFileSize);
    if (!file.status.ok()) {
        return file.status;
    }
    std::istringstream lines(file.bytes);
    std::string line;
    for (int number = 1; std::getline(lines, line); ++number) {
        if (line.empty() || line[0] == '#') {
            continue;
        }
        const std::size_t colon = line.find(':');
        const std::string user = line.substr(0, colon);
        if (colon == std::string::npos || !validUserName(user) || colon + 1 == line.size()) {
            return cimp::Outcome::failed(path + ":" + std::to_string(number),
                                         "not a user:hash line");
        }
        (*accounts)[user] = line.substr(colon + 1);
    }
    return cimp::Outcome::success();
}

cimp::Outcome setPassword(const std::string& path, const std::string& user,
                          const std::string& password) {
    if (!validUserName(user)) {
        return cimp::Outcome::failed("", "\"" + user +
                                             "\" is no user name (1 to 64 printable characters, "
                                             "no ':' or blank)");
    }
    PasswordFile accounts;
    if (std::error_code error; std::filesystem::exists(path, error)) {
        cimp::Outcome loaded = loadPasswordFile(path, &accounts);
        if (!loaded.ok()) {
            return loaded;
        }
    }
    std::string hash;
    cimp::Outcome hashed = hashPassword(password, &hash);
    if (!hashed.ok()) {
        return hashed;
    }
    accounts[user] = hash;
    return writeAll(path, accounts);
}

}  // namespace cimhost

#include "cimom/indication/state_file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "base/bounded_file.h"
#include "cimom/mof/lexer.h"
#include "cimom/mof/mof_error.h"
#include "cimom/mof/parser.h"

namespace cimhost {
namespace {

cimp::Outcome systemFault(const std::string& what, const std::string& step) {
    return cimp::Outcome::failed(what, step + ": " + std::strerror(errno));
}

cimp::Outcome writeAll(int fd, const std::string& text, const std::string& tmp) {
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            return systemFault(tmp, "cannot write");
        }
        done += static_cast<std::size_t>(n);
    }
    return ::fsync(fd) == 0 ? cimp::Outcome::success() : systemFault(tmp, "cannot fsync");
}

cimp::Outcome syncFolder(const std::string& dir) {
    const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return systemFault(dir, "cannot open the folder");
    }
    const bool synced = ::fsync(fd) == 0;
    const cimp::Outcome outcome =
        synced ? cimp::Outcome::success() : systemFault(dir, "cannot fsync the folder");
    ::close(fd);
    return outcome;
}

// The parts of a MOF document a state file never holds, as a fault at the first one.
void refuseAllButInstances(const cimmof::MofDocument& doc) {
    if (!doc.classes.empty()) {
        const cimmof::ClassDecl& c = doc.classes.front();
        throw cimmof::MofError({c.file, c.line, c.column},
                               "class " + c.name + " declared in a state file");
    }
    if (!doc.qualifierTypes.empty()) {
        const cimmof::QualifierType& q = doc.qualifierTypes.front();
        throw cimmof::MofError({q.file, q.line, 0},
                               "qualifier type " + q.name + " declared in a state file");
    }
}

}  // namespace

cimp::Outcome ensureFolder(const std::string& dir) {
    if (::mkdir(dir.c_str(), 0700) == 0 || errno == EEXIST) {
        return cimp::Outcome::success();
    }
    return systemFault(dir, "cannot create the state folder");
}

cimp::Outcome replaceFile(const std::string& dir, const std::string& path,
                          const std::string& text) {
    std::string tmp = path + ".tmp-XXXXXX";
    const int fd = ::mkostemp(&tmp[0], O_CLOEXEC);  // 0600
    if (fd < 0) {
        return systemFault(path, "cannot create a temporary file");
    }
    cimp::Outcome outcome = writeAll(fd, text, tmp);
    if (::close(fd) != 0 && outcome.ok()) {
        outcome = systemFault(tmp, "cannot close");
    }
    if (outcome.ok() && ::rename(tmp.c_str(), path.c_str()) != 0) {
        outcome = systemFault(path, "cannot rename " + tmp + " over it");
    }
    if (!outcome.ok()) {
        ::unlink(tmp.c_str());
        return outcome;
    }
    return syncFolder(dir);
}

cimp::Outcome readInstanceFile(const std::string& path, std::size_t maxBytes,
                               std::vector<cimmof::InstanceDecl>* out) {
    const cimp::FileContent file = cimp::readBoundedFile(path, maxBytes);
    if (!file.status.ok()) {
        return cimp::Outcome::failed(path, file.status.why());
    }
    cimmof::MofDocument doc;
    const cimp::Outcome outcome = cimmof::readGuarded([&] {
        cimmof::Lexer lexer(file.bytes, path);
        cimmof::Parser parser(lexer, doc, [](const std::string&, const cimmof::SourceLocation& at) {
            throw cimmof::MofError(at, "#pragma include in a state file");
        });
        parser.parseAll();
        refuseAllButInstances(doc);
    });
    if (outcome.ok()) {
        *out = std::move(doc.instances);
    }
    return outcome;
}

}  // namespace cimhost

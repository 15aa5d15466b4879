#include "tests/support/platform_capture.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>

#include "platform/sim/errl_log.h"
#include "platform/sim/printer/trace_ring_reader.h"

namespace cimptest {

namespace {

// The call that looks for the fault file `relative` first, or "" for any other file.
std::string callOf(const std::string& relative) {
    static const std::map<std::string, std::string> services = {
        {"drax/managed.fail", "draxQueryDraManagedInfo"},
        {"rmgr/policy_enabled.fail", "rmgrIsRedPolicyEnabled"}};
    const auto service = services.find(relative);
    if (service != services.end()) {
        return service->second;
    }
    const size_t n = relative.size();
    const bool registryFault = n > 14 && relative.compare(0, 9, "registry/") == 0 &&
                               relative.compare(n - 5, 5, ".fail") == 0;
    return registryFault ? "UtilReg::read " + relative.substr(9, n - 14) : "";
}

std::string rendered(const cimpsim::DecodedArg& arg) {
    char number[16];
    switch (arg.kind) {
        case 'X':
            std::snprintf(number, sizeof number, "%X", static_cast<unsigned>(arg.value));
            return number;
        case 'd':
            std::snprintf(number, sizeof number, "%d", static_cast<int32_t>(arg.value));
            return number;
        case 'n':
            return "(null)";
        default:
            return arg.text;
    }
}

// Whether the mapping named `path` in /proc/self/maps holds trace buffer `buffer`: its file
// <root>/trace/<buffer>, or the memory file the platform keeps it in without one.
bool holdsBuffer(std::string path, const std::string& buffer) {
    const std::string deleted = " (deleted)";
    if (path.size() > deleted.size() &&
        path.compare(path.size() - deleted.size(), deleted.size(), deleted) == 0) {
        path.resize(path.size() - deleted.size());
    }
    const std::string file = "/trace/" + buffer;
    return path == "/memfd:cimp-trace:" + buffer ||
           (path.size() > file.size() &&
            path.compare(path.size() - file.size(), file.size(), file) == 0);
}

// The ring is read where this process has it mapped, as a debugger would: no platform call
// hands out its memory.
bool readRing(const std::string& buffer, cimpsim::RingContents& contents) {
    std::ifstream maps("/proc/self/maps");
    std::string line;
    while (std::getline(maps, line)) {
        std::istringstream fields(line);
        uintptr_t start = 0;
        uintptr_t end = 0;
        char dash = 0;
        std::string perms, offset, device, inode, path;
        fields >> std::hex >> start >> dash >> end >> perms >> offset >> device >> inode >> std::ws;
        std::getline(fields, path);
        if (holdsBuffer(path, buffer)) {
            std::string error;
            const bool read = cimpsim::readTraceRing(reinterpret_cast<const uint8_t*>(start),
                                                     end - start, contents, error);
            EXPECT_TRUE(read) << "trace buffer " << buffer << " unreadable: " << error;
            return read;
        }
    }
    ADD_FAILURE() << "trace buffer " << buffer << " is not mapped in this process";
    return false;
}

}  // namespace

// The platform's directory with every read and append noted by the capture.
class Capture::Recording : public cimpsim::Directory {
  public:
    Recording(const Capture& capture, std::shared_ptr<const cimpsim::Directory> files)
        : capture_(capture), files_(std::move(files)) {}

    cimpsim::FileRead read(const std::string& relative, char* buffer,
                           size_t capacity) const override {
        capture_.noteRead(relative);
        return files_->read(relative, buffer, capacity);
    }
    bool appendLocked(
        const std::string& relative, size_t tailLimit,
        const std::function<std::string(const std::string&)>& compose) const override {
        return files_->appendLocked(relative, tailLimit, [&](const std::string& tail) {
            std::string line = compose(tail);
            capture_.noteLine(line);
            return line;
        });
    }
    std::unique_ptr<cimpsim::SharedMapping> mapShared(
        const std::string& relative, size_t size,
        const std::function<void(uint8_t*, size_t)>& prepare) const override {
        return files_->mapShared(relative, size, prepare);
    }

  private:
    const Capture& capture_;
    std::shared_ptr<const cimpsim::Directory> files_;
};

std::vector<TraceRecord> traceRecords(const std::string& buffer, uint64_t from) {
    cimpsim::RingContents contents;
    std::vector<TraceRecord> records;
    if (!readRing(buffer, contents)) {
        return records;
    }
    EXPECT_LE(contents.head - from, contents.ringSize) << "the trace ring wrapped: entries lost";
    for (const cimpsim::DecodedEntry& entry : contents.entries) {
        if (entry.offset >= from) {
            records.push_back({entry.formatId, entry.argTypes, entry.line, entry.type, {}});
            for (const cimpsim::DecodedArg& arg : entry.args) {
                records.back().args.push_back(rendered(arg));
            }
        }
    }
    return records;
}

Capture::Capture() : next_(cimpsim::currentEnv()) {
    trace_desc_t td = TRACE_DESC_INVALID;
    EXPECT_EQ(trace_adal_init_buffer(&td, "CIMP", 4096), 0);
    clear();
}

std::vector<TraceRecord> Capture::traces() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return traceRecords("CIMP", traceStart_);
}

std::vector<ErrlRecord> Capture::errl() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return errl_;
}

std::vector<std::string> Capture::calls() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return calls_;
}

void Capture::clear() {
    cimpsim::RingContents contents;
    std::lock_guard<std::mutex> lock(mutex_);
    traceStart_ = readRing("CIMP", contents) ? contents.head : 0;
    errl_.clear();
    calls_.clear();
}

std::optional<std::string> Capture::variable(const char* name) const {
    return next_.variable(name);
}

uint64_t Capture::nowNanos() const {
    return next_.nowNanos();
}

std::shared_ptr<const cimpsim::Directory> Capture::directory(const std::string& path,
                                                             bool create) const {
    return std::make_shared<Recording>(*this, next_.directory(path, create));
}

void Capture::noteRead(const std::string& relative) const {
    std::string call = callOf(relative);
    if (!call.empty()) {
        std::lock_guard<std::mutex> lock(mutex_);
        calls_.push_back(std::move(call));
    }
}

void Capture::noteLine(const std::string& line) const {
    const size_t start = line[0] == '\n' ? 1 : 0;  // after a newline ending a line cut short
    const std::optional<cimpsim::ErrlLine> entry =
        cimpsim::parseErrlLine(line.substr(start, line.size() - start - 1));
    ASSERT_TRUE(entry.has_value()) << "not an error-log line: " << line;
    const auto hex = [](const std::string& text) {
        return static_cast<uint32_t>(std::strtoul(text.c_str(), nullptr, 16));
    };
    const size_t comma = entry->values.find(',');
    std::lock_guard<std::mutex> lock(mutex_);
    errl_.push_back({hex(entry->rc), static_cast<uint16_t>(hex(entry->values.substr(0, comma))),
                     static_cast<uint16_t>(hex(entry->values.substr(comma + 1))),
                     entry->service + " " + entry->key});
}

}  // namespace cimptest

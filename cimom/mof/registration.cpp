#include "cimom/mof/registration.h"

#include <algorithm>
#include <filesystem>
#include <iterator>
#include <sstream>
#include <utility>

#include "base/bounded_file.h"
#include "base/text_case.h"
#include "cimom/mof/mof_error.h"
#include "cimom/mof/name_chars.h"

namespace cimmof {
namespace {

bool isLibraryChar(char c) {
    return isNamePart(c) || c == '.' || c == '-' || c == '+';
}
constexpr const char* kBlanks = " \t";

// `text` without the blanks at its end.
std::string trimEnd(const std::string& text) {
    return text.substr(0, text.find_last_not_of(kBlanks) + 1);
}

bool isWord(const std::string& text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), isNamePart);
}

// A library name becomes part of a file name: no directory parts, no hidden or relative names.
bool isLibraryName(const std::string& text) {
    return !text.empty() && text[0] != '.' && text[0] != '-' &&
           std::all_of(text.begin(), text.end(), isLibraryChar);
}

// Words joined by single slashes.
bool isNamespace(const std::string& text) {
    return !text.empty() && text.front() != '/' && text.back() != '/' &&
           text.find("//") == std::string::npos &&
           std::all_of(text.begin(), text.end(), [](char c) { return isNamePart(c) || c == '/'; });
}

struct KeyRule {
    const char* key;
    const char* what;
    bool (*valid)(const std::string&);
    std::string ProviderRegistration::*field;  // null for "types", which sets two flags
};

const KeyRule kKeys[] = {
    {"provider", "provider name", isWord, &ProviderRegistration::providerName},
    {"library", "library name", isLibraryName, &ProviderRegistration::library},
    {"class", "class name", isWord, &ProviderRegistration::className},
    {"namespace", "namespace", isNamespace, &ProviderRegistration::nameSpace},
    {"types", "MI type list", nullptr, nullptr},
};
constexpr int kKeyCount = sizeof kKeys / sizeof kKeys[0];

class RegistrationParser {
  public:
    explicit RegistrationParser(std::string fileName) : file_(std::move(fileName)) {}

    std::vector<ProviderRegistration> parse(const std::string& text) {
        std::istringstream lines(text);
        std::string content;
        for (int line = 1; std::getline(lines, content); ++line) {
            if (content.size() > kMaxRegistrationLineBytes) {
                fail(line, 1,
                     "line longer than " + std::to_string(kMaxRegistrationLineBytes) + " bytes");
            }
            if (!content.empty() && content.back() == '\r') {
                content.pop_back();
            }
            parseLine(content, line);
        }
        finishRecord();
        if (done_.empty()) {
            fail(0, 0, "no provider registration found");
        }
        return std::move(done_);
    }

  private:
    [[noreturn]] void fail(int line, int column, const std::string& message) const {
        throw MofError(SourceLocation{file_, line, column}, message);
    }

    void parseLine(const std::string& content, int line) {
        const std::size_t first = content.find_first_not_of(kBlanks);
        if (first == std::string::npos || content[first] == '#') {
            return;
        }
        const int keyColumn = static_cast<int>(first) + 1;
        const std::size_t colon = content.find(':', first);
        if (colon == std::string::npos) {
            fail(line, keyColumn, "expected 'key: value'");
        }
        const std::string key = trimEnd(content.substr(first, colon - first));
        const std::size_t valueStart =
            std::min(content.find_first_not_of(kBlanks, colon + 1), content.size());
        const std::string value = trimEnd(content.substr(valueStart));
        setValue(keyIndex(key, line, keyColumn), value, line, static_cast<int>(valueStart) + 1);
    }

    // Where `key` sits in kKeys, once it is known to belong where it stands: "provider:" starts a
    // record, and every other key comes once within one.
    int keyIndex(const std::string& key, int line, int keyColumn) {
        int index = 0;
        while (index < kKeyCount && key != kKeys[index].key) {
            ++index;
        }
        if (index == kKeyCount) {
            fail(line, keyColumn, "unknown key '" + key + "'");
        }
        if (index == 0) {  // "provider:" starts a record
            startRecord(line);
        } else if (!open_) {
            fail(line, keyColumn, "'" + key + "' before the first 'provider' line");
        }
        if (seen_[index]) {
            fail(line, keyColumn, "'" + key + "' given twice in one record");
        }
        seen_[index] = true;
        return index;
    }

    void startRecord(int line) {
        finishRecord();
        open_ = true;
        current_ = ProviderRegistration{};
        current_.file = file_;
        current_.line = line;
        std::fill(std::begin(seen_), std::end(seen_), false);
    }

    void setValue(int index, const std::string& value, int line, int column) {
        const KeyRule& keyRule = kKeys[index];
        if (keyRule.field == nullptr) {
            setTypes(value, line, column);
            return;
        }
        if (!keyRule.valid(value)) {
            fail(line, column, std::string("invalid ") + keyRule.what + " '" + value + "'");
        }
        current_.*keyRule.field = value;
    }

    void setTypes(const std::string& value, int line, int column) {
        for (std::size_t pos = value.find_first_not_of(kBlanks); pos != std::string::npos;
             pos = value.find_first_not_of(kBlanks, pos)) {
            const std::size_t end = std::min(value.find_first_of(kBlanks, pos), value.size());
            const std::string type = value.substr(pos, end - pos);
            const int at = column + static_cast<int>(pos);
            if (type == "instance") {
                current_.instance = true;
            } else if (type == "association") {
                current_.association = true;
            } else if (type == "indication") {
                current_.indication = true;
            } else {
                fail(line, at,
                     "unsupported MI type '" + type +
                         "' (this host serves 'instance', 'association' and 'indication')");
            }
            pos = end;
        }
        if (!current_.instance && !current_.association && !current_.indication) {
            fail(line, column, "'types' names no MI type");
        }
    }

    void finishRecord() {
        if (!open_) {
            return;
        }
        open_ = false;
        for (int i = 0; i < kKeyCount; ++i) {
            if (!seen_[i]) {
                fail(current_.line, 1,
                     "record of provider " + current_.providerName + " lacks '" + kKeys[i].key +
                         "'");
            }
        }
        for (const ProviderRegistration& r : done_) {
            if (cimp::equalsIgnoreCase(r.className, current_.className) &&
                cimp::equalsIgnoreCase(r.nameSpace, current_.nameSpace)) {
                fail(current_.line, 1,
                     "class " + current_.className + " in " + current_.nameSpace +
                         " is already registered at line " + std::to_string(r.line));
            }
        }
        done_.push_back(std::move(current_));
    }

    std::string file_;
    std::vector<ProviderRegistration> done_;
    ProviderRegistration current_;
    bool open_ = false;
    bool seen_[kKeyCount] = {};
};

}  // namespace

cimp::Outcome parseRegistrations(const std::string& text, const std::string& fileName,
                                 std::vector<ProviderRegistration>* out) {
    if (text.size() > kMaxRegistrationFileBytes) {
        return cimp::Outcome::failed(
            fileName, "larger than " + std::to_string(kMaxRegistrationFileBytes) + " bytes");
    }
    return readGuarded([&] { *out = RegistrationParser(fileName).parse(text); });
}

namespace {

cimp::Outcome loadFile(const std::string& path, std::vector<ProviderRegistration>* out) {
    const cimp::FileContent file = cimp::readBoundedFile(path, kMaxRegistrationFileBytes);
    return file.status.ok() ? parseRegistrations(file.bytes, path, out) : file.status;
}

// The folder's *.registration files, in name order; at most kMaxRegistrationFiles.
cimp::Outcome filesIn(const std::string& folder, std::vector<std::string>* files) {
    std::error_code error;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
         it.increment(error)) {
        if (it->path().extension() != ".registration" || !it->is_regular_file(error)) {
            continue;
        }
        if (files->size() == kMaxRegistrationFiles) {
            return cimp::Outcome::failed(
                folder,
                "more than " + std::to_string(kMaxRegistrationFiles) + " registration files");
        }
        files->push_back(it->path().string());
    }
    if (error) {
        return cimp::Outcome::failed(folder, error.message());
    }
    if (files->empty()) {
        return cimp::Outcome::failed(folder, "holds no *.registration file");
    }
    std::sort(files->begin(), files->end());
    return cimp::Outcome::success();
}

}  // namespace

cimp::Outcome loadRegistrations(const std::string& path, std::vector<ProviderRegistration>* out) {
    std::error_code error;
    if (!std::filesystem::is_directory(path, error)) {
        return loadFile(path, out);
    }
    std::vector<std::string> files;
    cimp::Outcome status = filesIn(path, &files);
    std::vector<ProviderRegistration> all;
    for (std::size_t i = 0; status.ok() && i < files.size(); ++i) {
        std::vector<ProviderRegistration> one;
        status = loadFile(files[i], &one);
        all.insert(all.end(), one.begin(), one.end());
    }
    if (status.ok()) {
        *out = std::move(all);
    }
    return status;
}

}  // namespace cimmof

#include "cimom/mof/mof_reader.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <vector>

#include "base/bounded_file.h"

#include "cimom/mof/lexer.h"
#include "cimom/mof/parser.h"

namespace cimmof {
namespace {

namespace fs = std::filesystem;

class IncludeReader {
  public:
    explicit IncludeReader(MofDocument& doc) : doc_(doc) {}

    // `from` is the #pragma that names the file; null for the file the caller asked for.
    void readFile(const std::string& path, const SourceLocation* from) {
        const SourceLocation whole{path, 0, 0};
        const SourceLocation& blame = from != nullptr ? *from : whole;
        if (static_cast<int>(open_.size()) >= kMaxIncludeDepth) {
            throw MofError(blame, "includes nested more than " + std::to_string(kMaxIncludeDepth) +
                                      " files deep");
        }
        cimp::FileContent file = cimp::readBoundedFile(path, kMaxMofFileBytes);
        if (!file.status.ok()) {
            throw from == nullptr
                ? MofError(whole, file.status.why())
                : MofError(*from, "cannot include " + path + ": " + file.status.why());
        }
        std::string& text = file.bytes;
        totalBytes_ += text.size();
        if (totalBytes_ > kMaxMofTotalBytes) {
            throw MofError(
                blame, "MOF text exceeds " + std::to_string(kMaxMofTotalBytes) + " bytes in total");
        }
        readText(text, path, &blame);
    }

    void readText(const std::string& text, const std::string& file, const SourceLocation* from) {
        const fs::path identity = canonicalOrSelf(file);
        if (std::find(open_.begin(), open_.end(), identity) != open_.end()) {
            throw MofError(*from, "include cycle: " + file + " is already being read");
        }
        open_.push_back(identity);
        const fs::path dir = fs::path(file).parent_path();
        Lexer lexer(text, file);
        Parser parser(lexer, doc_, [this, &dir](const std::string& name, const SourceLocation& at) {
            if (name.empty()) {
                throw MofError(at, "empty file name in #pragma include");
            }
            const fs::path target(name);
            readFile(target.is_absolute() ? name : (dir / target).string(), &at);
        });
        parser.parseAll();
        open_.pop_back();
    }

  private:
    static fs::path canonicalOrSelf(const std::string& file) {
        std::error_code ec;
        fs::path canonical = fs::weakly_canonical(fs::path(file), ec);
        return ec ? fs::path(file).lexically_normal() : canonical;
    }

    MofDocument& doc_;
    std::vector<fs::path> open_;  // files being read, outermost first
    std::size_t totalBytes_ = 0;
};

}  // namespace

cimp::Outcome readMofFile(const std::string& path, MofDocument* doc) {
    return readGuarded([&] { IncludeReader(*doc).readFile(path, nullptr); });
}

cimp::Outcome readMofText(const std::string& text, const std::string& fileName, MofDocument* doc) {
    if (text.size() > kMaxMofFileBytes) {
        return cimp::Outcome::failed(fileName,
                                     "larger than " + std::to_string(kMaxMofFileBytes) + " bytes");
    }
    const SourceLocation whole{fileName, 0, 0};
    return readGuarded([&] { IncludeReader(*doc).readText(text, fileName, &whole); });
}

}  // namespace cimmof

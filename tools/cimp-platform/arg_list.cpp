#include "tools/cimp-platform/arg_list.h"

#include <algorithm>

namespace cimpcli {

bool ArgList::takeFlag(const std::string& name) {
    auto end = std::remove(args_.begin(), args_.end(), name);
    bool found = end != args_.end();
    args_.erase(end, args_.end());
    return found;
}

cimp::Outcome ArgList::takeOption(const std::string& name, std::optional<std::string>* value) {
    const std::string joined = name + "=";
    for (size_t i = 0; i < args_.size();) {
        const bool separate = args_[i] == name;
        if (!separate && args_[i].compare(0, joined.size(), joined) != 0) {
            ++i;
            continue;
        }
        const size_t taken = separate ? 2 : 1;
        if (i + taken > args_.size()) {
            return cimp::Outcome::badUsage(name, "needs a value");
        }
        if (*value) {
            return cimp::Outcome::badUsage(name, "given twice");
        }
        *value = separate ? args_[i + 1] : args_[i].substr(joined.size());
        args_.erase(args_.begin() + static_cast<long>(i),
                    args_.begin() + static_cast<long>(i + taken));
    }
    return cimp::Outcome::success();
}

cimp::Outcome ArgList::takeOptionValues(const std::string& name, size_t count,
                                        std::optional<std::vector<std::string>>* values) {
    for (size_t i = 0; i < args_.size();) {
        if (args_[i] != name) {
            ++i;
            continue;
        }
        if (i + 1 + count > args_.size()) {
            return cimp::Outcome::badUsage(name, "needs " + std::to_string(count) + " values");
        }
        if (*values) {
            return cimp::Outcome::badUsage(name, "given twice");
        }
        const auto first = args_.begin() + static_cast<long>(i);
        const auto end = first + static_cast<long>(1 + count);
        *values = std::vector<std::string>(first + 1, end);
        args_.erase(first, end);
    }
    return cimp::Outcome::success();
}

cimp::Outcome ArgList::takePositionals(size_t min, size_t max,
                                       std::vector<std::string>* positionals) {
    for (const std::string& arg : args_) {
        if (arg.size() > 2 && arg.compare(0, 2, "--") == 0) {
            return cimp::Outcome::badUsage(arg, "unknown option");
        }
    }
    if (args_.size() < min) {
        return cimp::Outcome::badUsage("arguments", "too few");
    }
    if (args_.size() > max) {
        return cimp::Outcome::badUsage(args_[max], "unexpected argument");
    }
    *positionals = args_;
    args_.clear();
    return cimp::Outcome::success();
}

}  // namespace cimpcli

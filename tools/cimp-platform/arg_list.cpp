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
    std::optional<std::vector<std::string>> values;
    const cimp::Outcome status = takeOptionValues(name, 1, &values);
    if (values) {
        *value = values->front();
    }
    return status;
}

// A single value may also be joined to the name: `name=VALUE`.
cimp::Outcome ArgList::takeOptionValues(const std::string& name, size_t count,
                                        std::optional<std::vector<std::string>>* values) {
    const std::string joined = name + "=";
    for (size_t i = 0; i < args_.size();) {
        const bool separate = args_[i] == name;
        if (!separate && (count != 1 || args_[i].compare(0, joined.size(), joined) != 0)) {
            ++i;
            continue;
        }
        const size_t taken = separate ? 1 + count : 1;
        if (i + taken > args_.size()) {
            return cimp::Outcome::badUsage(
                name, count == 1 ? "needs a value" : "needs " + std::to_string(count) + " values");
        }
        if (*values) {
            return cimp::Outcome::badUsage(name, "given twice");
        }
        const auto first = args_.begin() + static_cast<long>(i);
        const auto end = first + static_cast<long>(taken);
        *values = separate ? std::vector<std::string>(first + 1, end)
                           : std::vector<std::string>{args_[i].substr(joined.size())};
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

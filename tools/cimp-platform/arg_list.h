// The arguments of one subcommand, taken apart in the order a command needs them: options
// first (anywhere on the line), then the positionals that remain. Anything left that starts
// with "--" is an unknown option.
#ifndef CIMP_TOOLS_CIMP_PLATFORM_ARG_LIST_H
#define CIMP_TOOLS_CIMP_PLATFORM_ARG_LIST_H

#include <optional>
#include <string>
#include <vector>

#include "base/outcome.h"

namespace cimpcli {

class ArgList {
  public:
    explicit ArgList(std::vector<std::string> args) : args_(std::move(args)) {}

    // Removes every `name`; true when there was one.
    bool takeFlag(const std::string& name);

    // Removes `name VALUE` (or `name=VALUE`) into `value`; bad usage when VALUE is missing or
    // the option is given twice.
    cimp::Outcome takeOption(const std::string& name, std::optional<std::string>* value);

    // Removes `name VALUE1 ... VALUEn` (`count` values) into `values`; bad usage when values are
    // missing or the option is given twice.
    cimp::Outcome takeOptionValues(const std::string& name, size_t count,
                                   std::optional<std::vector<std::string>>* values);

    // Everything left, as between `min` and `max` positionals.
    cimp::Outcome takePositionals(size_t min, size_t max, std::vector<std::string>* positionals);

    // The arguments not taken yet.
    const std::vector<std::string>& remaining() const { return args_; }

  private:
    std::vector<std::string> args_;
};

}  // namespace cimpcli

#endif

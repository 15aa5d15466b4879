// Test assertion: runs an action and checks that it throws a cimmof::MofError at an exact place
// whose message contains a given text, so error-location tables read one row per case.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "cimom/mof/mof_error.h"

namespace mofassert {

template <class Action>
::testing::AssertionResult failsAt(Action&& action, const std::string& file, int line, int column,
                                   const std::string& message) {
    try {
        action();
    } catch (const cimmof::MofError& e) {
        if (e.file == file && e.line == line && e.column == column &&
            e.detail.find(message) != std::string::npos) {
            return ::testing::AssertionSuccess();
        }
        return ::testing::AssertionFailure()
               << "got \"" << e.what() << "\", wanted " << file << ":" << line << ":" << column
               << " with \"" << message << "\"";
    }
    return ::testing::AssertionFailure() << "no MofError thrown";
}

}  // namespace mofassert

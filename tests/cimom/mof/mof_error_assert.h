// Test assertions for the MOF readers: that a read fails at an exact place with a message
// containing a given text, so error-location tables read one row per case; and the value of a
// read that must succeed.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "base/outcome.h"
#include "cimom/mof/mof_reader.h"
#include "cimom/mof/schema.h"

namespace mofassert {

// `read` returns the reader's Outcome.
template <class Read>
::testing::AssertionResult failsAt(Read&& read, const std::string& file, int line, int column,
                                   const std::string& message) {
    const cimp::Outcome outcome = read();
    const std::string place =
        line <= 0 ? file : file + ":" + std::to_string(line) + ":" + std::to_string(column);
    if (outcome.ok()) {
        return ::testing::AssertionFailure() << "read did not fail";
    }
    if (outcome.what() == place && outcome.why().find(message) != std::string::npos) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "got \"" << outcome.message() << "\", wanted " << place
                                         << " with \"" << message << "\"";
}

// The value `read` fills in through its pointer; the test fails when the read does.
template <class Value, class Read>
Value mustRead(Read&& read) {
    Value value;
    const cimp::Outcome outcome = read(&value);
    EXPECT_TRUE(outcome.ok()) << outcome.message();
    return value;
}

inline cimmof::Schema schemaFromFile(const std::string& path) {
    return mustRead<cimmof::Schema>([&](auto* out) {
        cimmof::MofDocument doc;
        const cimp::Outcome read = cimmof::readMofFile(path, &doc);
        return read.ok() ? cimmof::Schema::fromDocument(doc, out) : read;
    });
}

inline cimmof::Schema schemaFromText(const std::string& text, const std::string& fileName) {
    return mustRead<cimmof::Schema>(
        [&](auto* out) { return cimmof::Schema::loadString(text, fileName, out); });
}

}  // namespace mofassert

// A fresh broker runtime per test, with one request scope open, and shorthands for the CMPI
// calls the tests repeat.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "broker/broker_runtime.h"
#include "broker/cmpi_read.h"
#include "cmpimacs.h"

namespace cimbroker {

class BrokerTest : public ::testing::Test {
  protected:
    CMPIObjectPath* path(const char* cls, const char* ns = "root/orvcim") {
        CMPIStatus rc{};
        CMPIObjectPath* op = CMNewObjectPath(mb, ns, cls, &rc);
        EXPECT_EQ(rc.rc, CMPI_RC_OK);
        return op;
    }
    CMPIInstance* instance(const CMPIObjectPath* op) {
        CMPIStatus rc{};
        CMPIInstance* inst = CMNewInstance(mb, op, &rc);
        EXPECT_EQ(rc.rc, CMPI_RC_OK);
        return inst;
    }
    static void addChars(CMPIObjectPath* op, const char* name, const char* value) {
        EXPECT_EQ(CMAddKey(op, name, value, CMPI_chars).rc, CMPI_RC_OK);
    }
    static void setChars(CMPIInstance* inst, const char* name, const char* value) {
        EXPECT_EQ(CMSetProperty(inst, name, value, CMPI_chars).rc, CMPI_RC_OK);
    }
    static std::vector<std::string> namesOf(const NamedData& named) {
        std::vector<std::string> names;
        for (const auto& entry : named) {
            names.push_back(entry.first);
        }
        return names;
    }

    Runtime runtime;
    const CMPIBroker* mb = runtime.broker();
    RequestScope scope{runtime};
};

}  // namespace cimbroker

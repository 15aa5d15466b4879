// InstanceQuerySource: a CMPI instance seen by the WQL evaluator. Numbers of every CIM width
// become numbers, strings, char16 and date-times text, booleans booleans; arrays, embedded
// instances and missing properties read as NULL. A dotted name reads a property of an embedded
// instance (SourceInstance.Name). ISA takes the class of the object a reference property refers
// to, or an embedded-instance property embeds, and asks the schema. Reads the instance without
// changing it; use it on the thread that owns it.
#pragma once

#include <string>

#include "cimom/mof/schema.h"
#include "cimom/query/wql_evaluator.h"
#include "cmpidt.h"
#include "cmpift.h"

namespace cimhost {

class InstanceQuerySource : public cimquery::ValueSource {
  public:
    InstanceQuerySource(const CMPIInstance* instance, const cimmof::Schema& classes);

    cimquery::QueryValue value(const std::string& property) const override;
    bool isA(const std::string& property, const std::string& className) const override;

  private:
    CMPIData data(const std::string& property) const;

    const CMPIInstance* instance_;
    const cimmof::Schema& classes_;
};

}  // namespace cimhost

// The parameters each intrinsic method accepts (DSP0200): the form of each one's value, whether
// it is required, how its value is read into an Operation, and the defaults of the flags a
// request leaves out. Pure functions over constant tables; thread-safe.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cimom/cim/operation.h"
#include "cimom/cim/status.h"

namespace cimhost {

// The element a parameter's value is given as.
enum class ValueForm {
    ClassName,     // CLASSNAME
    ObjectName,    // CLASSNAME or INSTANCENAME
    InstanceName,  // INSTANCENAME
    Text,          // VALUE: a string, a boolean or a uint32
    TextArray,     // VALUE.ARRAY
    Instance,      // INSTANCE
    NamedInstance  // VALUE.NAMEDINSTANCE
};

// One parameter value as the request gave it, before the parameter reads it.
struct ParameterValue {
    std::string text;          // of a VALUE, or a CLASSNAME's name
    bool isClassName = false;  // an ObjectName given as a class name
    std::vector<std::string> texts;
    std::optional<ObjectName> name;
    std::optional<InstanceValue> instance;
};

// Reads `value` (null for a NULL parameter) into `op`; an invalid-parameter Status when the
// value is not of the parameter's type.
using ApplyParameter = Status (*)(Operation& op, ParameterValue* value);

struct ParameterRule {
    const char* name;
    ValueForm form;
    ApplyParameter apply;
};

// A parameter as one method takes it; `rule` is null when the method has no such parameter.
struct MethodParameter {
    const ParameterRule* rule = nullptr;
    bool required = false;
};

// The parameter of `kind` called `name` without regard to case.
MethodParameter findParameter(OperationKind kind, std::string_view name);

// No method has more parameters than this, its own and those every open operation takes.
constexpr std::size_t kMaxParametersOfOneMethod = 16;

// The parameters one call has given, each found by findParameter for its method.
class GivenParameters {
  public:
    bool contains(const ParameterRule* rule) const;
    void add(const ParameterRule* rule) { rules_[count_++] = rule; }

  private:
    std::array<const ParameterRule*, kMaxParametersOfOneMethod> rules_{};
    std::size_t count_ = 0;
};

// The first parameter `kind` requires that is not among `given`; null when none is missing.
const ParameterRule* missingParameter(OperationKind kind, const GivenParameters& given);

// Sets the flags of `op` to the defaults DSP0200 gives its method.
void applyDefaults(Operation& op);

}  // namespace cimhost

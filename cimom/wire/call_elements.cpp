#include "cimom/wire/call_elements.h"

#include <string>

#include "cimom/wire/name_elements.h"
#include "cimom/wire/required_children.h"
#include "cimom/wire/value_elements.h"

namespace cimhost {
namespace {

constexpr unsigned kNamespaceSeen = 1;

// Ranks of an IPARAMVALUE's checks: its name (0), its number of values (kCountRank), then its
// value.
constexpr int kValueRank = 2;

// How the value of a parameter of `form` is read, given its element's name.
ChildPlan valuePlan(ParameterValue& value, ValueForm form, std::string_view name) {
    switch (form) {
        case ValueForm::ObjectName:
            value.isClassName = name == "CLASSNAME";
            return value.isClassName ? valuePlan(value, ValueForm::ClassName, name)
                                     : valuePlan(value, ValueForm::InstanceName, name);
        case ValueForm::ClassName:
            return {&kClassNameElement, &value.text, kValueRank};
        case ValueForm::InstanceName:
            return {&kInstanceNameElement, &value.name.emplace(), kValueRank};
        case ValueForm::Text:
            return {&kTextElement, &value.text, kValueRank};
        case ValueForm::TextArray:
            return {&kTextArrayElement, &value.texts, kValueRank};
        case ValueForm::Instance:
            return {&kInstanceElement, &value.instance.emplace(), kValueRank};
        case ValueForm::NamedInstance:
            return {&kNamedInstanceElement, &value, kValueRank};
    }
    return {};
}

class Parameter final : public ElementRole {
  public:
    void open(DecodeState& state, Frame& frame, std::string_view,
              const XmlAttributes& attributes) const override {
        const char* name = requiredAttribute(state, frame, attributes, "NAME");
        if (name == nullptr) {
            return;
        }
        const MethodParameter parameter = findParameter(state.op.kind, name);
        if (parameter.rule == nullptr) {
            frame.fail(0, badParameter(state.op.method + " has no parameter " + name));
            return;
        }
        if (state.given.contains(parameter.rule)) {
            frame.fail(0, badParameter("parameter " + std::string(name) + " given twice"));
            return;
        }
        state.given.add(parameter.rule);
        state.parameter = parameter;
        state.parameterName = name;
        state.value = ParameterValue();
    }
    ChildPlan child(DecodeState& state, Frame& frame, std::string_view name) const override {
        if (frame.children == 2) {
            frame.fail(kCountRank, badParameter("parameter " + state.parameterName +
                                                " holds more than one value"));
        }
        const bool readable = frame.children == 1 && !frame.fault;
        return readable ? valuePlan(state.value, state.parameter.rule->form, name) : ChildPlan();
    }
    void close(DecodeState& state, Frame& frame) const override {
        if (frame.failedAtOrBelow(kValueRank - 1)) {
            return;
        }
        const ParameterRule& rule = *state.parameter.rule;
        if (frame.children == 0 && state.parameter.required) {
            frame.fail(kCountRank,
                       badParameter("parameter " + state.parameterName + " must not be NULL"));
            return;
        }
        // A named instance whose instance was refused still gives its name.
        if (frame.fault && rule.form != ValueForm::NamedInstance) {
            return;
        }
        const Status status = rule.apply(state.op, frame.children == 0 ? nullptr : &state.value);
        if (!status.isOk()) {
            frame.fail(kValueRank, Fault{std::nullopt, status});
        }
    }
};
const Parameter kParameter;

// Ranks of an IMETHODCALL's checks: its name (0), its namespace (1), whether its method is
// supported (2), its parameters (3), then whether the required ones were all given (4).
constexpr int kNamespaceRank = 1;
constexpr int kSupportRank = 2;
constexpr int kParametersRank = 3;
constexpr int kRequiredRank = 4;

class IntrinsicCall final : public ElementRole {
  public:
    void open(DecodeState& state, Frame& frame, std::string_view,
              const XmlAttributes& attributes) const override {
        const char* method = requiredAttribute(state, frame, attributes, "NAME");
        if (method == nullptr) {
            return;
        }
        Operation& op = state.op;
        op.method = method;
        op.kind = operationKindFromName(op.method);
        if (op.kind == OperationKind::Unsupported) {
            frame.fail(kSupportRank,
                       Fault{std::nullopt, Status::notSupported("intrinsic method " + op.method +
                                                                " is not supported")});
            return;
        }
        applyDefaults(op);
    }
    ChildPlan child(DecodeState& state, Frame& frame, std::string_view name) const override {
        if (name == "LOCALNAMESPACEPATH") {
            return frame.firstOf(kNamespaceSeen)
                       ? ChildPlan{&kLocalNamespacePathElement, &state.op.nameSpace, kNamespaceRank}
                       : ChildPlan();
        }
        if (name != "IPARAMVALUE") {
            frame.fail(kParametersRank, notValid("IMETHODCALL holds " + std::string(name)));
            return {};
        }
        return {&kParameter, {}, kParametersRank};
    }
    void close(DecodeState& state, Frame& frame) const override {
        requireChild(state, frame, kNamespaceSeen, "LOCALNAMESPACEPATH", kNamespaceRank);
        if (frame.failedAtOrBelow(kRequiredRank)) {
            return;
        }
        if (const ParameterRule* missing = missingParameter(state.op.kind, state.given)) {
            frame.fail(kRequiredRank,
                       badParameter(state.op.method + " needs parameter " + missing->name));
        }
    }
};
const IntrinsicCall kIntrinsicCall;

// LOCALINSTANCEPATH or LOCALCLASSPATH of a METHODCALL: only its namespace is read.
const RequiredChildren<1> kExtrinsicTarget(std::array<RequiredChild, 1>{
    RequiredChild{"LOCALNAMESPACEPATH", &kLocalNamespacePathElement, 0, sameTarget},
});

// METHODCALL: its name and the namespaces of its paths (rank 0) are checked before the call is
// refused (rank 1).
class ExtrinsicCall final : public ElementRole {
  public:
    void open(DecodeState& state, Frame& frame, std::string_view,
              const XmlAttributes& attributes) const override {
        if (const char* method = requiredAttribute(state, frame, attributes, "NAME")) {
            state.op.method = method;
            state.op.extrinsic = true;
        }
    }
    ChildPlan child(DecodeState& state, Frame&, std::string_view name) const override {
        if (name == "LOCALINSTANCEPATH" || name == "LOCALCLASSPATH") {
            return {&kExtrinsicTarget, &state.op.nameSpace, 0};
        }
        return {};
    }
    void close(DecodeState& state, Frame& frame) const override {
        frame.fail(1,
                   Fault{std::nullopt, Status::notSupported("extrinsic method " + state.op.method +
                                                            " is not supported")});
    }
};
const ExtrinsicCall kExtrinsicCall;

}  // namespace

const ElementRole& kIntrinsicCallElement = kIntrinsicCall;
const ElementRole& kExtrinsicCallElement = kExtrinsicCall;

}  // namespace cimhost

#include "cimom/wire/value_elements.h"

#include <memory>
#include <string>

#include "cimom/wire/name_elements.h"
#include "cimom/wire/required_children.h"

namespace cimhost {
namespace {

class ClassName final : public ElementRole {
  public:
    void open(DecodeState& state, Frame& frame, std::string_view name,
              const XmlAttributes& attributes) const override {
        if (!isElement(frame, name, "CLASSNAME", "a class name")) {
            return;
        }
        if (const char* className = requiredAttribute(state, frame, attributes, "NAME")) {
            *frame.as<std::string>() = className;
        }
    }
};
const ClassName kClassName;

class Text final : public ElementRole {
  public:
    void open(DecodeState&, Frame& frame, std::string_view name,
              const XmlAttributes&) const override {
        isElement(frame, name, "VALUE", "a VALUE");
    }
    void text(Frame& frame, std::string_view piece) const override {
        *frame.as<std::string>() += piece;
    }
};
const Text kText;

class TextArray final : public ElementRole {
  public:
    void open(DecodeState&, Frame& frame, std::string_view name,
              const XmlAttributes&) const override {
        isElement(frame, name, "VALUE.ARRAY", "a VALUE.ARRAY");
    }
    ChildPlan child(DecodeState&, Frame& frame, std::string_view) const override {
        return {&kText, &frame.as<std::vector<std::string>>()->emplace_back(), 0};
    }
};
const TextArray kTextArray;

// PROPERTY, PROPERTY.ARRAY or PROPERTY.REFERENCE. Its value is its last child unless that is a
// QUALIFIER; each child read replaces the one before, with any fault found in it (rank 1).
class Property final : public ElementRole {
  public:
    void open(DecodeState& state, Frame& frame, std::string_view name,
              const XmlAttributes& attributes) const override {
        PropertyValue& property = *frame.as<PropertyValue>();
        property.isNull = true;
        const char* propertyName = requiredAttribute(state, frame, attributes, "NAME");
        if (propertyName == nullptr) {
            return;
        }
        property.name = propertyName;
        if (name == "PROPERTY.REFERENCE") {
            property.type = "reference";
            return;
        }
        if (const char* type = requiredAttribute(state, frame, attributes, "TYPE")) {
            property.type = type;
            property.isArray = name == "PROPERTY.ARRAY";
        }
    }
    ChildPlan child(DecodeState& state, Frame& frame, std::string_view name) const override {
        PropertyValue& property = *frame.as<PropertyValue>();
        if (frame.fault && frame.faultRank == 1) {
            frame.fault.reset();
        }
        property.values.clear();
        property.reference.reset();
        property.isNull = name == "QUALIFIER";
        if (property.isNull) {
            return {};
        }
        const std::string_view element = state.nameOf(frame);
        if (element == "PROPERTY.REFERENCE") {
            auto reference = std::make_shared<ObjectName>();
            property.reference = reference;
            return {&kValueReferenceElement, reference.get(), 1};
        }
        if (element == "PROPERTY.ARRAY") {
            return {&kTextArray, &property.values, 1};
        }
        return {&kText, &property.values.emplace_back(), 1};
    }
};
const Property kProperty;

class Instance final : public ElementRole {
  public:
    void open(DecodeState& state, Frame& frame, std::string_view name,
              const XmlAttributes& attributes) const override {
        if (!isElement(frame, name, "INSTANCE", "an INSTANCE")) {
            return;
        }
        if (const char* className = requiredAttribute(state, frame, attributes, "CLASSNAME")) {
            frame.as<InstanceValue>()->className = className;
        }
    }
    ChildPlan child(DecodeState&, Frame& frame, std::string_view name) const override {
        if (name == "PROPERTY" || name == "PROPERTY.ARRAY" || name == "PROPERTY.REFERENCE") {
            return {&kProperty, &frame.as<InstanceValue>()->properties.emplace_back(), 0};
        }
        if (name != "QUALIFIER") {
            frame.fail(0, notValid("INSTANCE holds " + std::string(name)));
        }
        return {};
    }
};
const Instance kInstance;

Target nameOfValue(const Frame& parent) {
    return &parent.as<ParameterValue>()->name.emplace();
}
Target instanceOfValue(const Frame& parent) {
    return &parent.as<ParameterValue>()->instance.emplace();
}

// VALUE.NAMEDINSTANCE: its INSTANCENAME (rank 1), then its INSTANCE (rank 2). A refused part is
// dropped from the ParameterValue; the name stays when only the instance was refused.
class NamedInstance final : public RequiredChildren<2> {
  public:
    NamedInstance()
        : RequiredChildren<2>({{
              {"INSTANCENAME", &kInstanceNameElement, 1, nameOfValue},
              {"INSTANCE", &kInstance, 2, instanceOfValue},
          }}) {}

    void open(DecodeState&, Frame& frame, std::string_view name,
              const XmlAttributes&) const override {
        isElement(frame, name, "VALUE.NAMEDINSTANCE", "a VALUE.NAMEDINSTANCE");
    }
    void close(DecodeState& state, Frame& frame) const override {
        RequiredChildren<2>::close(state, frame);
        ParameterValue& value = *frame.as<ParameterValue>();
        if (frame.failedAtOrBelow(1)) {
            value.name.reset();
        }
        if (frame.fault) {
            value.instance.reset();
        }
    }
};
const NamedInstance kNamedInstance;

}  // namespace

const ElementRole& kClassNameElement = kClassName;
const ElementRole& kTextElement = kText;
const ElementRole& kTextArrayElement = kTextArray;
const ElementRole& kInstanceElement = kInstance;
const ElementRole& kNamedInstanceElement = kNamedInstance;

}  // namespace cimhost

#include "cimom/wire/name_elements.h"

#include <memory>
#include <string>

#include "base/text.h"
#include "cimom/wire/request_parameters.h"
#include "cimom/wire/required_children.h"

namespace cimhost {
namespace {

class Namespace final : public ElementRole {
  public:
    void open(DecodeState& state, Frame& frame, std::string_view,
              const XmlAttributes& attributes) const override {
        if (const char* name = requiredAttribute(state, frame, attributes, "NAME")) {
            std::string& joined = *frame.as<std::string>();
            if (!joined.empty()) {
                joined += '/';
            }
            joined += name;
        }
    }
};
const Namespace kNamespace;

class LocalNamespacePath final : public ElementRole {
  public:
    void open(DecodeState&, Frame& frame, std::string_view, const XmlAttributes&) const override {
        frame.as<std::string>()->clear();
    }
    ChildPlan child(DecodeState&, Frame& frame, std::string_view name) const override {
        if (name != "NAMESPACE") {
            frame.fail(0, notValid("LOCALNAMESPACEPATH holds " + std::string(name)));
            return {};
        }
        return {&kNamespace, frame.target, 0};
    }
    void close(DecodeState&, Frame& frame) const override {
        if (frame.as<std::string>()->empty()) {
            frame.fail(0, notValid("LOCALNAMESPACEPATH names no namespace"));
        }
    }
};
const LocalNamespacePath kLocalNamespacePath;

class KeyValueElement final : public ElementRole {
  public:
    void open(DecodeState&, Frame& frame, std::string_view,
              const XmlAttributes& attributes) const override {
        const char* declared = attributes.find("VALUETYPE");
        const std::string_view type = declared == nullptr ? "string" : declared;
        KeyValue& value = *frame.as<KeyValue>();
        if (type == "string") {
            value.type = KeyValue::Type::String;
        } else if (type == "boolean") {
            value.type = KeyValue::Type::Boolean;
        } else if (type == "numeric") {
            value.type = KeyValue::Type::Numeric;
        } else {
            frame.fail(0, notValid("KEYVALUE has VALUETYPE \"" + std::string(type) + "\""));
        }
    }
    void text(Frame& frame, std::string_view piece) const override {
        frame.as<KeyValue>()->text += piece;
    }
    void close(DecodeState&, Frame& frame) const override {
        KeyValue& value = *frame.as<KeyValue>();
        // Read as it comes, trimmed at the end unless a string, like HOST.
        if (value.type != KeyValue::Type::String) {
            value.text = cimp::trimmed(value.text);
        }
    }
};
const KeyValueElement kKeyValue;

class KeyBindingElement final : public ElementRole {
  public:
    void open(DecodeState& state, Frame& frame, std::string_view,
              const XmlAttributes& attributes) const override {
        if (const char* name = requiredAttribute(state, frame, attributes, "NAME")) {
            frame.as<KeyBinding>()->name = name;
        }
    }
    ChildPlan child(DecodeState& state, Frame& frame, std::string_view name) const override {
        if (!onlyChildSoFar(state, frame)) {
            return {};
        }
        KeyValue& value = frame.as<KeyBinding>()->value;
        if (name == "KEYVALUE") {
            return {&kKeyValue, &value, 2};
        }
        if (name == "VALUE.REFERENCE") {
            auto reference = std::make_shared<ObjectName>();
            value.type = KeyValue::Type::Reference;
            value.reference = reference;
            return {&kValueReferenceElement, reference.get(), 2};
        }
        frame.fail(2, notValid("KEYBINDING holds " + std::string(name)));
        return {};
    }
    void close(DecodeState& state, Frame& frame) const override { requireOneChild(state, frame); }
};
const KeyBindingElement kKeyBinding;

class InstanceName final : public ElementRole {
  public:
    void open(DecodeState& state, Frame& frame, std::string_view name,
              const XmlAttributes& attributes) const override {
        if (!isElement(frame, name, "INSTANCENAME", "an instance name")) {
            return;
        }
        if (const char* className = requiredAttribute(state, frame, attributes, "CLASSNAME")) {
            frame.as<ObjectName>()->className = className;
        }
    }
    ChildPlan child(DecodeState&, Frame& frame, std::string_view name) const override {
        if (name != "KEYBINDING") {
            frame.fail(0, badParameter("instance names are accepted with KEYBINDINGs only"));
            return {};
        }
        return {&kKeyBinding, &frame.as<ObjectName>()->keys.emplace_back(), 0};
    }
};
const InstanceName kInstanceName;

class Host final : public ElementRole {
  public:
    void text(Frame& frame, std::string_view piece) const override {
        *frame.as<std::string>() += piece;
    }
    void close(DecodeState&, Frame& frame) const override {
        *frame.as<std::string>() = cimp::trimmed(*frame.as<std::string>());
    }
};
const Host kHost;

Target hostOf(const Frame& parent) {
    return &parent.as<ObjectName>()->host;
}
Target nameSpaceOf(const Frame& parent) {
    return &parent.as<ObjectName>()->nameSpace;
}

// NAMESPACEPATH of an INSTANCEPATH: its HOST (rank 0), then its LOCALNAMESPACEPATH (rank 1).
const RequiredChildren<2> kNamespacePath({{
    {"HOST", &kHost, 0, hostOf},
    {"LOCALNAMESPACEPATH", &kLocalNamespacePath, 1, nameSpaceOf},
}});

// INSTANCEPATH: whether it has a NAMESPACEPATH (rank 0), its INSTANCENAME (rank 1), then what
// its NAMESPACEPATH holds (ranks 2 and 3).
const RequiredChildren<2> kInstancePath({{
    {"NAMESPACEPATH", &kNamespacePath, 0, sameTarget, 2},
    {"INSTANCENAME", &kInstanceName, 1, sameTarget},
}});

// LOCALINSTANCEPATH: its INSTANCENAME (rank 0), then its LOCALNAMESPACEPATH (rank 1).
const RequiredChildren<2> kLocalInstancePath({{
    {"INSTANCENAME", &kInstanceName, 0, sameTarget},
    {"LOCALNAMESPACEPATH", &kLocalNamespacePath, 1, nameSpaceOf},
}});

const OneChildOf<3> kValueReference({{{"INSTANCENAME", &kInstanceName},
                                      {"LOCALINSTANCEPATH", &kLocalInstancePath},
                                      {"INSTANCEPATH", &kInstancePath}}},
                                    2, 2, [](std::string_view name) {
                                        return badParameter("a reference to " + std::string(name) +
                                                            " does not name an instance");
                                    });

}  // namespace

const ElementRole& kLocalNamespacePathElement = kLocalNamespacePath;
const ElementRole& kInstanceNameElement = kInstanceName;
const ElementRole& kValueReferenceElement = kValueReference;

}  // namespace cimhost

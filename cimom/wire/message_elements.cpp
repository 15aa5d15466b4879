#include "cimom/wire/message_elements.h"

#include <string>

#include "cimom/wire/call_elements.h"
#include "cimom/wire/required_children.h"

namespace cimhost {
namespace {

// Ranks of an envelope element's checks: its attributes, then its single child's name (after
// the count, rank 1), then what the child holds.
constexpr int kChildNameRank = 2;
constexpr int kChildRank = 3;

bool versionIs(std::string_view version, std::string_view major) {
    return version.substr(0, major.size()) == major;
}

// A required version attribute of major version `major`; false, with the fault, otherwise.
bool hasVersion(const DecodeState& state, Frame& frame, const XmlAttributes& attributes,
                const char* name, const char* major, const char* cimError) {
    const char* version = requiredAttribute(state, frame, attributes, name);
    if (version != nullptr && !versionIs(version, major)) {
        frame.fail(0, Fault{ProtocolError{cimError, std::string(name) + " is not " + major + "x"},
                            Status()});
        return false;
    }
    return version != nullptr;
}

const OneChildOf<2> kSimpleRequest({{{"IMETHODCALL", &kIntrinsicCallElement},
                                     {"METHODCALL", &kExtrinsicCallElement}}},
                                   kChildRank, kChildNameRank, [](std::string_view name) {
                                       return notValid("SIMPLEREQ holds " + std::string(name));
                                   });

Fault refuseInMessage(std::string_view name) {
    if (name == "MULTIREQ") {
        return Fault{ProtocolError{"multiple-requests-unsupported", "MULTIREQ is not supported"},
                     Status()};
    }
    return notValid("MESSAGE holds " + std::string(name) + ", not a request");
}

class Message final : public OneChildOf<1> {
  public:
    Message()
        : OneChildOf({{{"SIMPLEREQ", &kSimpleRequest}}}, kChildRank, kChildNameRank,
                     refuseInMessage) {}
    void open(DecodeState& state, Frame& frame, std::string_view,
              const XmlAttributes& attributes) const override {
        const char* id = requiredAttribute(state, frame, attributes, "ID");
        if (id != nullptr) {
            state.op.messageId = id;
            hasVersion(state, frame, attributes, "PROTOCOLVERSION", "1.",
                       "unsupported-protocol-version");
        }
    }
};
const Message kMessage;

class Cim final : public OneChildOf<1> {
  public:
    Cim()
        : OneChildOf({{{"MESSAGE", &kMessage}}}, kChildRank, kChildNameRank,
                     [](std::string_view name) {
                         return notValid("CIM holds " + std::string(name) + ", not MESSAGE");
                     }) {}
    void open(DecodeState& state, Frame& frame, std::string_view,
              const XmlAttributes& attributes) const override {
        if (hasVersion(state, frame, attributes, "CIMVERSION", "2.", "unsupported-cim-version")) {
            hasVersion(state, frame, attributes, "DTDVERSION", "2.", "unsupported-dtd-version");
        }
    }
};
const Cim kCim;

class Document final : public ElementRole {
  public:
    ChildPlan child(DecodeState&, Frame& frame, std::string_view name) const override {
        if (name != "CIM") {
            frame.fail(0, notValid("the root element is " + std::string(name) + ", not CIM"));
            return {};
        }
        return {&kCim, {}, 0};
    }
};
const Document kDocument;

}  // namespace

const ElementRole& kDocumentElement = kDocument;

}  // namespace cimhost

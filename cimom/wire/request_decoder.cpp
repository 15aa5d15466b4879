#include "cimom/wire/request_decoder.h"

#include <utility>

#include "cimom/wire/decode_state.h"
#include "cimom/wire/message_elements.h"
#include "cimom/wire/xml_event_reader.h"

namespace cimhost {
namespace {

// An element nobody reads, with all it holds.
class Ignored final : public ElementRole {};
const Ignored kIgnored;

class RequestReader final : public XmlEventHandler {
  public:
    RequestReader() : state_(kDocumentElement) {}

    void startElement(std::string_view name, const XmlAttributes& attributes) override {
        Frame& parent = state_.top();
        ++parent.children;
        ChildPlan plan = parent.role->child(state_, parent, name);
        if (plan.role == nullptr || parent.failedAtOrBelow(plan.rank)) {
            plan = ChildPlan{&kIgnored, {}, 0};
        }
        state_.push(plan, name);
        Frame& frame = state_.top();
        frame.role->open(state_, frame, name, attributes);
    }
    void endElement() override { state_.pop(); }
    void text(std::string_view piece) override {
        Frame& frame = state_.top();
        frame.role->text(frame, piece);
    }

    DecodedRequest finish() && {
        DecodedRequest decoded;
        decoded.operation = std::move(state_.op);
        if (const std::optional<Fault>& fault = state_.bottom().fault) {
            decoded.protocolError = fault->protocolError;
            decoded.status = fault->status;
        }
        return decoded;
    }

  private:
    DecodeState state_;
};

}  // namespace

DecodedRequest decodeRequest(std::string_view body) {
    RequestReader reader;
    const XmlReadResult read = readXml(body, reader);
    if (!read.ok) {
        DecodedRequest refused;
        refused.protocolError = ProtocolError{"request-not-well-formed", read.error};
        return refused;
    }
    return std::move(reader).finish();
}

}  // namespace cimhost

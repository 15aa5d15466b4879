#include "cimom/wire/decode_state.h"

#include <utility>

namespace cimhost {
namespace {

// Requests nest about a dozen deep; deeper ones grow the stack.
constexpr std::size_t kUsualDepth = 16;
constexpr std::size_t kUsualNames = 256;

}  // namespace

Fault notValid(std::string message) {
    return Fault{ProtocolError{"request-not-valid", std::move(message)}, Status()};
}

Fault badParameter(std::string message) {
    return Fault{std::nullopt, Status::invalidParameter(std::move(message))};
}

void Frame::fail(int rank, Fault why) {
    if (!failedAtOrBelow(rank)) {
        fault = std::move(why);
        faultRank = rank;
    }
}

bool Frame::firstOf(unsigned bit) {
    const bool first = (seen & bit) == 0;
    seen |= bit;
    return first;
}

DecodeState::DecodeState(const ElementRole& document) {
    frames_.reserve(kUsualDepth);
    names_.reserve(kUsualNames);
    frames_.emplace_back();
    frames_.back().role = &document;
}

std::string_view DecodeState::nameOf(const Frame& frame) const {
    const Frame* next = &frame + 1;
    const std::size_t end = next <= &frames_.back() ? next->nameOffset : names_.size();
    return std::string_view(names_).substr(frame.nameOffset, end - frame.nameOffset);
}

void DecodeState::push(const ChildPlan& plan, std::string_view name) {
    Frame& frame = frames_.emplace_back();
    frame.role = plan.role;
    frame.target = plan.target;
    frame.rankInParent = plan.rank;
    frame.addsOwnRank = plan.addsOwnRank;
    frame.nameOffset = names_.size();
    names_ += name;
}

void DecodeState::pop() {
    Frame& closing = frames_.back();
    closing.role->close(*this, closing);
    std::optional<Fault> fault = std::move(closing.fault);
    const int rank = closing.rankInParent + (closing.addsOwnRank ? closing.faultRank : 0);
    names_.resize(closing.nameOffset);
    frames_.pop_back();
    if (fault) {
        frames_.back().fail(rank, std::move(*fault));
    }
}

const char* requiredAttribute(const DecodeState& state, Frame& frame,
                              const XmlAttributes& attributes, const char* name) {
    const char* value = attributes.find(name);
    if (value == nullptr) {
        frame.fail(0, notValid(std::string(state.nameOf(frame)) + " lacks attribute " + name));
    }
    return value;
}

bool isElement(Frame& frame, std::string_view name, const char* expected, const char* what) {
    if (name != expected) {
        frame.fail(0, badParameter(std::string("expected ") + what + ", got " + std::string(name)));
        return false;
    }
    return true;
}

bool onlyChildSoFar(const DecodeState& state, Frame& frame) {
    requireOneChild(state, frame);
    return frame.children == 1;
}

// A second child is a fault as it comes, no child one at the close.
void requireOneChild(const DecodeState& state, Frame& frame) {
    if (frame.children == 0 || frame.children == 2) {
        frame.fail(kCountRank,
                   notValid(std::string(state.nameOf(frame)) + " must hold exactly one element"));
    }
}

void requireChild(const DecodeState& state, Frame& frame, unsigned bit, const char* child,
                  int rank) {
    if ((frame.seen & bit) == 0) {
        frame.fail(rank, notValid(std::string(state.nameOf(frame)) + " lacks element " + child));
    }
}

}  // namespace cimhost

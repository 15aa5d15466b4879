// What the request decoder keeps while a CIM-XML body streams past: the Operation it fills, the
// parameter being read, and one Frame per open element, which knows how its element is read
// (its ElementRole), what it fills, and the first fault found in it.
//
// Faults are ranked so that a request is judged as if it were read top-down, each element's own
// checks (attributes, number of children, required children) before what is inside them: a
// frame keeps the fault of lowest rank, the first of equal rank, and a child whose fault could
// not win is not read at all. So one body always gets the same answer, whatever order its
// elements come in.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "cimom/cim/operation.h"
#include "cimom/cim/status.h"
#include "cimom/wire/request_decoder.h"
#include "cimom/wire/request_parameters.h"
#include "cimom/wire/xml_event_reader.h"

namespace cimhost {

// Why a request is refused: a protocol error (HTTP 400) or a CIM error.
struct Fault {
    std::optional<ProtocolError> protocolError;
    Status status;
};

// The message breaks the CIM-XML DTD: HTTP 400, request-not-valid.
Fault notValid(std::string message);
// A parameter value is missing, repeated, unknown or of the wrong form.
Fault badParameter(std::string message);

// The part of the request an element is read into.
using Target =
    std::variant<std::monostate, std::string*, std::vector<std::string>*, ObjectName*, KeyBinding*,
                 KeyValue*, InstanceValue*, PropertyValue*, ParameterValue*>;

class DecodeState;
class ElementRole;

// Rank of the checks on how many children an element has, after its attributes (rank 0).
constexpr int kCountRank = 1;

// How a parent reads a child element.
struct ChildPlan {
    const ElementRole* role = nullptr;  // null: the child and all inside it are ignored
    Target target;
    int rank = 0;  // of the child's fault among the parent's checks
    // The child's fault adds its own rank, for a child whose checks interleave with its siblings'.
    bool addsOwnRank = false;
};

struct Frame {
    const ElementRole* role = nullptr;
    Target target;
    int rankInParent = 0;
    bool addsOwnRank = false;
    std::size_t nameOffset = 0;  // of the element's name in DecodeState's names
    std::size_t children = 0;
    unsigned seen = 0;  // which of the children its role reads once it has seen
    std::optional<Fault> fault;
    int faultRank = 0;

    template <class T>
    T* as() const {
        return std::get<T*>(target);
    }
    // Records `why` unless the frame holds a fault of lower or equal rank already.
    void fail(int rank, Fault why);
    bool failedAtOrBelow(int rank) const { return fault.has_value() && faultRank <= rank; }
    // True the first time `bit` is asked for.
    bool firstOf(unsigned bit);
};

// Reads one element kind. Stateless: what one element needs is in its Frame.
class ElementRole {
  public:
    virtual ChildPlan child(DecodeState&, Frame&, std::string_view) const { return {}; }
    virtual void open(DecodeState&, Frame&, std::string_view, const XmlAttributes&) const {}
    virtual void text(Frame&, std::string_view) const {}
    virtual void close(DecodeState&, Frame&) const {}

  protected:
    ~ElementRole() = default;
};

class DecodeState {
  public:
    explicit DecodeState(const ElementRole& document);

    Operation op;
    ParameterValue value;  // of the IPARAMVALUE being read
    MethodParameter parameter;
    std::string parameterName;  // as the request spelled it
    GivenParameters given;

    Frame& top() { return frames_.back(); }
    const Frame& bottom() const { return frames_.front(); }
    std::string_view nameOf(const Frame& frame) const;

    void push(const ChildPlan& plan, std::string_view name);
    // Closes the innermost element and hands its fault to its parent.
    void pop();

  private:
    std::vector<Frame> frames_;
    std::string names_;
};

// Element checks most roles share; each records its fault in `frame` and says whether all was well.
const char* requiredAttribute(const DecodeState& state, Frame& frame,
                              const XmlAttributes& attributes, const char* name);
bool isElement(Frame& frame, std::string_view name, const char* expected, const char* what);
// Counts toward "exactly one child" (kCountRank): true for the first child, a fault from the
// second.
bool onlyChildSoFar(const DecodeState& state, Frame& frame);
void requireOneChild(const DecodeState& state, Frame& frame);
void requireChild(const DecodeState& state, Frame& frame, unsigned bit, const char* child,
                  int rank);

}  // namespace cimhost

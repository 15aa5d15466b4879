#include "broker/broker_runtime.h"

#include "broker/array_object.h"
#include "broker/broker_factories.h"
#include "broker/broker_os.h"
#include "broker/broker_upcalls.h"
#include "broker/caller_owned.h"
#include "broker/entry_list_objects.h"
#include "broker/enumeration_object.h"
#include "broker/result_object.h"
#include "broker/runtime_state.h"
#include "broker/select_exp_object.h"
#include "broker/service_call.h"

namespace cimbroker {

RuntimeState::RuntimeState()
    : broker{this, upcallFunctionTable(), factoryFunctionTable(), osFunctionTable()},
      hierarchy(std::make_shared<const ClassHierarchy>()) {}

RuntimeState* RuntimeState::from(const CMPIBroker* broker) {
    if (broker == nullptr || broker->eft != factoryFunctionTable()) {
        return nullptr;
    }
    return static_cast<RuntimeState*>(broker->hdl);
}

bool RuntimeState::classIsA(std::string_view cls, std::string_view ancestor) const {
    return std::atomic_load(&hierarchy)->isA(cls, ancestor);
}

void RuntimeState::replaceHierarchy(ClassHierarchy replacement) {
    std::atomic_store(&hierarchy, std::make_shared<const ClassHierarchy>(std::move(replacement)));
}

Runtime::Runtime() {
    prepareCallerOwnedRegistry();
    state_ = std::make_unique<RuntimeState>();
}

Runtime::~Runtime() {
    reclaimClonesOf(*state_);
}

const CMPIBroker* Runtime::broker() const {
    return &state_->broker;
}

void Runtime::setClassHierarchy(ClassHierarchy hierarchy) {
    state_->replaceHierarchy(std::move(hierarchy));
}

void Runtime::setIndicationSink(IndicationSink* sink) {
    state_->indicationSink.store(sink, std::memory_order_release);
}

void Runtime::echoDiagnostics(bool on) {
    state_->echoDiagnostics.store(on, std::memory_order_relaxed);
}

size_t Runtime::liveObjects() const {
    return state_->liveObjects.load(std::memory_order_relaxed);
}

CMPIEnumeration* Runtime::newEnumeration(const CMPIArray* items, CMPIStatus* rc) const {
    const ArrayObject* array = ArrayObject::from(items, *state_);
    if (array == nullptr ||
        (array->elementType() != CMPI_ref && array->elementType() != CMPI_instance)) {
        report(rc,
               errorStatus(*state_, CMPI_RC_ERR_INVALID_PARAMETER,
                           "newEnumeration: not an array of paths or instances of this runtime"));
        return nullptr;
    }
    report(rc, okStatus());
    return makeInArena<EnumerationObject>(*state_, array->cloneArray()).cmpi();
}

class RequestScope::Impl {
  public:
    explicit Impl(RuntimeState& runtime) : context(runtime), frame{&runtime, &arena, nullptr} {
        enterScope(frame);
    }
    ~Impl() { leaveScope(frame); }

    ContextObject context;
    Arena arena{Arena::Users::OneThread};
    ScopeFrame frame;
};

RequestScope::RequestScope(Runtime& runtime) : impl_(std::make_unique<Impl>(*runtime.state_)) {}

RequestScope::~RequestScope() = default;

const CMPIContext* RequestScope::context() {
    return impl_->context.cmpi();
}

size_t RequestScope::liveObjects() const {
    return impl_->arena.size();
}

Result::Result(Runtime& runtime) : object_(std::make_unique<ResultObject>(*runtime.state_)) {}

Result::~Result() = default;

const CMPIResult* Result::cmpi() const {
    return object_->cmpi();
}

const std::vector<const CMPIInstance*>& Result::instances() const {
    return object_->instances();
}

const std::vector<const CMPIObjectPath*>& Result::objectPaths() const {
    return object_->objectPaths();
}

const std::vector<CMPIData>& Result::data() const {
    return object_->data();
}

int Result::doneCount() const {
    return object_->doneCount();
}

// The language is the host's concern: it evaluates filters itself.
SelectExpression::SelectExpression(Runtime& runtime, std::string query, std::string)
    : object_(std::make_unique<SelectExpObject>(*runtime.state_, std::move(query))) {}

SelectExpression::~SelectExpression() = default;

const CMPISelectExp* SelectExpression::cmpi() const {
    return object_->cmpi();
}

}  // namespace cimbroker

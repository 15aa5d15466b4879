// The CMPI 1.0 broker runtime shared by the tests and the embedded CIMOM: a complete CMPIBroker
// (CMPIBrokerFT, CMPIBrokerEncFT, CMPIBrokerExtFT) and the encapsulated objects it makes.
//
// Ownership: every object the broker makes belongs to the RequestScope that is current on the
// calling thread (the newest scope of the same Runtime) and is freed when that scope ends; on a
// provider's own thread, to its attachment (attachThread .. detachThread), freed at detach. Objects
// made on a thread with neither go to the Runtime's fallback arena, freed with the Runtime. `clone` returns an object owned by the caller, freed by its `release` (or at the latest
// with the Runtime); `release` on any other object is a no-op that returns CMPI_RC_OK, and the
// release functions never read a handle that is not a live clone. Objects of one Runtime are
// refused (CMPI_RC_ERR_INVALID_HANDLE) where another Runtime would keep a copy of them: as key,
// property or element values, by newInstance and by a Result; strings are taken by their text.
// Values handed out by getters (the CMPIString of a class name, the CMPIData of a key) belong to
// the object they were read from. A Runtime must outlive its scopes, its Results and everything
// made through its broker.
//
// Threads: any number of threads may run requests at once, each inside its own RequestScope. The
// Runtime's shared state (class hierarchy, echo switch) is thread-safe. One CMPI object
// is used by one thread at a time, as CMPI requires.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "broker/class_hierarchy.h"
#include "broker/indication_sink.h"
#include "cmpidt.h"
#include "cmpift.h"

namespace cimbroker {

struct RuntimeState;
class ResultObject;
class SelectExpObject;

class Runtime {
  public:
    Runtime();
    ~Runtime();
    Runtime(const Runtime&) = delete;
    Runtime& operator=(const Runtime&) = delete;

    // The broker handed to a provider's factory functions; valid for the Runtime's lifetime.
    const CMPIBroker* broker() const;

    // Replaces the hierarchy that classPathIsA answers from (empty at start: a class is only
    // itself). Safe while requests run; a request sees the old or the new hierarchy whole.
    void setClassHierarchy(ClassHierarchy hierarchy);

    // Hands every indication a provider delivers (deliverIndication) to `sink`, null for none
    // (deliverIndication then answers not-supported, as at start). The sink must stay alive until
    // it is replaced and no delivery through it is still running: stop the indication providers'
    // threads (disableIndications) before replacing or clearing it.
    void setIndicationSink(IndicationSink* sink);

    // Writes logMessage and trace calls to stderr when on (off at start).
    void echoDiagnostics(bool on);

    // Objects of this Runtime still alive anywhere: arenas, caller-owned clones, Results. The
    // names it keeps for all requests (see NameTable) are its own and not counted.
    size_t liveObjects() const;

    // An enumeration over a clone of `items` (an array of CMPI_ref or CMPI_instance), owned like
    // any broker-made object. Null, with the reason in *rc, when `items` is not such an array.
    CMPIEnumeration* newEnumeration(const CMPIArray* items, CMPIStatus* rc) const;

  private:
    friend class RequestScope;
    friend class Result;
    friend class SelectExpression;
    std::unique_ptr<RuntimeState> state_;
};

// RAII request arena: while alive, and on the thread that made it, every object the Runtime's
// broker makes belongs to it. Scopes nest; the newest one on a thread wins. Create and destroy a
// scope on the same thread.
class RequestScope {
  public:
    explicit RequestScope(Runtime& runtime);
    ~RequestScope();
    RequestScope(const RequestScope&) = delete;
    RequestScope& operator=(const RequestScope&) = delete;

    // The invocation context to pass to the provider; owned by the scope, starts empty.
    const CMPIContext* context();

    // Objects the scope's arena holds now (the context is not counted). Ask on the scope's thread.
    size_t liveObjects() const;

    class Impl;

  private:
    std::unique_ptr<Impl> impl_;
};

// A CMPIResult that collects what a provider returns. Returned instances and paths are kept in
// order, as they were when returned, and live as long as the Result does; one made in a request
// is not copied unless it changes after it was returned. Not thread-safe.
class Result {
  public:
    explicit Result(Runtime& runtime);
    ~Result();
    Result(const Result&) = delete;
    Result& operator=(const Result&) = delete;

    const CMPIResult* cmpi() const;
    const std::vector<const CMPIInstance*>& instances() const;
    const std::vector<const CMPIObjectPath*>& objectPaths() const;
    // Values given to returnData, in order; encapsulated values point at the Result's own clones.
    const std::vector<CMPIData>& data() const;
    int doneCount() const;

  private:
    std::unique_ptr<ResultObject> object_;
};

// A filter's select expression as the host hands it to an indication provider's filter calls:
// getString answers `query`; the rest of CMPISelectExp answers not-supported (the host evaluates
// filters itself). Owned by the host; a provider that keeps it beyond the call keeps a clone.
class SelectExpression {
  public:
    SelectExpression(Runtime& runtime, std::string query, std::string language);
    ~SelectExpression();
    SelectExpression(const SelectExpression&) = delete;
    SelectExpression& operator=(const SelectExpression&) = delete;

    const CMPISelectExp* cmpi() const;

  private:
    std::unique_ptr<SelectExpObject> object_;
};

}  // namespace cimbroker

#include "cimom/indication/provider_activation.h"

#include <algorithm>
#include <map>
#include <mutex>
#include <ostream>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "cimom/cim/status.h"

namespace cimhost {

// One filter's activation for one provider class; in a named namespace because
// ProviderActivation::State, which has external linkage, holds them.
namespace provider_activations {

struct Activation {
    std::shared_ptr<const FilterQuery> filter;  // held, so that no other filter takes its address
    std::string filterName;
    std::unique_ptr<cimbroker::SelectExpression> select;
    bool active = false;  // false: refused or failed, nothing to undo
};

}  // namespace provider_activations

namespace {

using provider_activations::Activation;

// A filter, by the address of its one compiled query, and a class an indication provider serves.
using Pair = std::pair<const FilterQuery*, const ClassBinding*>;

struct Need {
    Pair pair;
    std::shared_ptr<const FilterQuery> filter;
    std::string filterName;
};

// Whether `filter` asks for the indications of `binding`'s class.
bool needs(const FilterQuery& filter, const ClassBinding& binding, const ServedSchemas& schemas) {
    const NamespaceSchema* schema = schemaOf(schemas, binding.nameSpace);
    return schema != nullptr && schema->classes.isA(binding.className, filter.query.className) &&
           takesFrom(filter, schema->nameSpace);
}

}  // namespace

struct ProviderActivation::State {
    State(cimbroker::Runtime& runtime, const ProviderRegistry& providers,
          const SubscriptionStore& store, std::ostream& log)
        : runtime(runtime), providers(providers), store(store), log(log) {}

    std::vector<const Provider*> indicationProviders() const;
    std::vector<Need> needed() const;
    void update();
    void activate(const Pair& pair, Activation& activation, const CMPIContext* context);
    void deactivate(const Pair& pair, Activation& activation, const CMPIContext* context);
    const CMPIObjectPath* classPath(const ClassBinding& binding) const;
    void setIndications(bool enabled);
    // True when the call answered OK; logs the failure otherwise.
    bool succeeded(const CMPIStatus& rc, const Provider& provider, const std::string& what);
    void stop();

    cimbroker::Runtime& runtime;
    const ProviderRegistry& providers;
    const SubscriptionStore& store;
    std::ostream& log;
    std::mutex mutex;  // one change at a time; held across the provider calls
    bool stopped = false;
    std::map<Pair, Activation> activations;
    std::map<const CMPIIndicationMI*, unsigned> activeFilters;
};

std::vector<const Provider*> ProviderActivation::State::indicationProviders() const {
    std::vector<const Provider*> found;
    for (const ClassBinding& binding : providers.bindings()) {
        if (binding.indication &&
            std::find(found.begin(), found.end(), binding.provider) == found.end()) {
            found.push_back(binding.provider);
        }
    }
    return found;
}

// In the order of the subscriptions, each pair once.
std::vector<Need> ProviderActivation::State::needed() const {
    std::vector<Need> found;
    const std::shared_ptr<const SubscriptionStore::Routes> routes =
        store.routes();  // a temporary would die before the loop
    for (const SubscriptionStore::Route& route : *routes) {
        for (const ClassBinding& binding : providers.bindings()) {
            const Pair pair{route.filter.get(), &binding};
            if (binding.indication && needs(*route.filter, binding, store.schemas()) &&
                std::none_of(found.begin(), found.end(),
                             [&](const Need& need) { return need.pair == pair; })) {
                found.push_back(Need{pair, route.filter, route.filterName});
            }
        }
    }
    return found;
}

// Deactivates what is no longer needed before activating what is new, so that a provider whose
// one filter is replaced sees its last deactivation and then a first activation.
void ProviderActivation::State::update() {
    std::lock_guard<std::mutex> lock(mutex);
    if (stopped) {
        return;
    }
    std::vector<Need> wanted = needed();
    std::set<Pair> kept;
    for (const Need& need : wanted) {
        kept.insert(need.pair);
    }
    cimbroker::RequestScope scope(runtime);
    for (auto it = activations.begin(); it != activations.end();) {
        if (kept.count(it->first) != 0) {
            ++it;
            continue;
        }
        deactivate(it->first, it->second, scope.context());
        it = activations.erase(it);
    }
    for (Need& need : wanted) {
        if (activations.count(need.pair) == 0) {
            Activation& activation = activations[need.pair];
            activation.filter = std::move(need.filter);
            activation.filterName = std::move(need.filterName);
            activate(need.pair, activation, scope.context());
        }
    }
}

void ProviderActivation::State::activate(const Pair& pair, Activation& activation,
                                         const CMPIContext* context) {
    const ClassBinding& binding = *pair.second;
    CMPIIndicationMI* mi = binding.provider->indicationMI;
    activation.select =
        std::make_unique<cimbroker::SelectExpression>(runtime, activation.filter->text, "WQL");
    const CMPISelectExp* select = activation.select->cmpi();
    const char* className = binding.className.c_str();
    const CMPIObjectPath* path = classPath(binding);
    const std::string what = " of filter " + activation.filterName + " on " + binding.className;
    if (!succeeded(mi->ft->authorizeFilter(mi, context, select, className, path, ""),
                   *binding.provider, "authorizeFilter" + what)) {
        return;
    }
    unsigned& count = activeFilters[mi];
    const CMPIBoolean first = count == 0 ? 1 : 0;
    activation.active =
        succeeded(mi->ft->activateFilter(mi, context, select, className, path, first),
                  *binding.provider, "activateFilter" + what);
    count += activation.active ? 1 : 0;
}

void ProviderActivation::State::deactivate(const Pair& pair, Activation& activation,
                                           const CMPIContext* context) {
    if (!activation.active) {
        return;
    }
    const ClassBinding& binding = *pair.second;
    CMPIIndicationMI* mi = binding.provider->indicationMI;
    const char* className = binding.className.c_str();
    const CMPIBoolean last = --activeFilters[mi] == 0 ? 1 : 0;
    succeeded(mi->ft->deActivateFilter(mi, context, activation.select->cmpi(), className,
                                       classPath(binding), last),
              *binding.provider,
              "deActivateFilter of filter " + activation.filterName + " on " + className);
}

// A path of the binding's class in its namespace, as the filter calls take it.
const CMPIObjectPath* ProviderActivation::State::classPath(const ClassBinding& binding) const {
    const CMPIBroker* broker = runtime.broker();
    return broker->eft->newObjectPath(broker, binding.nameSpace.c_str(), binding.className.c_str(),
                                      nullptr);
}

bool ProviderActivation::State::succeeded(const CMPIStatus& rc, const Provider& provider,
                                          const std::string& what) {
    if (rc.rc == CMPI_RC_OK) {
        return true;
    }
    const Status status = Status::fromCmpi(rc);
    log << "cimp-cimom: provider " << provider.name << ": " << what
        << " failed: " << cimCodeName(status.code()) << ' ' << status.description() << '\n';
    return false;
}

// Enables or disables indications of each indication MI.
void ProviderActivation::State::setIndications(bool enabled) {
    cimbroker::RequestScope scope(runtime);
    for (const Provider* provider : indicationProviders()) {
        CMPIIndicationMI* mi = provider->indicationMI;
        const auto call = enabled ? mi->ft->enableIndications : mi->ft->disableIndications;
        succeeded(call(mi, scope.context()), *provider,
                  enabled ? "enableIndications" : "disableIndications");
    }
}

void ProviderActivation::State::stop() {
    std::lock_guard<std::mutex> lock(mutex);
    if (stopped) {
        return;
    }
    stopped = true;
    activations.clear();  // the select expressions go now, not whenever the store's listener does
    setIndications(false);
}

ProviderActivation::ProviderActivation(cimbroker::Runtime& runtime,
                                       const ProviderRegistry& providers, SubscriptionStore& store,
                                       std::ostream& log)
    : state_(std::make_shared<State>(runtime, providers, store, log)) {
    state_->setIndications(true);
    store.onChange([state = state_] { state->update(); });
    state_->update();
}

ProviderActivation::~ProviderActivation() {
    stop();
}

void ProviderActivation::stop() {
    state_->stop();
}

}  // namespace cimhost

#include "cimom/indication/subscription_store.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <mutex>
#include <ostream>
#include <random>
#include <type_traits>

#include "base/text_case.h"
#include "broker/cim_datetime.h"
#include "cimom/indication/failure_policy.h"
#include "cimom/indication/record_instance.h"
#include "cimom/indication/record_intake.h"
#include "cimom/indication/service_records.h"
#include "cimom/indication/state_records.h"

namespace cimhost {

// What the store keeps of each instance; in a named namespace because SubscriptionStore::State,
// which has external linkage, holds them.
namespace subscription_entries {

using SystemClock = std::chrono::system_clock;

struct FilterEntry {
    HostRecord record;
    std::shared_ptr<const FilterQuery> query;
};

struct DestinationEntry {
    HostRecord record;
    std::shared_ptr<DeliveryChannel> channel;
    bool permanent = true;
};

struct SubscriptionEntry {
    HostRecord record;
    std::shared_ptr<const FilterEntry> filter;
    std::shared_ptr<const DestinationEntry> destination;
    std::optional<SystemClock::time_point> failingSince;  // of deliveries to the destination
};

}  // namespace subscription_entries

namespace {

using cimp::equalsIgnoreCase;
using subscription_entries::SystemClock;

constexpr const char* kStateName = "indications";
constexpr const char* kEnabled = "2";
constexpr const char* kDisabled = "4";

enum class Kind { None, Filter, Destination, Subscription, Service };

using subscription_entries::DestinationEntry;
using subscription_entries::FilterEntry;
using subscription_entries::SubscriptionEntry;

// The classes a client creates and changes, by the root they derive from; abstract ones are not
// created.
Kind kindOf(const cimmof::Schema& classes, std::string_view className) {
    const cimmof::ResolvedClass* cls = classes.resolve(className);
    if (cls == nullptr || cls->decl.isAbstract) {
        return Kind::None;
    }
    const std::pair<const char*, Kind> roots[] = {
        {"CIM_IndicationFilter", Kind::Filter},
        {"CIM_ListenerDestination", Kind::Destination},
        {"CIM_IndicationSubscription", Kind::Subscription},
        {kServiceClass, Kind::Service},
    };
    for (const auto& root : roots) {
        if (classes.isA(className, root.first)) {
            return root.second;
        }
    }
    return Kind::None;
}

std::string randomId() {
    std::random_device device;
    const unsigned long long id =
        (static_cast<unsigned long long>(device()) << 32) ^ device() ^
        static_cast<unsigned long long>(SystemClock::now().time_since_epoch().count());
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", id);
    return text;
}

std::string now() {
    const auto micros = std::chrono::duration_cast<std::chrono::microseconds>(
        SystemClock::now().time_since_epoch());
    return cimbroker::formatCimDateTime({static_cast<std::uint64_t>(micros.count()), false});
}

template <class Entry>
auto findEntry(std::vector<Entry>& entries, const ObjectName& name) {
    return std::find_if(entries.begin(), entries.end(), [&name](const Entry& entry) {
        if constexpr (std::is_same_v<Entry, SubscriptionEntry>) {
            return sameName(entry.record.name, name);
        } else {
            return sameName(entry->record.name, name);
        }
    });
}

// CIM_ERR_FAILED while subscriptions refer to `entry` (a filter or destination) by `member`.
template <class Entry>
Status unusedOrWhy(const std::vector<SubscriptionEntry>& subscriptions,
                   std::shared_ptr<const Entry> SubscriptionEntry::*member,
                   const std::shared_ptr<Entry>& entry, const ObjectName& name) {
    const auto users =
        std::count_if(subscriptions.begin(), subscriptions.end(),
                      [&](const SubscriptionEntry& s) { return s.*member == entry; });
    if (users == 0) {
        return Status::ok();
    }
    return Status::failed(nameText(name) + " is used by " + std::to_string(users) +
                          " subscription(s); delete them first");
}

Status limitReached(const char* what, std::size_t limit) {
    return Status::withCode(CimCode::ServerLimitsExceeded, "the indication service keeps at most " +
                                                               std::to_string(limit) + " " + what);
}

Status duplicate(const ObjectName& name) {
    return Status::withCode(CimCode::AlreadyExists, nameText(name) + " exists already");
}

// The properties a client may change, per kind.
std::vector<std::string> changeable(Kind kind) {
    if (kind == Kind::Service) {
        return {"DeliveryRetryAttempts", "DeliveryRetryInterval", "SubscriptionRemovalAction",
                "SubscriptionRemovalTimeInterval"};
    }
    return {"SubscriptionState"};
}

bool listed(const std::vector<std::string>& names, const std::string& name) {
    return std::any_of(names.begin(), names.end(),
                       [&name](const std::string& n) { return equalsIgnoreCase(n, name); });
}

// The changes a ModifyInstance asks for: the changeable properties it gives (those PropertyList
// names, when it names any); a property named that cannot change, or is left without a value,
// refuses the request.
Status changesAsked(Kind kind, const InstanceValue& given,
                    const std::optional<std::vector<std::string>>& propertyList,
                    std::vector<PropertyValue>* changes) {
    const std::vector<std::string> allowed = changeable(kind);
    for (const std::string& named : propertyList.value_or(std::vector<std::string>())) {
        if (!listed(allowed, named)) {
            return Status::notSupported(named + " of " + given.className + " cannot be changed");
        }
        if (findProperty(given, named) == nullptr) {
            return Status::invalidParameter(named + " of " + given.className + " needs a value");
        }
    }
    for (const PropertyValue& p : given.properties) {
        if (listed(allowed, p.name) && (!propertyList || listed(*propertyList, p.name))) {
            changes->push_back(p);
        }
    }
    return Status::ok();
}

Status checkServiceValues(const InstanceValue& service) {
    if (unsignedOf(service, "DeliveryRetryInterval").value_or(1) == 0) {
        return Status::invalidParameter("DeliveryRetryInterval must be 1 second or more");
    }
    const std::uint64_t action = unsignedOf(service, "SubscriptionRemovalAction").value_or(2);
    if (action < 2 || action > 4) {
        return Status::invalidParameter(
            "SubscriptionRemovalAction must be 2 (Remove), 3 (Disable) or 4 (Ignore)");
    }
    return Status::ok();
}

Status checkState(const InstanceValue& subscription) {
    const std::string state = textOf(subscription, "SubscriptionState");
    if (state != kEnabled && state != kDisabled) {
        return Status::invalidParameter(
            "SubscriptionState must be 2 (Enabled) or 4 (Disabled), "
            "not " +
            state);
    }
    return Status::ok();
}

}  // namespace

struct SubscriptionStore::State {
    State(ServedSchemas schemas, std::string systemName, SubscriptionLimits limits,
          DeliveryService& delivery, const StateFolder& folder, std::ostream& log)
        : schemas(std::move(schemas)),
          interop(*this->schemas.front()),
          systemName(std::move(systemName)),
          limits(limits),
          delivery(delivery),
          folder(folder),
          log(log),
          startId(randomId()) {}

    const ServedSchemas schemas;
    const NamespaceSchema& interop;
    const std::string systemName;
    const SubscriptionLimits limits;
    DeliveryService& delivery;
    const StateFolder& folder;
    std::ostream& log;
    const std::string startId;  // makes names and sequence contexts unique to this start

    mutable std::mutex mutex;
    std::vector<std::shared_ptr<FilterEntry>> filters;
    std::vector<std::shared_ptr<DestinationEntry>> destinations;
    std::vector<SubscriptionEntry> subscriptions;
    ServiceSettings settings;
    HostRecord service;
    HostRecord capabilities;
    std::uint64_t issued = 0;  // names and sequence contexts handed out
    std::shared_ptr<const Routes> routes = std::make_shared<Routes>();

    std::vector<std::function<void()>> listeners;
    std::mutex saving;  // one save at a time, each of the state when it starts
    std::mutex logging;

    std::string freshId() { return startId + ":" + std::to_string(++issued); }
    void tell(const std::string& line);
    void rebuildRoutes();
    KeptRecords kept() const;
    void afterChange();
    Status add(const CMPIBroker* broker, const InstanceValue& given, ObjectName& made);
    Status createFilter(const CMPIBroker* broker, InstanceValue value, ObjectName& made);
    Status createDestination(const CMPIBroker* broker, InstanceValue value, ObjectName& made);
    Status createSubscription(const CMPIBroker* broker, InstanceValue value, ObjectName& made);
    Status linkSubscription(InstanceValue& value, SubscriptionEntry& entry);
    Status modifyService(const CMPIBroker* broker, const std::vector<PropertyValue>& changes);
    Status modifySubscription(const CMPIBroker* broker, const ObjectName& name,
                              const std::vector<PropertyValue>& changes);
    Status removeFilter(const ObjectName& name);
    Status removeDestination(const ObjectName& name);
    Status removeSubscription(const ObjectName& name);
    std::vector<HostRecord> recordsOf(const std::string& className) const;
    void deliveryFailed(const std::string& key);
    void deliveryResumed(const std::string& key);
    FailureAction applyFailure(SubscriptionEntry& entry, SystemClock::time_point at);
};

void SubscriptionStore::State::tell(const std::string& line) {
    std::lock_guard<std::mutex> hold(logging);
    log << "cimp-cimom: " << line << std::endl;
}

void SubscriptionStore::State::rebuildRoutes() {
    auto fresh = std::make_shared<Routes>();
    for (const SubscriptionEntry& s : subscriptions) {
        if (textOf(s.record.value, "SubscriptionState") == kEnabled) {
            fresh->push_back(Route{s.filter->query, textOf(s.filter->record.value, "Name"),
                                   s.destination->channel});
        }
    }
    routes = std::move(fresh);
}

KeptRecords SubscriptionStore::State::kept() const {
    KeptRecords records;
    records.services.push_back(service);
    for (const auto& filter : filters) {
        records.filters.push_back(filter->record);
    }
    for (const auto& destination : destinations) {
        if (destination->permanent) {
            records.destinations.push_back(destination->record);
        }
    }
    for (const SubscriptionEntry& s : subscriptions) {
        if (s.destination->permanent) {
            records.subscriptions.push_back(s.record);
        }
    }
    return records;
}

// Saves the records as they are when the save starts, then tells the listeners.
void SubscriptionStore::State::afterChange() {
    if (folder.persistent()) {
        std::lock_guard<std::mutex> one(saving);
        std::unique_lock<std::mutex> lock(mutex);
        const std::vector<cimmof::InstanceDecl> declarations = toDeclarations(kept());
        lock.unlock();
        const cimp::Outcome saved = folder.save(kStateName, declarations);
        if (!saved.ok()) {
            tell("subscriptions not saved: " + saved.message());
        }
    }
    for (const std::function<void()>& listener : listeners) {
        listener();
    }
}

Status SubscriptionStore::State::createFilter(const CMPIBroker* broker, InstanceValue value,
                                              ObjectName& made) {
    std::unique_lock<std::mutex> lock(mutex);
    Status status = fillSystemKeys(value, systemName, "cimp-cimom:filter:" + freshId());
    lock.unlock();
    auto query = std::make_shared<FilterQuery>();
    if (status.isOk()) {
        status = compileFilter(value, schemas, interop.nameSpace, query.get());
    }
    auto entry = std::make_shared<FilterEntry>(
        FilterEntry{keyedRecord(interop.classes, std::move(value)), std::move(query)});
    if (status.isOk()) {
        recordInstance(broker, interop, entry->record, status);
    }
    lock.lock();
    if (status.isOk() && findEntry(filters, entry->record.name) != filters.end()) {
        status = duplicate(entry->record.name);
    } else if (status.isOk() && filters.size() >= limits.filters) {
        status = limitReached("filters", limits.filters);
    }
    if (status.isOk()) {
        made = entry->record.name;
        filters.push_back(std::move(entry));
    }
    return status;
}

Status SubscriptionStore::State::createDestination(const CMPIBroker* broker, InstanceValue value,
                                                   ObjectName& made) {
    std::unique_lock<std::mutex> lock(mutex);
    Status status = fillSystemKeys(value, systemName, "cimp-cimom:destination:" + freshId());
    const std::string context = startId + ":" + std::to_string(++issued);
    lock.unlock();
    if (status.isOk()) {
        status = checkDestination(value);
    }
    auto entry = std::make_shared<DestinationEntry>();
    entry->record = keyedRecord(interop.classes, std::move(value));
    entry->permanent = textOf(entry->record.value, "PersistenceType") != "3";
    if (status.isOk()) {
        recordInstance(broker, interop, entry->record, status);
    }
    ObjectName keyed = entry->record.name;
    keyed.nameSpace = interop.nameSpace;
    entry->channel = std::make_shared<DeliveryChannel>(
        DeliveryTarget{nameText(keyed), textOf(entry->record.value, "Destination")}, context);
    lock.lock();
    if (status.isOk() && findEntry(destinations, entry->record.name) != destinations.end()) {
        status = duplicate(entry->record.name);
    } else if (status.isOk() && destinations.size() >= limits.destinations) {
        status = limitReached("listener destinations", limits.destinations);
    }
    if (status.isOk()) {
        made = entry->record.name;
        destinations.push_back(std::move(entry));
    }
    return status;
}

// Ties a new subscription to the filter and destination its references name, which must
// exist; its references then name them as they are kept. Under the lock.
Status SubscriptionStore::State::linkSubscription(InstanceValue& value, SubscriptionEntry& entry) {
    const PropertyValue* filter = findProperty(value, "Filter");
    const PropertyValue* handler = findProperty(value, "Handler");
    if (filter == nullptr || handler == nullptr) {
        return Status::invalidParameter("a subscription needs both Filter and Handler");
    }
    for (const PropertyValue* ref : {filter, handler}) {
        const std::string& nameSpace = ref->reference->nameSpace;
        if (!nameSpace.empty() && schemaOf({&interop}, nameSpace) == nullptr) {
            return Status::invalidParameter(ref->name + " " + nameText(*ref->reference) +
                                            " is not in " + interop.nameSpace);
        }
    }
    const auto f = findEntry(filters, *filter->reference);
    const auto d = findEntry(destinations, *handler->reference);
    if (f == filters.end() || d == destinations.end()) {
        const PropertyValue* missing = f == filters.end() ? filter : handler;
        return Status::invalidParameter(missing->name + " " + nameText(*missing->reference) +
                                        " does not exist");
    }
    entry.filter = *f;
    entry.destination = *d;
    setReference(value, "Filter", (*f)->record.name);
    setReference(value, "Handler", (*d)->record.name);
    return Status::ok();
}

Status SubscriptionStore::State::createSubscription(const CMPIBroker* broker, InstanceValue value,
                                                    ObjectName& made) {
    if (findProperty(value, "SubscriptionState") == nullptr) {
        setScalar(value, "SubscriptionState", "uint16", kEnabled);
    }
    const std::string started = now();
    setScalar(value, "SubscriptionStartTime", "datetime", started);
    setScalar(value, "TimeOfLastStateChange", "datetime", started);
    std::lock_guard<std::mutex> lock(mutex);
    SubscriptionEntry entry;
    Status status = checkState(value);
    if (status.isOk()) {
        status = linkSubscription(value, entry);
    }
    if (!status.isOk()) {
        return status;
    }
    entry.record = keyedRecord(interop.classes, std::move(value));
    recordInstance(broker, interop, entry.record, status);
    if (status.isOk() && findEntry(subscriptions, entry.record.name) != subscriptions.end()) {
        status = duplicate(entry.record.name);
    } else if (status.isOk() && subscriptions.size() >= limits.subscriptions) {
        status = limitReached("subscriptions", limits.subscriptions);
    }
    if (status.isOk()) {
        made = entry.record.name;
        subscriptions.push_back(std::move(entry));
        rebuildRoutes();
    }
    return status;
}

Status SubscriptionStore::State::modifyService(const CMPIBroker* broker,
                                               const std::vector<PropertyValue>& changes) {
    std::unique_lock<std::mutex> lock(mutex);
    HostRecord changed = service;
    for (const PropertyValue& p : changes) {
        setScalar(changed.value, p.name, p.type, p.values.empty() ? "" : p.values.front());
    }
    Status status = checkServiceValues(changed.value);
    if (status.isOk()) {
        recordInstance(broker, interop, changed, status);
    }
    if (!status.isOk()) {
        return status;
    }
    service = std::move(changed);
    settings = settingsOf(service.value, settings);
    const RetryPolicy retry = settings.retry;
    lock.unlock();
    delivery.setRetryPolicy(retry);
    return status;
}

Status SubscriptionStore::State::modifySubscription(const CMPIBroker* broker,
                                                    const ObjectName& name,
                                                    const std::vector<PropertyValue>& changes) {
    std::lock_guard<std::mutex> lock(mutex);
    const auto found = findEntry(subscriptions, name);
    if (found == subscriptions.end()) {
        return Status::notFound(nameText(name) + " does not exist");
    }
    HostRecord changed = found->record;
    const std::string before = textOf(changed.value, "SubscriptionState");
    for (const PropertyValue& p : changes) {
        setScalar(changed.value, p.name, p.type, p.values.empty() ? "" : p.values.front());
    }
    Status status = checkState(changed.value);
    if (status.isOk()) {
        recordInstance(broker, interop, changed, status);
    }
    if (!status.isOk()) {
        return status;
    }
    if (textOf(changed.value, "SubscriptionState") != before) {
        setScalar(changed.value, "TimeOfLastStateChange", "datetime", now());
        found->failingSince.reset();
    }
    found->record = std::move(changed);
    rebuildRoutes();
    return status;
}

Status SubscriptionStore::State::removeFilter(const ObjectName& name) {
    std::lock_guard<std::mutex> lock(mutex);
    const auto found = findEntry(filters, name);
    if (found == filters.end()) {
        return Status::notFound(nameText(name) + " does not exist");
    }
    if (Status used = unusedOrWhy(subscriptions, &SubscriptionEntry::filter, *found, name);
        !used.isOk()) {
        return used;
    }
    filters.erase(found);
    return Status::ok();
}

Status SubscriptionStore::State::removeDestination(const ObjectName& name) {
    std::unique_lock<std::mutex> lock(mutex);
    const auto found = findEntry(destinations, name);
    if (found == destinations.end()) {
        return Status::notFound(nameText(name) + " does not exist");
    }
    if (Status used = unusedOrWhy(subscriptions, &SubscriptionEntry::destination, *found, name);
        !used.isOk()) {
        return used;
    }
    const std::string key = (*found)->channel->target.key;
    destinations.erase(found);
    lock.unlock();
    delivery.removeTarget(key);
    return Status::ok();
}

Status SubscriptionStore::State::removeSubscription(const ObjectName& name) {
    std::lock_guard<std::mutex> lock(mutex);
    const auto found = findEntry(subscriptions, name);
    if (found == subscriptions.end()) {
        return Status::notFound(nameText(name) + " does not exist");
    }
    subscriptions.erase(found);
    rebuildRoutes();
    return Status::ok();
}

// The records of exactly `className`: the kept ones, the service's, and the association
// instances made from them.
std::vector<HostRecord> SubscriptionStore::State::recordsOf(const std::string& className) const {
    std::lock_guard<std::mutex> lock(mutex);
    std::vector<HostRecord> records;
    const auto add = [&](const HostRecord& record) {
        if (equalsIgnoreCase(record.name.className, className)) {
            records.push_back(record);
        }
    };
    for (const auto& filter : filters) {
        add(filter->record);
    }
    for (const auto& destination : destinations) {
        add(destination->record);
    }
    for (const SubscriptionEntry& s : subscriptions) {
        add(s.record);
    }
    add(service);
    add(capabilities);
    const cimmof::Schema& classes = interop.classes;
    if (equalsIgnoreCase(className, "CIM_HostedService")) {
        add(hostedServiceRecord(classes, systemName, service.name));
    } else if (equalsIgnoreCase(className, "CIM_ElementCapabilities")) {
        add(elementCapabilitiesRecord(classes, service.name, capabilities.name));
    } else if (equalsIgnoreCase(className, "CIM_ServiceAffectsElement")) {
        for (const auto& filter : filters) {
            add(affectsRecord(classes, service.name, filter->record.name));
        }
        for (const auto& destination : destinations) {
            add(affectsRecord(classes, service.name, destination->record.name));
        }
    }
    return records;
}

// Applies the failure rules to one subscription of the destination given up on; what it did.
FailureAction SubscriptionStore::State::applyFailure(SubscriptionEntry& entry,
                                                     SystemClock::time_point at) {
    if (!entry.failingSince) {
        entry.failingSince = at;
        const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(at.time_since_epoch());
        setScalar(entry.record.value, "DeliveryFailureTime", "uint64",
                  std::to_string(seconds.count()));
    }
    const FailureRules rules{unsignedOf(entry.record.value, "OnFatalErrorPolicy"),
                             unsignedOf(entry.record.value, "FailureTriggerTimeInterval"),
                             settings.removalAction, settings.removalInterval};
    const FailureAction action = actionOnFailure(
        rules, std::chrono::duration_cast<std::chrono::seconds>(at - *entry.failingSince));
    const std::string name = nameText(entry.record.name);
    if (action == FailureAction::Remove) {
        tell("subscription " + name + " removed: deliveries to its destination fail");
        return action;
    }
    if (action == FailureAction::Disable &&
        textOf(entry.record.value, "SubscriptionState") != kDisabled) {
        setScalar(entry.record.value, "SubscriptionState", "uint16", kDisabled);
        setScalar(entry.record.value, "TimeOfLastStateChange", "datetime", now());
        tell("subscription " + name + " disabled: deliveries to its destination fail");
        return action;
    }
    return FailureAction::None;
}

void SubscriptionStore::State::deliveryFailed(const std::string& key) {
    std::unique_lock<std::mutex> lock(mutex);
    const SystemClock::time_point at = SystemClock::now();
    bool changed = false;
    for (auto s = subscriptions.begin(); s != subscriptions.end();) {
        const FailureAction action =
            s->destination->channel->target.key == key ? applyFailure(*s, at) : FailureAction::None;
        changed = changed || action != FailureAction::None;
        s = action == FailureAction::Remove ? subscriptions.erase(s) : s + 1;
    }
    if (!changed) {
        return;
    }
    rebuildRoutes();
    lock.unlock();
    afterChange();
}

void SubscriptionStore::State::deliveryResumed(const std::string& key) {
    std::lock_guard<std::mutex> lock(mutex);
    for (SubscriptionEntry& s : subscriptions) {
        if (s.destination->channel->target.key == key) {
            s.failingSince.reset();
        }
    }
}

SubscriptionStore::SubscriptionStore(ServedSchemas schemas, std::string systemName,
                                     SubscriptionLimits limits, DeliveryService& delivery,
                                     const StateFolder& state, std::ostream& log)
    : state_(std::make_shared<State>(std::move(schemas), std::move(systemName), limits, delivery,
                                     state, log)) {
    State& s = *state_;
    s.settings.retry = delivery.retryPolicy();
    s.service = serviceRecord(s.interop.classes, s.systemName, s.settings);
    s.capabilities = capabilitiesRecord(s.interop.classes, limits, state.persistent());
    // A sender may be about to call a handler as the store goes; it then finds nothing.
    const std::weak_ptr<State> weak = state_;
    delivery.setFailureHandler([weak](const std::string& key) {
        if (const std::shared_ptr<State> alive = weak.lock()) {
            alive->deliveryFailed(key);
        }
    });
    delivery.setRecoveryHandler([weak](const std::string& key) {
        if (const std::shared_ptr<State> alive = weak.lock()) {
            alive->deliveryResumed(key);
        }
    });
}

SubscriptionStore::~SubscriptionStore() {
    state_->delivery.setFailureHandler(nullptr);
    state_->delivery.setRecoveryHandler(nullptr);
}

Status SubscriptionStore::instancesOf(const CMPIBroker* broker, const std::string& className,
                                      std::vector<CMPIInstance*>& out) const {
    for (const HostRecord& record : state_->recordsOf(className)) {
        Status status;
        CMPIInstance* instance = recordInstance(broker, state_->interop, record, status);
        if (instance == nullptr) {
            return status;
        }
        out.push_back(instance);
    }
    return Status::ok();
}

bool SubscriptionStore::keeps(const std::string& className) const {
    return kindOf(state_->interop.classes, className) != Kind::None;
}

Status SubscriptionStore::State::add(const CMPIBroker* broker, const InstanceValue& given,
                                     ObjectName& made) {
    InstanceValue value;
    const Status taken = takeProperties(interop.classes, given, &value);
    if (!taken.isOk()) {
        return taken;
    }
    switch (kindOf(interop.classes, value.className)) {
        case Kind::Filter:
            return createFilter(broker, std::move(value), made);
        case Kind::Destination:
            return createDestination(broker, std::move(value), made);
        case Kind::Subscription:
            return createSubscription(broker, std::move(value), made);
        default:
            return Status::notSupported("instances of " + value.className +
                                        " are not created by clients");
    }
}

Status SubscriptionStore::create(const CMPIBroker* broker, const InstanceValue& instance,
                                 ObjectName& made) const {
    const Status status = state_->add(broker, instance, made);
    if (status.isOk()) {
        state_->afterChange();
    }
    return status;
}

Status SubscriptionStore::modify(
    const CMPIBroker* broker, const ObjectName& name, const InstanceValue& instance,
    const std::optional<std::vector<std::string>>& propertyList) const {
    const Kind kind = kindOf(state_->interop.classes, name.className);
    if (kind != Kind::Service && kind != Kind::Subscription) {
        return Status::notSupported(name.className +
                                    " cannot be changed; delete it and create another");
    }
    InstanceValue value;
    std::vector<PropertyValue> changes;
    Status status = takeProperties(state_->interop.classes, instance, &value);
    if (status.isOk()) {
        status = changesAsked(kind, value, propertyList, &changes);
    }
    if (status.isOk() && kind == Kind::Service) {
        status = sameName(name, state_->service.name)
                     ? state_->modifyService(broker, changes)
                     : Status::notFound(nameText(name) + " does not exist");
    } else if (status.isOk()) {
        status = state_->modifySubscription(broker, name, changes);
    }
    if (status.isOk()) {
        state_->afterChange();
    }
    return status;
}

Status SubscriptionStore::remove(const ObjectName& name) const {
    Status status;
    switch (kindOf(state_->interop.classes, name.className)) {
        case Kind::Filter:
            status = state_->removeFilter(name);
            break;
        case Kind::Destination:
            status = state_->removeDestination(name);
            break;
        case Kind::Subscription:
            status = state_->removeSubscription(name);
            break;
        default:
            return Status::notSupported(name.className + " cannot be deleted");
    }
    if (status.isOk()) {
        state_->afterChange();
    }
    return status;
}

void SubscriptionStore::load(const CMPIBroker* broker) {
    State& s = *state_;
    std::vector<cimmof::InstanceDecl> declarations;
    const cimp::Outcome read =
        s.folder.persistent() ? s.folder.load(kStateName, &declarations) : cimp::Outcome();
    if (!read.ok()) {
        s.tell(read.message());
    }
    std::vector<std::string> faults;
    const KeptRecords kept = fromDeclarations(s.interop.classes, declarations, &faults);
    for (const HostRecord& service : kept.services) {
        std::vector<PropertyValue> changes;
        changesAsked(Kind::Service, service.value, std::nullopt, &changes);
        const Status status = s.modifyService(broker, changes);
        if (!status.isOk()) {
            faults.push_back("service settings not taken: " + status.description());
        }
    }
    for (const std::vector<HostRecord>* kind :
         {&kept.filters, &kept.destinations, &kept.subscriptions}) {
        for (const HostRecord& record : *kind) {
            ObjectName made;
            const Status status = s.add(broker, record.value, made);
            if (!status.isOk()) {
                faults.push_back(nameText(record.name) + " not kept: " + status.description());
            }
        }
    }
    for (const std::string& fault : faults) {
        s.tell("state folder " + s.folder.dir() + ": " + fault);
    }
    for (const std::function<void()>& listener : s.listeners) {
        listener();
    }
}

void SubscriptionStore::onChange(std::function<void()> listener) {
    state_->listeners.push_back(std::move(listener));
}

std::shared_ptr<const SubscriptionStore::Routes> SubscriptionStore::routes() const {
    std::lock_guard<std::mutex> lock(state_->mutex);
    return state_->routes;
}

std::vector<WatchedClass> SubscriptionStore::watchedClasses() const {
    std::vector<WatchedClass> watched;
    const std::shared_ptr<const Routes> held = routes();  // a temporary would die before the loop
    for (const Route& route : *held) {
        for (const std::string& nameSpace : route.filter->sourceNamespaces) {
            const cimmof::Schema& classes = schemaOf(state_->schemas, nameSpace)->classes;
            const std::string& from = route.filter->query.className;
            if (!classes.isA(from, "CIM_InstIndication") &&
                !classes.isA("CIM_InstIndication", from)) {
                continue;
            }
            for (const std::string& cls : sourceInstanceClasses(*route.filter)) {
                const WatchedClass entry{nameSpace, cls};
                if (std::none_of(watched.begin(), watched.end(), [&](const WatchedClass& w) {
                        return equalsIgnoreCase(w.nameSpace, entry.nameSpace) &&
                               equalsIgnoreCase(w.className, entry.className);
                    })) {
                    watched.push_back(entry);
                }
            }
        }
    }
    return watched;
}

const ServedSchemas& SubscriptionStore::schemas() const {
    return state_->schemas;
}

}  // namespace cimhost

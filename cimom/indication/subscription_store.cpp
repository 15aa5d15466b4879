#include "cimom/indication/subscription_store.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <mutex>
#include <ostream>
#include <random>

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

// One kept instance: the service, a filter with its compiled query, a listener destination with
// its channel, or a subscription with the filter and destination it ties and since when
// deliveries to that destination fail.
struct Entry {
    HostRecord record;
    std::shared_ptr<const FilterQuery> query;
    std::shared_ptr<DeliveryChannel> channel;
    std::shared_ptr<const Entry> filter;
    std::shared_ptr<const Entry> destination;
    std::optional<SystemClock::time_point> failingSince;
};

}  // namespace subscription_entries

namespace {

using cimp::equalsIgnoreCase;
using subscription_entries::Entry;
using subscription_entries::SystemClock;
using Entries = std::vector<std::shared_ptr<Entry>>;

constexpr const char* kStateName = "indications";
constexpr const char* kEnabled = "2";
constexpr const char* kDisabled = "4";

// The kind of the classes a client creates and changes; abstract ones are not created.
std::optional<RecordKind> kindOf(const cimmof::Schema& classes, std::string_view className) {
    const cimmof::ResolvedClass* cls = classes.resolve(className);
    if (cls == nullptr || cls->decl.isAbstract) {
        return std::nullopt;
    }
    return recordKindOf(classes, className);
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

Entries::iterator findEntry(Entries& entries, const ObjectName& name) {
    return std::find_if(entries.begin(), entries.end(), [&name](const std::shared_ptr<Entry>& e) {
        return sameName(e->record.name, name);
    });
}

// Whether the entry is saved: all but transient destinations and the subscriptions to them.
bool permanent(const Entry& entry) {
    const Entry& destination = entry.destination ? *entry.destination : entry;
    return textOf(destination.record.value, "PersistenceType") != "3";
}

// CIM_ERR_SERVER_LIMITS_EXCEEDED when `count` instances of `kind` are as many as it may have.
Status withinLimit(RecordKind kind, const SubscriptionLimits& limits, std::size_t count) {
    const std::pair<std::size_t, const char*> limit =
        kind == kFilters        ? std::make_pair(limits.filters, "filters")
        : kind == kDestinations ? std::make_pair(limits.destinations, "listener destinations")
                                : std::make_pair(limits.subscriptions, "subscriptions");
    if (count < limit.first) {
        return Status::ok();
    }
    return Status::withCode(
        CimCode::ServerLimitsExceeded,
        "the indication service keeps at most " + std::to_string(limit.first) + " " + limit.second);
}

// The properties a client may change, per kind.
std::vector<std::string> changeable(RecordKind kind) {
    if (kind == kServices) {
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
Status changesAsked(RecordKind kind, const InstanceValue& given,
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
            "SubscriptionState must be 2 (Enabled) or 4 (Disabled), not " + state);
    }
    return Status::ok();
}

// Fills what a new subscription leaves out: enabled, and started now.
Status prepareSubscription(InstanceValue& value) {
    if (findProperty(value, "SubscriptionState") == nullptr) {
        setScalar(value, "SubscriptionState", "uint16", kEnabled);
    }
    const std::string started = now();
    setScalar(value, "SubscriptionStartTime", "datetime", started);
    setScalar(value, "TimeOfLastStateChange", "datetime", started);
    return checkState(value);
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
    const std::string startId;             // makes names and sequence contexts unique to this start
    std::atomic<std::uint64_t> issued{0};  // names and sequence contexts handed out

    mutable std::mutex mutex;
    std::array<Entries, kRecordKinds> kept;  // the service's one entry among them
    ServiceSettings settings;
    HostRecord capabilities;
    std::shared_ptr<const Routes> routes = std::make_shared<Routes>();

    std::vector<std::function<void()>> listeners;
    std::mutex saving;  // one save at a time, each of the state when it starts
    std::mutex logging;

    std::string freshId() { return startId + ":" + std::to_string(++issued); }
    ObjectName serviceName() const { return kept[kServices].front()->record.name; }
    void tell(const std::string& line);
    void rebuildRoutes();
    KeptRecords saved() const;
    void afterChange();
    Status add(const CMPIBroker* broker, const InstanceValue& given, ObjectName& made);
    Status prepareFilter(InstanceValue& value, Entry& entry);
    Status prepareDestination(InstanceValue& value, Entry& entry);
    Status linkSubscription(InstanceValue& value, Entry& entry);
    Status change(const CMPIBroker* broker, RecordKind kind, const ObjectName& name,
                  const std::vector<PropertyValue>& changes);
    Status remove(RecordKind kind, const ObjectName& name);
    std::vector<HostRecord> recordsOf(const std::string& className) const;
    void deliveryEnded(const std::string& key, bool givenUp);
    FailureAction applyFailure(Entry& entry, SystemClock::time_point at);
};

void SubscriptionStore::State::tell(const std::string& line) {
    std::lock_guard<std::mutex> hold(logging);
    log << "cimp-cimom: " << line << std::endl;
}

void SubscriptionStore::State::rebuildRoutes() {
    auto fresh = std::make_shared<Routes>();
    for (const auto& s : kept[kSubscriptions]) {
        if (textOf(s->record.value, "SubscriptionState") == kEnabled) {
            fresh->push_back(Route{s->filter->query, textOf(s->filter->record.value, "Name"),
                                   s->destination->channel});
        }
    }
    routes = std::move(fresh);
}

KeptRecords SubscriptionStore::State::saved() const {
    KeptRecords records;
    for (std::size_t kind = 0; kind < kRecordKinds; ++kind) {
        for (const auto& entry : kept[kind]) {
            if (permanent(*entry)) {
                records[kind].push_back(entry->record);
            }
        }
    }
    return records;
}

// Saves the records as they are when the save starts, then tells the listeners.
void SubscriptionStore::State::afterChange() {
    if (folder.persistent()) {
        std::lock_guard<std::mutex> one(saving);
        std::unique_lock<std::mutex> lock(mutex);
        const std::vector<cimmof::InstanceDecl> declarations = toDeclarations(saved());
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

Status SubscriptionStore::State::prepareFilter(InstanceValue& value, Entry& entry) {
    Status status = fillSystemKeys(value, systemName, "cimp-cimom:filter:" + freshId());
    auto query = std::make_shared<FilterQuery>();
    if (status.isOk()) {
        status = compileFilter(value, schemas, interop.nameSpace, query.get());
    }
    entry.query = std::move(query);
    return status;
}

Status SubscriptionStore::State::prepareDestination(InstanceValue& value, Entry& entry) {
    Status status = fillSystemKeys(value, systemName, "cimp-cimom:destination:" + freshId());
    const std::string context = freshId();
    if (status.isOk()) {
        status = checkDestination(value);
    }
    ObjectName keyed = nameFromKeys(interop.classes, value);
    keyed.nameSpace = interop.nameSpace;
    entry.channel = std::make_shared<DeliveryChannel>(
        DeliveryTarget{nameText(keyed), textOf(value, "Destination")}, context);
    return status;
}

// Ties a new subscription to the filter and destination its references name, which must
// exist; its references then name them as they are kept. Under the lock.
Status SubscriptionStore::State::linkSubscription(InstanceValue& value, Entry& entry) {
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
    const auto f = findEntry(kept[kFilters], *filter->reference);
    const auto d = findEntry(kept[kDestinations], *handler->reference);
    if (f == kept[kFilters].end() || d == kept[kDestinations].end()) {
        const PropertyValue* missing = f == kept[kFilters].end() ? filter : handler;
        return Status::invalidParameter(missing->name + " " + nameText(*missing->reference) +
                                        " does not exist");
    }
    entry.filter = *f;
    entry.destination = *d;
    setReference(value, "Filter", (*f)->record.name);
    setReference(value, "Handler", (*d)->record.name);
    return Status::ok();
}

Status SubscriptionStore::State::add(const CMPIBroker* broker, const InstanceValue& given,
                                     ObjectName& made) {
    InstanceValue value;
    Status status = takeProperties(interop.classes, given, &value);
    if (!status.isOk()) {
        return status;
    }
    const std::optional<RecordKind> kind = kindOf(interop.classes, value.className);
    if (!kind || *kind == kServices) {
        return Status::notSupported("instances of " + value.className +
                                    " are not created by clients");
    }
    auto entry = std::make_shared<Entry>();
    status = *kind == kFilters        ? prepareFilter(value, *entry)
             : *kind == kDestinations ? prepareDestination(value, *entry)
                                      : prepareSubscription(value);
    std::lock_guard<std::mutex> lock(mutex);
    if (status.isOk() && *kind == kSubscriptions) {
        status = linkSubscription(value, *entry);
    }
    if (!status.isOk()) {
        return status;
    }
    entry->record = keyedRecord(interop.classes, std::move(value));
    recordInstance(broker, interop, entry->record, status);
    Entries& entries = kept[*kind];
    if (status.isOk() && findEntry(entries, entry->record.name) != entries.end()) {
        status = Status::withCode(CimCode::AlreadyExists,
                                  nameText(entry->record.name) + " exists already");
    } else if (status.isOk()) {
        status = withinLimit(*kind, limits, entries.size());
    }
    if (status.isOk()) {
        made = entry->record.name;
        entries.push_back(std::move(entry));
        rebuildRoutes();
    }
    return status;
}

// Changes the service's settings or a subscription's state, each checked as its values allow.
Status SubscriptionStore::State::change(const CMPIBroker* broker, RecordKind kind,
                                        const ObjectName& name,
                                        const std::vector<PropertyValue>& changes) {
    std::unique_lock<std::mutex> lock(mutex);
    const auto found = findEntry(kept[kind], name);
    if (found == kept[kind].end()) {
        return Status::notFound(nameText(name) + " does not exist");
    }
    Entry& entry = **found;
    HostRecord changed = entry.record;
    for (const PropertyValue& p : changes) {
        setScalar(changed.value, p.name, p.type, p.values.empty() ? "" : p.values.front());
    }
    Status status =
        kind == kServices ? checkServiceValues(changed.value) : checkState(changed.value);
    if (status.isOk()) {
        recordInstance(broker, interop, changed, status);
    }
    if (!status.isOk()) {
        return status;
    }
    if (textOf(changed.value, "SubscriptionState") !=
        textOf(entry.record.value, "SubscriptionState")) {
        setScalar(changed.value, "TimeOfLastStateChange", "datetime", now());
        entry.failingSince.reset();
    }
    entry.record = std::move(changed);
    rebuildRoutes();
    if (kind == kServices) {
        settings = settingsOf(entry.record.value, settings);
        const RetryPolicy retry = settings.retry;
        lock.unlock();
        delivery.setRetryPolicy(retry);
    }
    return status;
}

// Deletes a filter or destination no subscription refers to, or a subscription.
Status SubscriptionStore::State::remove(RecordKind kind, const ObjectName& name) {
    std::unique_lock<std::mutex> lock(mutex);
    const auto found = findEntry(kept[kind], name);
    if (found == kept[kind].end()) {
        return Status::notFound(nameText(name) + " does not exist");
    }
    const Entries& subscriptions = kept[kSubscriptions];
    const auto users = std::count_if(
        subscriptions.begin(), subscriptions.end(),
        [&](const auto& s) { return s->filter == *found || s->destination == *found; });
    if (users != 0) {
        return Status::failed(nameText(name) + " is used by " + std::to_string(users) +
                              " subscription(s); delete them first");
    }
    const std::shared_ptr<DeliveryChannel> channel = (*found)->channel;
    kept[kind].erase(found);
    rebuildRoutes();
    lock.unlock();
    if (channel) {
        delivery.removeTarget(channel->target.key);  // drops what is queued for it
    }
    return Status::ok();
}

// The records of exactly `className`: the kept ones, the capabilities, and the association
// instances made from them.
std::vector<HostRecord> SubscriptionStore::State::recordsOf(const std::string& className) const {
    std::lock_guard<std::mutex> lock(mutex);
    std::vector<HostRecord> records;
    const auto add = [&](const HostRecord& record) {
        if (equalsIgnoreCase(record.name.className, className)) {
            records.push_back(record);
        }
    };
    for (const Entries& entries : kept) {
        for (const auto& entry : entries) {
            add(entry->record);
        }
    }
    add(capabilities);
    const cimmof::Schema& classes = interop.classes;
    if (equalsIgnoreCase(className, "CIM_HostedService")) {
        add(hostedServiceRecord(classes, systemName, serviceName()));
    } else if (equalsIgnoreCase(className, "CIM_ElementCapabilities")) {
        add(elementCapabilitiesRecord(classes, serviceName(), capabilities.name));
    } else if (equalsIgnoreCase(className, "CIM_ServiceAffectsElement")) {
        for (const RecordKind managed : {kFilters, kDestinations}) {
            for (const auto& entry : kept[managed]) {
                add(affectsRecord(classes, serviceName(), entry->record.name));
            }
        }
    }
    return records;
}

// Applies the failure rules to one subscription of the destination given up on; what it did.
FailureAction SubscriptionStore::State::applyFailure(Entry& entry, SystemClock::time_point at) {
    if (!entry.failingSince) {
        entry.failingSince = at;
        const auto seconds =
            std::chrono::duration_cast<std::chrono::seconds>(at.time_since_epoch());
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

// An indication for the destination `key` was given up on, or it takes them again.
void SubscriptionStore::State::deliveryEnded(const std::string& key, bool givenUp) {
    std::unique_lock<std::mutex> lock(mutex);
    const SystemClock::time_point at = SystemClock::now();
    Entries& subscriptions = kept[kSubscriptions];
    bool changed = false;
    for (auto s = subscriptions.begin(); s != subscriptions.end();) {
        const bool ours = (*s)->destination->channel->target.key == key;
        if (ours && !givenUp) {
            (*s)->failingSince.reset();
        }
        const FailureAction action = ours && givenUp ? applyFailure(**s, at) : FailureAction::None;
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

SubscriptionStore::SubscriptionStore(ServedSchemas schemas, std::string systemName,
                                     SubscriptionLimits limits, DeliveryService& delivery,
                                     const StateFolder& state, std::ostream& log)
    : state_(std::make_shared<State>(std::move(schemas), std::move(systemName), limits, delivery,
                                     state, log)) {
    State& s = *state_;
    s.settings.retry = delivery.retryPolicy();
    auto service = std::make_shared<Entry>();
    service->record = serviceRecord(s.interop.classes, s.systemName, s.settings);
    s.kept[kServices].push_back(std::move(service));
    s.capabilities = capabilitiesRecord(s.interop.classes, limits, state.persistent());
    // A sender may be about to call the handler as the store goes; it then finds nothing.
    delivery.setOutcomeHandler(
        [weak = std::weak_ptr<State>(state_)](const std::string& key, bool givenUp) {
            if (const std::shared_ptr<State> alive = weak.lock()) {
                alive->deliveryEnded(key, givenUp);
            }
        });
}

SubscriptionStore::~SubscriptionStore() {
    state_->delivery.setOutcomeHandler(nullptr);
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
    return kindOf(state_->interop.classes, className).has_value();
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
    const std::optional<RecordKind> kind = kindOf(state_->interop.classes, name.className);
    if (kind != kServices && kind != kSubscriptions) {
        return Status::notSupported(name.className +
                                    " cannot be changed; delete it and create another");
    }
    InstanceValue value;
    std::vector<PropertyValue> changes;
    Status status = takeProperties(state_->interop.classes, instance, &value);
    if (status.isOk()) {
        status = changesAsked(*kind, value, propertyList, &changes);
    }
    if (status.isOk()) {
        status = state_->change(broker, *kind, name, changes);
    }
    if (status.isOk()) {
        state_->afterChange();
    }
    return status;
}

Status SubscriptionStore::remove(const ObjectName& name) const {
    const std::optional<RecordKind> kind = kindOf(state_->interop.classes, name.className);
    if (!kind || *kind == kServices) {
        return Status::notSupported(name.className + " cannot be deleted");
    }
    const Status status = state_->remove(*kind, name);
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
    for (const HostRecord& service : kept[kServices]) {
        std::vector<PropertyValue> changes;
        changesAsked(kServices, service.value, std::nullopt, &changes);
        const Status status = s.change(broker, kServices, s.serviceName(), changes);
        if (!status.isOk()) {
            faults.push_back("service settings not taken: " + status.description());
        }
    }
    for (const RecordKind kind : {kFilters, kDestinations, kSubscriptions}) {
        for (const HostRecord& record : kept[kind]) {
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
                if (std::find(watched.begin(), watched.end(), entry) == watched.end()) {
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

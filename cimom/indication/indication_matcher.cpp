#include "cimom/indication/indication_matcher.h"

#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "cimom/indication/instance_snapshot.h"
#include "cimom/wire/object_encoder.h"
#include "cimom/wire/xml_writer.h"

namespace cimhost {
namespace {

CMPIStatus status(CMPIrc rc) {
    return CMPIStatus{rc, nullptr};
}

// The properties a filter's select list sends, with those the service sets; nullopt for all.
std::optional<std::vector<std::string>> sentProperties(const FilterQuery& filter) {
    if (filter.query.selected.empty()) {
        return std::nullopt;
    }
    std::vector<std::string> names = {"IndicationFilterName", "SequenceContext", "SequenceNumber"};
    for (const cimquery::PropertyName& selected : filter.query.selected) {
        names.push_back(selected.name);
    }
    return names;
}

}  // namespace

IndicationMatcher::IndicationMatcher(cimbroker::Runtime& runtime, const SubscriptionStore& store,
                                     DeliveryService& delivery)
    : runtime_(runtime), store_(store), delivery_(delivery) {}

CMPIStatus IndicationMatcher::deliver(const char* nameSpace, const CMPIInstance* indication) {
    if (nameSpace == nullptr || indication == nullptr) {
        return status(CMPI_RC_ERR_INVALID_PARAMETER);
    }
    const NamespaceSchema* schema = schemaOf(store_.schemas(), nameSpace);
    if (schema == nullptr) {
        return status(CMPI_RC_ERR_INVALID_NAMESPACE);
    }
    const std::shared_ptr<const SubscriptionStore::Routes> routes = store_.routes();
    // What matching and encoding make through the broker goes when the delivery ends.
    cimbroker::RequestScope scope(runtime_);
    OwnedInstance copy;
    for (const SubscriptionStore::Route& route : *routes) {
        if (!takesFrom(*route.filter, schema->nameSpace) ||
            !selects(*route.filter, schema->classes, indication)) {
            continue;
        }
        if (!copy) {
            copy.reset(indication->ft->clone(indication, nullptr));
            if (!copy) {
                return status(CMPI_RC_ERR_FAILED);
            }
        }
        send(route, copy.get(), *schema);
    }
    return status(CMPI_RC_OK);
}

void IndicationMatcher::send(const SubscriptionStore::Route& route, CMPIInstance* indication,
                             const NamespaceSchema& schema) {
    indication->ft->setProperty(indication, "IndicationFilterName",
                                reinterpret_cast<const CMPIValue*>(route.filterName.c_str()),
                                CMPI_chars);
    const std::optional<std::vector<std::string>> sent = sentProperties(*route.filter);
    PropertySelection selection;
    selection.propertyList = &sent;
    DeliveryChannel& channel = *route.channel;
    std::lock_guard<std::mutex> inOrder(channel.mutex);
    CMPIValue number{};
    number.sint64 = channel.nextSequence++;
    indication->ft->setProperty(indication, "SequenceNumber", &number, CMPI_sint64);
    indication->ft->setProperty(indication, "SequenceContext",
                                reinterpret_cast<const CMPIValue*>(channel.sequenceContext.c_str()),
                                CMPI_chars);
    XmlWriter out;
    ObjectEncoder(out, schema, "", schema.nameSpace).instance(indication, selection);
    delivery_.enqueue(channel.target, out.finish());
}

}  // namespace cimhost

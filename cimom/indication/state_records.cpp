#include "cimom/indication/state_records.h"

#include <map>

#include "base/text_case.h"
#include "cimom/indication/service_records.h"

namespace cimhost {
namespace {

cimmof::PropertyValue declared(const PropertyValue& p) {
    cimmof::PropertyValue out;
    out.name = p.name;
    out.isArray = p.isArray;
    if (p.isArray) {
        out.elements = p.values;
        for (const std::string& element : p.values) {
            out.value += (out.value.empty() ? "" : ", ") + element;
        }
    } else if (!p.values.empty()) {
        out.value = p.values.front();
    }
    return out;
}

// `record` as a declaration; its references become the aliases of the records they name.
cimmof::InstanceDecl declarationOf(
    const HostRecord& record, const std::string& alias,
    const std::vector<std::pair<const HostRecord*, std::string>>& aliases) {
    cimmof::InstanceDecl decl;
    decl.className = record.value.className;
    decl.alias = alias;
    for (const PropertyValue& p : record.value.properties) {
        if (p.isNull) {
            continue;
        }
        cimmof::PropertyValue value = declared(p);
        if (p.reference) {
            for (const auto& known : aliases) {
                if (sameName(known.first->name, *p.reference)) {
                    value.value = "$" + known.second;
                }
            }
        }
        decl.values.push_back(std::move(value));
    }
    return decl;
}

// The value of `decl` as the class declares its properties; references by alias.
InstanceValue valueOf(const cimmof::ResolvedClass& cls, const cimmof::InstanceDecl& decl,
                      const std::map<std::string, ObjectName>& aliases, std::string* fault) {
    InstanceValue value;
    value.className = cls.decl.name;
    for (const cimmof::PropertyValue& v : decl.values) {
        const cimmof::Property* property = cls.property(v.name);
        PropertyValue p{v.name,
                        property != nullptr ? property->type : "string",
                        v.isArray,
                        v.isNull,
                        v.isArray ? v.elements : std::vector<std::string>{v.value},
                        nullptr};
        if (property != nullptr && property->type == "ref" && !v.isNull) {
            const auto target = aliases.find(cimp::lowerCase(v.value));
            if (target == aliases.end()) {
                *fault = "property " + v.name + " refers to " + v.value + ", not declared before";
                return value;
            }
            p.reference = std::make_shared<const ObjectName>(target->second);
        }
        value.properties.push_back(std::move(p));
    }
    return value;
}

}  // namespace

std::optional<RecordKind> recordKindOf(const cimmof::Schema& classes, std::string_view className) {
    const std::pair<const char*, RecordKind> roots[] = {
        {kServiceClass, kServices},
        {"CIM_IndicationFilter", kFilters},
        {"CIM_ListenerDestination", kDestinations},
        {"CIM_IndicationSubscription", kSubscriptions},
    };
    for (const auto& root : roots) {
        if (classes.isA(className, root.first)) {
            return root.second;
        }
    }
    return std::nullopt;
}

std::vector<cimmof::InstanceDecl> toDeclarations(const KeptRecords& records) {
    const char* const aliasOf[kRecordKinds] = {nullptr, "filter", "destination", nullptr};
    std::vector<std::pair<const HostRecord*, std::string>> aliases;
    std::vector<cimmof::InstanceDecl> out;
    for (std::size_t kind = 0; kind < kRecordKinds; ++kind) {
        for (const HostRecord& record : records[kind]) {
            std::string alias;
            if (aliasOf[kind] != nullptr) {
                alias = aliasOf[kind] + std::to_string(aliases.size() + 1);
                aliases.emplace_back(&record, alias);
            }
            out.push_back(declarationOf(record, alias, aliases));
        }
    }
    return out;
}

KeptRecords fromDeclarations(const cimmof::Schema& classes,
                             const std::vector<cimmof::InstanceDecl>& declarations,
                             std::vector<std::string>* faults) {
    KeptRecords kept;
    std::map<std::string, ObjectName> aliases;
    for (const cimmof::InstanceDecl& decl : declarations) {
        const std::string at = decl.file + ":" + std::to_string(decl.line) + ": ";
        const cimmof::ResolvedClass* cls = classes.resolve(decl.className);
        std::string fault = cls == nullptr ? "class " + decl.className + " does not exist" : "";
        const InstanceValue value =
            cls == nullptr ? InstanceValue{} : valueOf(*cls, decl, aliases, &fault);
        const std::optional<RecordKind> kind =
            fault.empty() ? recordKindOf(classes, decl.className) : std::nullopt;
        if (!kind) {
            faults->push_back(at + (fault.empty()
                                        ? "instances of " + decl.className + " are not kept here"
                                        : fault));
            continue;
        }
        kept[*kind].push_back(HostRecord{nameFromKeys(classes, value), value});
        if (!decl.alias.empty()) {
            aliases["$" + cimp::lowerCase(decl.alias)] = kept[*kind].back().name;
        }
    }
    return kept;
}

}  // namespace cimhost

#include "cimom/indication/filter_query.h"

#include <algorithm>

#include "base/text.h"
#include "base/text_case.h"
#include "broker/cmpi_read.h"
#include "cimom/dispatch/instance_query_source.h"
#include "cimom/indication/host_record.h"
#include "cimom/query/wql_evaluator.h"
#include "cimom/query/wql_parser.h"

namespace cimhost {
namespace {

using cimp::equalsIgnoreCase;

constexpr const char* kIndicationRoot = "CIM_Indication";

Status invalidQuery(std::size_t position, const std::string& message) {
    return Status::withCode(CimCode::InvalidQuery,
                            cimquery::QueryError{position, message}.describe());
}

// Every ISA in the condition, as (property, class, position of the condition).
void collectIsa(const cimquery::Condition& c, std::vector<const cimquery::Condition*>& out) {
    if (c.kind == cimquery::Condition::Kind::IsA) {
        out.push_back(&c);
    }
    for (const cimquery::Condition& child : c.children) {
        collectIsa(child, out);
    }
}

std::vector<const cimquery::Condition*> isaConditions(const cimquery::Query& query) {
    std::vector<const cimquery::Condition*> found;
    if (query.where) {
        collectIsa(*query.where, found);
    }
    return found;
}

// The query against the classes of one source namespace.
Status checkIn(const cimquery::Query& query, const NamespaceSchema& source) {
    const cimmof::Schema& classes = source.classes;
    const std::string where = " in " + source.nameSpace;
    if (classes.find(query.className) == nullptr) {
        return invalidQuery(query.classPosition,
                            "class " + query.className + " does not exist" + where);
    }
    if (!classes.isA(query.className, kIndicationRoot)) {
        return invalidQuery(query.classPosition,
                            "class " + query.className + " is not an indication class" + where);
    }
    const std::vector<cimmof::Property>& declared = classes.allProperties(query.className);
    for (const cimquery::PropertyName& used : cimquery::propertiesNamed(query)) {
        const std::string first = used.name.substr(0, used.name.find('.'));
        if (cimmof::findByName(declared, first) == nullptr) {
            return invalidQuery(used.position,
                                "class " + query.className + " has no property " + first + where);
        }
    }
    for (const cimquery::Condition* isa : isaConditions(query)) {
        if (classes.find(isa->className) == nullptr) {
            return invalidQuery(isa->left.position,
                                "class " + isa->className + " after ISA does not exist" + where);
        }
    }
    return Status::ok();
}

// SourceNamespaces, else SourceNamespace, else the filter's own namespace.
std::vector<std::string> namedSources(const InstanceValue& filter,
                                      const std::string& ownNamespace) {
    const PropertyValue* many = findProperty(filter, "SourceNamespaces");
    if (many != nullptr && !many->isNull && !many->values.empty()) {
        return many->values;
    }
    const std::string one = textOf(filter, "SourceNamespace");
    return {one.empty() ? ownNamespace : one};
}

}  // namespace

const NamespaceSchema* schemaOf(const ServedSchemas& schemas, std::string_view nameSpace) {
    const std::string wanted = cimp::trimmed(nameSpace, "/");
    const auto found = std::find_if(schemas.begin(), schemas.end(), [&](const NamespaceSchema* s) {
        return equalsIgnoreCase(s->nameSpace, wanted);
    });
    return found == schemas.end() ? nullptr : *found;
}

Status compileFilter(const InstanceValue& filter, const ServedSchemas& schemas,
                     const std::string& ownNamespace, FilterQuery* out) {
    const std::string language = textOf(filter, "QueryLanguage");
    if (!equalsIgnoreCase(language, "WQL")) {
        return Status::withCode(
            CimCode::QueryLanguageNotSupported,
            "query language \"" + language + "\" is not supported; filters take WQL");
    }
    const std::string text = textOf(filter, "Query");
    const cimquery::ParsedQuery parsed = cimquery::parseWql(text);
    if (parsed.error) {
        return Status::withCode(CimCode::InvalidQuery, parsed.error->describe());
    }
    out->text = text;
    out->query = parsed.query;
    out->sourceNamespaces.clear();
    for (const std::string& named : namedSources(filter, ownNamespace)) {
        const NamespaceSchema* source = schemaOf(schemas, named);
        if (source == nullptr) {
            return Status::invalidParameter("source namespace " + named + " is not served here");
        }
        const Status checked = checkIn(out->query, *source);
        if (!checked.isOk()) {
            return checked;
        }
        out->sourceNamespaces.push_back(source->nameSpace);
    }
    return Status::ok();
}

bool selects(const FilterQuery& filter, const cimmof::Schema& classes,
             const CMPIInstance* indication) {
    const std::string_view className =
        cimbroker::borrowClassName(indication->ft->getObjectPath(indication, nullptr));
    return classes.isA(className, filter.query.className) &&
           cimquery::matches(filter.query, InstanceQuerySource(indication, classes));
}

bool takesFrom(const FilterQuery& filter, std::string_view nameSpace) {
    return std::any_of(
        filter.sourceNamespaces.begin(), filter.sourceNamespaces.end(),
        [nameSpace](const std::string& source) { return equalsIgnoreCase(source, nameSpace); });
}

std::vector<std::string> sourceInstanceClasses(const FilterQuery& filter) {
    std::vector<std::string> classes;
    for (const cimquery::Condition* isa : isaConditions(filter.query)) {
        if (equalsIgnoreCase(isa->left.property, "SourceInstance")) {
            classes.push_back(isa->className);
        }
    }
    return classes;
}

}  // namespace cimhost

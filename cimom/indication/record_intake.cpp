#include "cimom/indication/record_intake.h"

#include <algorithm>

#include "base/text_case.h"
#include "cimom/indication/host_record.h"

namespace cimhost {
namespace {

using cimp::equalsIgnoreCase;

constexpr std::size_t kMaxUrlLength = 2048;

Status takeOne(const cimmof::Property& declared, const PropertyValue& given,
               const std::string& where, InstanceValue* out) {
    const bool isReference = declared.type == "ref";
    if (given.isArray != declared.isArray || (given.reference != nullptr) != isReference) {
        return Status::invalidParameter(
            where + " is " +
            (isReference ? "a reference"
                         : std::string(declared.isArray ? "an array" : "a single value")) +
            " of type " + (isReference ? declared.refClass : declared.type));
    }
    PropertyValue taken = given;
    taken.name = declared.name;
    taken.type = declared.type;
    if (declared.type == "boolean") {
        for (std::string& value : taken.values) {
            value = cimp::lowerCase(value);
        }
    }
    out->properties.push_back(std::move(taken));
    return Status::ok();
}

// Whether `url` is scheme://host... with an http or https scheme and no blank or control
// character anywhere.
bool isListenerUrl(const std::string& url) {
    const std::size_t separator = url.find("://");
    const std::string scheme = url.substr(0, separator);
    const std::size_t hostStart = separator + 3;
    return separator != std::string::npos && url.size() <= kMaxUrlLength &&
           (equalsIgnoreCase(scheme, "http") || equalsIgnoreCase(scheme, "https")) &&
           hostStart < url.size() && url.find_first_of("/?#", hostStart) != hostStart &&
           std::none_of(url.begin(), url.end(),
                        [](char c) { return static_cast<unsigned char>(c) <= ' ' || c == 0x7F; });
}

}  // namespace

Status takeProperties(const cimmof::Schema& classes, const InstanceValue& given,
                      InstanceValue* out) {
    const cimmof::ResolvedClass* cls = classes.resolve(given.className);
    if (cls == nullptr) {
        return Status::invalidClass(given.className);
    }
    out->className = cls->decl.name;
    out->properties.clear();
    for (const PropertyValue& p : given.properties) {
        const cimmof::Property* declared = cls->property(p.name);
        const std::string where = "property " + p.name + " of " + cls->decl.name;
        if (declared == nullptr) {
            return Status::invalidParameter(where + " is not declared");
        }
        if (findProperty(*out, p.name) != nullptr) {
            return Status::invalidParameter(where + " is given twice");
        }
        const Status taken = p.isNull ? Status::ok() : takeOne(*declared, p, where, out);
        if (!taken.isOk()) {
            return taken;
        }
    }
    return Status::ok();
}

Status fillSystemKeys(InstanceValue& value, const std::string& systemName,
                      const std::string& freshName) {
    const std::string creationClass = textOf(value, "CreationClassName");
    if (!creationClass.empty() && !equalsIgnoreCase(creationClass, value.className)) {
        return Status::invalidParameter("CreationClassName is " + creationClass +
                                        ", not the class created, " + value.className);
    }
    const std::pair<const char*, std::string> defaults[] = {
        {"SystemCreationClassName", kSystemClass},
        {"SystemName", systemName},
        {"CreationClassName", value.className},
        {"Name", freshName},
    };
    for (const auto& key : defaults) {
        if (textOf(value, key.first).empty()) {
            setScalar(value, key.first, "string", key.second);
        }
    }
    return Status::ok();
}

Status checkDestination(InstanceValue& value) {
    const std::string url = textOf(value, "Destination");
    if (!isListenerUrl(url)) {
        return Status::invalidParameter("Destination must be an http:// or https:// URL, not \"" +
                                        url.substr(0, kMaxUrlLength) + "\"");
    }
    const std::optional<std::uint64_t> persistence = unsignedOf(value, "PersistenceType");
    if (findProperty(value, "PersistenceType") == nullptr) {
        setScalar(value, "PersistenceType", "uint16", "2");
    } else if (!persistence || *persistence < 1 || *persistence > 3) {
        return Status::invalidParameter(
            "PersistenceType must be 1 (Other), 2 (Permanent) or 3 (Transient), not " +
            textOf(value, "PersistenceType"));
    }
    if (findProperty(value, "Protocol") == nullptr) {
        setScalar(value, "Protocol", "uint16", "2");
    }
    return Status::ok();
}

}  // namespace cimhost

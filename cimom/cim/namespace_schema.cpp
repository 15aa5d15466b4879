#include "cimom/cim/namespace_schema.h"

#include "cimom/mof/mof_reader.h"

namespace cimhost {

namespace {

cimp::Outcome fromDocument(const cimp::Outcome& read, cimmof::MofDocument& document,
                           const std::string& nameSpace, NamespaceSchema* out) {
    if (!read.ok()) {
        return read;
    }
    out->nameSpace = nameSpace;
    out->qualifierTypes = std::move(document.qualifierTypes);
    return cimmof::Schema::fromDocument(document, &out->classes);
}

}  // namespace

cimp::Outcome NamespaceSchema::load(const std::string& path, const std::string& nameSpace,
                                    NamespaceSchema* out) {
    cimmof::MofDocument document;
    const cimp::Outcome read = cimmof::readMofFile(path, &document);
    return fromDocument(read, document, nameSpace, out);
}

cimp::Outcome NamespaceSchema::fromText(const std::string& text, const std::string& fileName,
                                        const std::string& nameSpace, NamespaceSchema* out) {
    cimmof::MofDocument document;
    const cimp::Outcome read = cimmof::readMofText(text, fileName, &document);
    return fromDocument(read, document, nameSpace, out);
}

const cimmof::QualifierType* NamespaceSchema::qualifierType(const std::string& name) const {
    return cimmof::findByName(qualifierTypes, name);
}

}  // namespace cimhost

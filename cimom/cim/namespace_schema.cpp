#include "cimom/cim/namespace_schema.h"

#include "cimom/mof/mof_reader.h"

namespace cimhost {

namespace {

NamespaceSchema fromDocument(cimmof::MofDocument document, const std::string& nameSpace) {
    NamespaceSchema loaded{nameSpace, cimmof::Schema::fromDocument(document),
                           std::move(document.qualifierTypes)};
    return loaded;
}

}  // namespace

NamespaceSchema NamespaceSchema::load(const std::string& path, const std::string& nameSpace) {
    return fromDocument(cimmof::readMofFile(path), nameSpace);
}

NamespaceSchema NamespaceSchema::fromText(const std::string& text, const std::string& fileName,
                                          const std::string& nameSpace) {
    return fromDocument(cimmof::readMofText(text, fileName), nameSpace);
}

const cimmof::QualifierType* NamespaceSchema::qualifierType(const std::string& name) const {
    return cimmof::findByName(qualifierTypes, name);
}

}  // namespace cimhost

#include "cimom/host/namespace_schema.h"

#include "cimom/mof/mof_reader.h"

namespace cimhost {

NamespaceSchema NamespaceSchema::load(const std::string& path, const std::string& nameSpace) {
    cimmof::MofDocument document = cimmof::readMofFile(path);
    NamespaceSchema loaded{nameSpace, cimmof::Schema::fromDocument(document),
                           std::move(document.qualifierTypes)};
    return loaded;
}

const cimmof::QualifierType* NamespaceSchema::qualifierType(const std::string& name) const {
    return cimmof::findByName(qualifierTypes, name);
}

}  // namespace cimhost

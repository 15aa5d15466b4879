// Writes CIM objects as CIM-XML elements (DSP0201): instance names and paths and instances from
// CMPI objects, classes and qualifier declarations from the schema. Values are typed as the
// schema declares them; the paths of returned objects that a provider left without host or
// namespace get the request's. A reference value is written as what it is: with host and
// namespace an INSTANCEPATH, with a namespace only a LOCALINSTANCEPATH, else an INSTANCENAME, so
// a client can send back exactly the reference it was given. A property whose value is an
// instance (an indication's SourceInstance) is written as an embedded instance: a string
// PROPERTY with EmbeddedObject="instance" whose VALUE is the escaped INSTANCE element. Reads the
// CMPI objects it is given and never changes them; use it on the thread that owns them.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cimom/cim/namespace_schema.h"
#include "cimom/wire/xml_writer.h"
#include "cmpidt.h"
#include "cmpift.h"

namespace cimhost {

// Which properties of an instance or class are written.
struct PropertySelection {
    const std::optional<std::vector<std::string>>* propertyList = nullptr;  // null or nullopt: all
    std::string onlyOfClass;  // when set: only properties this class has (DeepInheritance false)
    bool localOnly = false;   // classes only: properties the class itself declares
    bool includeQualifiers = false;  // classes only
    bool includeClassOrigin = false;
};

class ObjectEncoder {
  public:
    // `host` and `nameSpace` fill paths that lack them.
    ObjectEncoder(XmlWriter& out, const NamespaceSchema& schema, std::string host,
                  std::string nameSpace);

    void instanceName(const CMPIObjectPath* path);  // INSTANCENAME
    void instancePath(const CMPIObjectPath* path);  // INSTANCEPATH
    void classPath(std::string_view className);     // CLASSPATH, with the host and namespace
    void instance(const CMPIInstance* instance, const PropertySelection& selection);  // INSTANCE
    // `wrapper` holding the instance's INSTANCEPATH (INSTANCENAME when `nameOnly`), then the
    // instance.
    void instanceWithPath(const char* wrapper, const CMPIInstance* instance,
                          const PropertySelection& selection, bool nameOnly = false);
    void classDeclaration(const cimmof::ClassDecl& cls, const PropertySelection& selection);
    void qualifierDeclaration(const cimmof::QualifierType& type);  // QUALIFIER.DECLARATION

  private:
    void instance(const CMPIInstance* instance, const CMPIObjectPath* path,
                  const PropertySelection& selection);
    void keyValue(const cimmof::ResolvedClass* declared, std::string_view key,
                  const CMPIData& value);
    void reference(const CMPIObjectPath* path);           // VALUE.REFERENCE
    void localNamespacePath(std::string_view nameSpace);  // LOCALNAMESPACEPATH
    // NAMESPACEPATH; the encoder's own host and namespace where these are empty.
    void namespacePath(std::string_view host, std::string_view nameSpace);
    void referenceProperty(std::string_view name, const CMPIData& data,
                           const cimmof::Property* declared, std::string_view classOrigin);
    // A property holding an instance or instances: a string whose value is the INSTANCE element.
    void embeddedProperty(std::string_view name, const CMPIData& data,
                          std::string_view classOrigin);
    std::string embeddedInstanceText(const CMPIInstance* embedded) const;
    void arrayProperty(std::string_view name, const CMPIData& data, std::string_view declared,
                       std::string_view classOrigin);
    void scalarProperty(std::string_view name, const CMPIData& data, std::string_view declared,
                        std::string_view classOrigin);
    void qualifiers(const std::vector<cimmof::Qualifier>& qualifiers);
    // The VALUE or VALUE.ARRAY of a qualifier or of a qualifier type's default.
    void qualifierValue(const std::string& type, bool isArray, const std::string& value,
                        const std::vector<std::string>& elements);
    // A METHOD of a class, with its parameters; `own` when the class declares it itself.
    void classMethod(const cimmof::InheritedMethod& entry, bool own,
                     const PropertySelection& selection);
    void classProperty(const cimmof::Property& property, bool own,
                       const PropertySelection& selection);
    // What a class's property and method declarations both carry: CLASSORIGIN and PROPAGATED
    // as the selection asks, then the qualifiers when asked for.
    void memberOrigin(const std::string& origin, bool own,
                      const std::vector<cimmof::Qualifier>& list,
                      const PropertySelection& selection);
    bool selected(std::string_view property, const PropertySelection& selection) const;

    XmlWriter& out_;
    const NamespaceSchema& schema_;
    std::string host_;
    std::string nameSpace_;
};

}  // namespace cimhost

// Readers that turn CMPI objects into plain C++ values, for the host and the tests. They work on
// the objects of any CMPI implementation (they go through the function tables) and never modify
// them. A null object reads as empty. CMPIData in the results points into the object read and is
// valid as long as that object is.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "cmpidt.h"
#include "cmpift.h"

namespace cimbroker {

using NamedData = std::vector<std::pair<std::string, CMPIData>>;

// Whether `data` holds no value: null, not found, bad, or of type CMPI_null.
bool holdsNoValue(const CMPIData& data);

// The character data of a string ("" for null).
std::string toStdString(const CMPIString* s);

// A value as text: strings as they are, numbers in decimal, booleans "TRUE"/"FALSE", references
// in path form, date-times in CIM format, arrays as "{a,b}"; "" for a null or missing value.
std::string dataToString(const CMPIData& data);
// A value as it is written in a path or MOF: strings, date-times and references in double quotes
// with '"' and '\\' escaped, a null value as NULL, anything else as dataToString gives it.
std::string dataToLiteral(const CMPIData& data);

// A CIM char16 (a UCS-2 code unit) as UTF-8.
std::string char16ToUtf8(CMPIChar16 c);

std::string classNameOf(const CMPIObjectPath* path);
// "//host/ns:Class.k=\"v\",..." as the path's own toString gives it.
std::string pathToString(const CMPIObjectPath* path);

NamedData keysOf(const CMPIObjectPath* path);
NamedData propertiesOf(const CMPIInstance* instance);
std::vector<CMPIData> elementsOf(const CMPIArray* array);

// Borrowing forms of the readers above, for paths that read many objects: the text points into
// the object read and is valid exactly as long as that object is.
using BorrowedNamedData = std::vector<std::pair<std::string_view, CMPIData>>;
std::string_view borrowText(const CMPIString* s);
std::string_view borrowClassName(const CMPIObjectPath* path);
std::string_view borrowNameSpace(const CMPIObjectPath* path);
std::string_view borrowHost(const CMPIObjectPath* path);
BorrowedNamedData borrowKeys(const CMPIObjectPath* path);
BorrowedNamedData borrowProperties(const CMPIInstance* instance);

}  // namespace cimbroker

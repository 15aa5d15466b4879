// A small element tree parsed with libexpat, the form in which the request decoder reads a
// CIM-XML body. Any document type declaration is refused (and with it every entity declaration),
// external entities are never loaded, and nesting, element count, attributes and text are
// bounded, so a hostile body costs at most its own size. Each thread keeps one parser and resets
// it between documents. Pure functions; thread-safe.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace cimhost {

struct XmlElement {
    std::string name;
    std::vector<std::pair<std::string, std::string>> attributes;
    std::string text;  // character data directly inside this element, concatenated
    std::vector<XmlElement> children;

    // The value of attribute `attributeName`, or null when absent.
    const std::string* attribute(const char* attributeName) const;
};

constexpr int kMaxXmlDepth = 64;
constexpr std::size_t kMaxXmlElements = 100000;
constexpr std::size_t kMaxXmlAttributes = 32;             // on one element
constexpr std::size_t kMaxXmlAttributeLength = 4096;      // name or value, in bytes
constexpr std::size_t kMaxXmlTextLength = 64u * 1024;     // text directly inside one element

struct XmlParseResult {
    bool ok = false;
    std::string error;  // what was wrong and where (line:column), when !ok
    XmlElement root;
};

XmlParseResult parseXml(std::string_view document);

}  // namespace cimhost

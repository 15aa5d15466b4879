// Reads an XML document with libexpat and hands its elements and text to a handler as they
// come, so that nothing of the document is kept that its reader does not keep itself. Any
// document type declaration is refused (and with it every entity declaration), external
// entities are never loaded, and nesting, element count, attributes and text are bounded, so a
// hostile body costs at most its own size. Each thread keeps one parser and resets it between
// documents. Thread-safe.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace cimhost {

constexpr int kMaxXmlDepth = 64;
constexpr std::size_t kMaxXmlElements = 100000;
constexpr std::size_t kMaxXmlAttributes = 32;          // on one element
constexpr std::size_t kMaxXmlAttributeLength = 4096;   // name or value, in bytes
constexpr std::size_t kMaxXmlTextLength = 64u * 1024;  // text directly inside one element

// The attributes of one element as expat gives them: name and value pairs, null-terminated.
// Valid only during the handler call it is passed to.
class XmlAttributes {
  public:
    explicit XmlAttributes(const char* const* pairs) : pairs_(pairs) {}
    // The value of attribute `name`, or null when absent.
    const char* find(std::string_view name) const;

  private:
    const char* const* pairs_;
};

// Receives a document's events in document order. Text comes in pieces, each directly inside
// the innermost open element.
class XmlEventHandler {
  public:
    virtual void startElement(std::string_view name, const XmlAttributes& attributes) = 0;
    virtual void endElement() = 0;
    virtual void text(std::string_view piece) = 0;

  protected:
    ~XmlEventHandler() = default;
};

struct XmlReadResult {
    bool ok = false;
    std::string error;  // what was wrong and where (line:column), when !ok
};

XmlReadResult readXml(std::string_view document, XmlEventHandler& handler);

}  // namespace cimhost

#include "cimom/host/xml_tree.h"

#include <expat.h>

#include <algorithm>
#include <cstring>
#include <memory>

namespace cimhost {
namespace {

struct ParserDeleter {
    void operator()(XML_ParserStruct* parser) const { XML_ParserFree(parser); }
};
using ParserHandle = std::unique_ptr<XML_ParserStruct, ParserDeleter>;

class TreeBuilder {
  public:
    explicit TreeBuilder(XML_Parser parser) : parser_(parser) {}

    XmlElement root;
    std::string error;  // set when the builder itself stopped the parse

    static void XMLCALL onStart(void* self, const XML_Char* name, const XML_Char** attributes) {
        static_cast<TreeBuilder*>(self)->start(name, attributes);
    }
    static void XMLCALL onEnd(void* self, const XML_Char*) {
        TreeBuilder* builder = static_cast<TreeBuilder*>(self);
        if (!builder->open_.empty()) {
            builder->open_.pop_back();
        }
    }
    static void XMLCALL onText(void* self, const XML_Char* text, int length) {
        static_cast<TreeBuilder*>(self)->appendText(text, static_cast<std::size_t>(length));
    }
    static void XMLCALL onDoctype(void* self, const XML_Char*, const XML_Char*, const XML_Char*,
                                  int) {
        static_cast<TreeBuilder*>(self)->stop("document type declarations are not accepted");
    }
    static int XMLCALL onExternalEntity(XML_Parser, const XML_Char*, const XML_Char*,
                                        const XML_Char*, const XML_Char*) {
        return XML_STATUS_ERROR;
    }

  private:
    void start(const XML_Char* name, const XML_Char** attributes) {
        if (++elements_ > kMaxXmlElements) {
            stop("more than " + std::to_string(kMaxXmlElements) + " elements");
            return;
        }
        if (open_.size() >= static_cast<std::size_t>(kMaxXmlDepth)) {
            stop("elements nested deeper than " + std::to_string(kMaxXmlDepth));
            return;
        }
        // Every attribute is one the document specified: no DTD can add defaults.
        const auto count = static_cast<std::size_t>(XML_GetSpecifiedAttributeCount(parser_) / 2);
        if (const char* why = attributesRefusal(attributes, count)) {
            stop(why);
            return;
        }
        XmlElement* element = &root;
        if (!open_.empty()) {
            // Only ancestors are held by pointer; a sibling added later never moves them.
            open_.back()->children.emplace_back();
            element = &open_.back()->children.back();
        }
        element->name = name;
        element->attributes.reserve(count);
        for (const XML_Char** a = attributes; a[0] != nullptr; a += 2) {
            element->attributes.emplace_back(a[0], a[1]);
        }
        open_.push_back(element);
    }

    static const char* attributesRefusal(const XML_Char** attributes, std::size_t count) {
        if (count > kMaxXmlAttributes) {
            return "too many attributes on one element";
        }
        for (const XML_Char** a = attributes; a[0] != nullptr; a += 2) {
            if (std::strlen(a[0]) > kMaxXmlAttributeLength ||
                std::strlen(a[1]) > kMaxXmlAttributeLength) {
                return "an attribute longer than the limit";
            }
        }
        return nullptr;
    }

    void appendText(const XML_Char* text, std::size_t length) {
        if (open_.empty()) {
            return;
        }
        std::string& into = open_.back()->text;
        if (length > kMaxXmlTextLength - into.size()) {
            stop("text longer than " + std::to_string(kMaxXmlTextLength) + " bytes in one element");
            return;
        }
        into.append(text, length);
    }

    void stop(std::string why) {
        if (error.empty()) {
            error = std::move(why);
        }
        XML_StopParser(parser_, XML_FALSE);
    }

    XML_Parser parser_;
    std::vector<XmlElement*> open_;
    std::size_t elements_ = 0;
};

std::string location(XML_Parser parser) {
    return "line " + std::to_string(XML_GetCurrentLineNumber(parser)) + ", column " +
           std::to_string(XML_GetCurrentColumnNumber(parser) + 1);
}

// This thread's parser, reset for a new document (which clears every handler and, by leaving the
// hash salt unset, has expat draw a fresh random one); null when out of memory.
XML_Parser threadParser() {
    thread_local ParserHandle parser;
    if (parser && XML_ParserReset(parser.get(), nullptr) == XML_TRUE) {
        return parser.get();
    }
    parser.reset(XML_ParserCreate(nullptr));
    return parser.get();
}

}  // namespace

const std::string* XmlElement::attribute(const char* attributeName) const {
    for (const auto& entry : attributes) {
        if (entry.first == attributeName) {
            return &entry.second;
        }
    }
    return nullptr;
}

XmlParseResult parseXml(std::string_view document) {
    XmlParseResult result;
    XML_Parser parser = threadParser();
    if (parser == nullptr) {
        result.error = "out of memory for the XML parser";
        return result;
    }
    TreeBuilder builder(parser);
    XML_SetUserData(parser, &builder);
    XML_SetElementHandler(parser, &TreeBuilder::onStart, &TreeBuilder::onEnd);
    XML_SetCharacterDataHandler(parser, &TreeBuilder::onText);
    XML_SetStartDoctypeDeclHandler(parser, &TreeBuilder::onDoctype);
    XML_SetExternalEntityRefHandler(parser, &TreeBuilder::onExternalEntity);
    XML_SetParamEntityParsing(parser, XML_PARAM_ENTITY_PARSING_NEVER);

    // Fed in slices because XML_Parse takes an int length.
    constexpr std::size_t kSlice = 1u << 20;
    std::size_t offset = 0;
    bool done = false;
    while (!done) {
        const std::size_t length = std::min(kSlice, document.size() - offset);
        done = offset + length == document.size();
        if (XML_Parse(parser, document.data() + offset, static_cast<int>(length),
                      done ? XML_TRUE : XML_FALSE) != XML_STATUS_OK) {
            result.error = builder.error.empty()
                               ? std::string(XML_ErrorString(XML_GetErrorCode(parser)))
                               : builder.error;
            result.error += " at " + location(parser);
            return result;
        }
        offset += length;
    }
    result.ok = true;
    result.root = std::move(builder.root);
    return result;
}

}  // namespace cimhost

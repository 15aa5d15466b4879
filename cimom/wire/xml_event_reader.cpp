#include "cimom/wire/xml_event_reader.h"

#include <expat.h>
#include <sys/random.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <memory>

namespace cimhost {
namespace {

struct ParserDeleter {
    void operator()(XML_ParserStruct* parser) const { XML_ParserFree(parser); }
};
using ParserHandle = std::unique_ptr<XML_ParserStruct, ParserDeleter>;

// Stands between expat and the handler: enforces the bounds and passes on what is within them.
class BoundedReader {
  public:
    BoundedReader(XML_Parser parser, XmlEventHandler& handler)
        : parser_(parser), handler_(handler) {}

    std::string error;  // set when the reader itself stopped the parse

    static void XMLCALL onStart(void* self, const XML_Char* name, const XML_Char** attributes) {
        static_cast<BoundedReader*>(self)->start(name, attributes);
    }
    static void XMLCALL onEnd(void* self, const XML_Char*) {
        static_cast<BoundedReader*>(self)->end();
    }
    static void XMLCALL onText(void* self, const XML_Char* text, int length) {
        static_cast<BoundedReader*>(self)->appendText(text, static_cast<std::size_t>(length));
    }
    static void XMLCALL onDoctype(void* self, const XML_Char*, const XML_Char*, const XML_Char*,
                                  int) {
        static_cast<BoundedReader*>(self)->stop("document type declarations are not accepted");
    }
    static int XMLCALL onExternalEntity(XML_Parser, const XML_Char*, const XML_Char*,
                                        const XML_Char*, const XML_Char*) {
        return XML_STATUS_ERROR;
    }

  private:
    void start(const XML_Char* name, const XML_Char** attributes) {
        if (stopped_) {
            return;
        }
        if (++elements_ > kMaxXmlElements) {
            stop("more than " + std::to_string(kMaxXmlElements) + " elements");
            return;
        }
        if (depth_ >= kMaxXmlDepth) {
            stop("elements nested deeper than " + std::to_string(kMaxXmlDepth));
            return;
        }
        // Every attribute is one the document specified: no DTD can add defaults.
        const auto count = static_cast<std::size_t>(XML_GetSpecifiedAttributeCount(parser_) / 2);
        if (const char* why = attributesRefusal(attributes, count)) {
            stop(why);
            return;
        }
        textLength_[static_cast<std::size_t>(depth_)] = 0;
        ++depth_;
        handler_.startElement(name, XmlAttributes(attributes));
    }

    // Expat may still report the end of an element refused at its start: the handler never saw it.
    void end() {
        if (!stopped_) {
            --depth_;
            handler_.endElement();
        }
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
        if (stopped_ || depth_ == 0) {
            return;
        }
        std::size_t& sum = textLength_[static_cast<std::size_t>(depth_ - 1)];
        if (length > kMaxXmlTextLength - sum) {
            stop("text longer than " + std::to_string(kMaxXmlTextLength) + " bytes in one element");
            return;
        }
        sum += length;
        handler_.text(std::string_view(text, length));
    }

    void stop(std::string why) {
        if (error.empty()) {
            error = std::move(why);
        }
        stopped_ = true;
        XML_StopParser(parser_, XML_FALSE);
    }

    XML_Parser parser_;
    XmlEventHandler& handler_;
    bool stopped_ = false;
    int depth_ = 0;
    std::size_t elements_ = 0;
    std::array<std::size_t, kMaxXmlDepth> textLength_{};  // of each open element
};

std::string location(XML_Parser parser) {
    return "line " + std::to_string(XML_GetCurrentLineNumber(parser)) + ", column " +
           std::to_string(XML_GetCurrentColumnNumber(parser) + 1);
}

// Expat's hash tables need a salt no client can guess, or a body of colliding names would cost
// quadratic time. Expat draws one from the system for every document; a secret drawn once per
// thread and stepped for each document serves as well, with one system call less per request.
struct SaltSource {
    bool seeded = false;
    std::uint64_t state = 0;
};

SaltSource seededSource() {
    SaltSource source;
    source.seeded = getrandom(&source.state, sizeof source.state, GRND_NONBLOCK) ==
                    static_cast<ssize_t>(sizeof source.state);
    return source;
}

// The next salt of this thread; 0, which has expat draw its own, when the system gave no secret
// (yet: the thread does not wait for one).
unsigned long nextHashSalt() {
    thread_local SaltSource source = seededSource();
    if (!source.seeded) {
        return 0;
    }
    // A splitmix64 step: every bit of the state reaches every bit of the salt. No salt is ever
    // shown to a client.
    std::uint64_t z = (source.state += 0x9E3779B97F4A7C15u);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9u;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBu;
    z ^= z >> 31;
    return static_cast<unsigned long>(z == 0 ? 1 : z);
}

// This thread's parser, reset for a new document (which clears every handler) and salted; null
// when out of memory.
XML_Parser threadParser() {
    thread_local ParserHandle parser;
    if (!parser || XML_ParserReset(parser.get(), nullptr) != XML_TRUE) {
        parser.reset(XML_ParserCreate(nullptr));
    }
    if (parser) {
        XML_SetHashSalt(parser.get(), nextHashSalt());
    }
    return parser.get();
}

void installHandlers(XML_Parser parser, BoundedReader& reader) {
    XML_SetUserData(parser, &reader);
    XML_SetElementHandler(parser, &BoundedReader::onStart, &BoundedReader::onEnd);
    XML_SetCharacterDataHandler(parser, &BoundedReader::onText);
    XML_SetStartDoctypeDeclHandler(parser, &BoundedReader::onDoctype);
    XML_SetExternalEntityRefHandler(parser, &BoundedReader::onExternalEntity);
    XML_SetParamEntityParsing(parser, XML_PARAM_ENTITY_PARSING_NEVER);
}

}  // namespace

const char* XmlAttributes::find(std::string_view name) const {
    for (const char* const* a = pairs_; a[0] != nullptr; a += 2) {
        if (name == a[0]) {
            return a[1];
        }
    }
    return nullptr;
}

XmlReadResult readXml(std::string_view document, XmlEventHandler& handler) {
    XmlReadResult result;
    XML_Parser parser = threadParser();
    if (parser == nullptr) {
        result.error = "out of memory for the XML parser";
        return result;
    }
    BoundedReader reader(parser, handler);
    installHandlers(parser, reader);
    // Fed in slices because XML_Parse takes an int length.
    constexpr std::size_t kSlice = 1u << 20;
    std::size_t offset = 0;
    bool done = false;
    while (!done) {
        const std::size_t length = std::min(kSlice, document.size() - offset);
        done = offset + length == document.size();
        if (XML_Parse(parser, document.data() + offset, static_cast<int>(length),
                      done ? XML_TRUE : XML_FALSE) != XML_STATUS_OK) {
            result.error = reader.error.empty()
                               ? std::string(XML_ErrorString(XML_GetErrorCode(parser)))
                               : reader.error;
            result.error += " at " + location(parser);
            return result;
        }
        offset += length;
    }
    result.ok = true;
    return result;
}

}  // namespace cimhost

// Whether a text reads as XML within the host's bounds, for tests of what the host writes.
#pragma once

#include <string_view>

#include "cimom/wire/xml_event_reader.h"

namespace cimhosttest {

inline cimhost::XmlReadResult readsAsXml(std::string_view text) {
    struct Nothing final : cimhost::XmlEventHandler {
        void startElement(std::string_view, const cimhost::XmlAttributes&) override {}
        void endElement() override {}
        void text(std::string_view) override {}
    } nothing;
    return cimhost::readXml(text, nothing);
}

}  // namespace cimhosttest

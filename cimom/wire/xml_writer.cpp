#include "cimom/wire/xml_writer.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <utility>

namespace cimhost {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

// Length of the well-formed UTF-8 sequence at `s` (RFC 3629: no overlongs, no surrogates, at
// most U+10FFFF), or 0.
std::size_t utf8SequenceLength(std::string_view s) {
    const auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(s[i]); };
    const auto continuation = [&](std::size_t i) {
        return i < s.size() && (byte(i) & 0xC0) == 0x80;
    };
    const std::uint8_t lead = byte(0);
    if (lead < 0x80) {
        return 1;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
        return continuation(1) ? 2 : 0;
    }
    if (lead >= 0xE0 && lead <= 0xEF) {
        if (!continuation(1) || !continuation(2)) {
            return 0;
        }
        const std::uint8_t second = byte(1);
        if ((lead == 0xE0 && second < 0xA0) || (lead == 0xED && second > 0x9F)) {
            return 0;
        }
        // U+FFFE and U+FFFF are not XML characters.
        if (lead == 0xEF && second == 0xBF && byte(2) >= 0xBE) {
            return 0;
        }
        return 3;
    }
    if (lead >= 0xF0 && lead <= 0xF4) {
        if (!continuation(1) || !continuation(2) || !continuation(3)) {
            return 0;
        }
        const std::uint8_t second = byte(1);
        if ((lead == 0xF0 && second < 0x90) || (lead == 0xF4 && second > 0x8F)) {
            return 0;
        }
        return 4;
    }
    return 0;
}

// Whether a byte goes out as it is: printable ASCII other than the markup characters. A table,
// since every byte of every value in a response is looked up here.
constexpr std::array<bool, 256> kPassesUnchanged = [] {
    std::array<bool, 256> table{};
    for (int c = 0x20; c < 0x7F; ++c) {
        table[c] = c != '&' && c != '<' && c != '>' && c != '"' && c != '\'';
    }
    return table;
}();

bool passesUnchanged(char c) {
    return kPassesUnchanged[static_cast<std::uint8_t>(c)];
}

// The character references bytes are written as; any other byte needs none.
constexpr std::pair<char, std::string_view> kCharacterReferences[] = {
    {'&', "&amp;"},   {'<', "&lt;"},  {'>', "&gt;"},   {'"', "&quot;"},
    {'\'', "&apos;"}, {'\t', "&#9;"}, {'\n', "&#10;"}, {'\r', "&#13;"},
};

// The character reference `c` is written as, "" when it needs none.
std::string_view characterReference(char c) {
    for (const auto& reference : kCharacterReferences) {
        if (reference.first == c) {
            return reference.second;
        }
    }
    return {};
}

// Hands `put` the escaped form of `text` piece by piece.
template <typename Put>
void escape(std::string_view text, Put&& put) {
    std::size_t i = 0;
    while (i < text.size()) {
        // Runs of printable ASCII that need no reference go in whole.
        std::size_t plain = i;
        while (plain < text.size() && passesUnchanged(text[plain])) {
            ++plain;
        }
        put(text.substr(i, plain - i));
        i = plain;
        if (i == text.size()) {
            break;
        }
        const std::string_view reference = characterReference(text[i]);
        const std::size_t length = reference.empty() ? utf8SequenceLength(text.substr(i)) : 0;
        if (!reference.empty()) {
            put(reference);
            ++i;
        } else if (length == 0 || static_cast<std::uint8_t>(text[i]) < 0x20) {
            put(kReplacement);
            ++i;
        } else {
            put(text.substr(i, length));
            i += length;
        }
    }
}

}  // namespace

XmlWriter::XmlWriter() : out_(kInitialCapacity, '\0') {}

XmlWriter& XmlWriter::open(std::string_view name) {
    endStartTag();
    put('<');
    put(name);
    open_.push_back(name);
    inStartTag_ = true;
    return *this;
}

XmlWriter& XmlWriter::attribute(std::string_view name, std::string_view value) {
    put(' ');
    put(name);
    put("=\"");
    putEscaped(value);
    put('"');
    return *this;
}

XmlWriter& XmlWriter::text(std::string_view content) {
    endStartTag();
    putEscaped(content);
    return *this;
}

XmlWriter& XmlWriter::close() {
    if (inStartTag_) {
        put("/>");
        inStartTag_ = false;
    } else {
        put("</");
        put(open_.back());
        put('>');
    }
    open_.pop_back();
    return *this;
}

XmlWriter& XmlWriter::element(std::string_view name, std::string_view content) {
    return open(name).text(content).close();
}

XmlWriter& XmlWriter::raw(std::string_view markup) {
    endStartTag();
    put(markup);
    return *this;
}

std::string XmlWriter::finish() {
    while (!open_.empty()) {
        close();
    }
    out_.resize(length_);
    return std::move(out_);
}

void XmlWriter::endStartTag() {
    if (inStartTag_) {
        put('>');
        inStartTag_ = false;
    }
}

void XmlWriter::grow(std::size_t needed) {
    out_.resize(std::max(2 * out_.size(), length_ + needed));
}

void XmlWriter::putEscaped(std::string_view text) {
    escape(text, [this](std::string_view piece) { put(piece); });
}

}  // namespace cimhost

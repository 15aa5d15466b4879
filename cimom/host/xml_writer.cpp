#include "cimom/host/xml_writer.h"

#include <array>
#include <cstdint>

namespace cimhost {
namespace {

constexpr char kReplacement[] = "\xEF\xBF\xBD";

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

}  // namespace

std::string escapeXml(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    appendEscapedXml(out, text);
    return out;
}

void appendEscapedXml(std::string& out, std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        // Runs of printable ASCII that need no reference go in whole.
        std::size_t plain = i;
        while (plain < text.size() && passesUnchanged(text[plain])) {
            ++plain;
        }
        out.append(text.data() + i, plain - i);
        i = plain;
        if (i == text.size()) {
            break;
        }
        const char c = text[i];
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            case '\'':
                out += "&apos;";
                break;
            case '\t':
                out += "&#9;";
                break;
            case '\n':
                out += "&#10;";
                break;
            case '\r':
                out += "&#13;";
                break;
            default: {
                const std::size_t length = utf8SequenceLength(text.substr(i));
                if (length == 0 || static_cast<std::uint8_t>(c) < 0x20) {
                    out += kReplacement;
                    ++i;
                    continue;
                }
                out.append(text.substr(i, length));
                i += length;
                continue;
            }
        }
        ++i;
    }
}

XmlWriter::XmlWriter() {
    out_.reserve(kInitialCapacity);
}

XmlWriter& XmlWriter::open(std::string_view name) {
    endStartTag();
    out_ += '<';
    out_ += name;
    open_.push_back(name);
    inStartTag_ = true;
    return *this;
}

XmlWriter& XmlWriter::attribute(std::string_view name, std::string_view value) {
    out_ += ' ';
    out_ += name;
    out_ += "=\"";
    appendEscapedXml(out_, value);
    out_ += '"';
    return *this;
}

XmlWriter& XmlWriter::text(std::string_view content) {
    endStartTag();
    appendEscapedXml(out_, content);
    return *this;
}

XmlWriter& XmlWriter::close() {
    if (inStartTag_) {
        out_ += "/>";
        inStartTag_ = false;
    } else {
        out_ += "</";
        out_ += open_.back();
        out_ += '>';
    }
    open_.pop_back();
    return *this;
}

XmlWriter& XmlWriter::element(std::string_view name, std::string_view content) {
    return open(name).text(content).close();
}

XmlWriter& XmlWriter::raw(std::string_view markup) {
    endStartTag();
    out_ += markup;
    return *this;
}

std::string XmlWriter::finish() {
    while (!open_.empty()) {
        close();
    }
    return std::move(out_);
}

void XmlWriter::endStartTag() {
    if (inStartTag_) {
        out_ += '>';
        inStartTag_ = false;
    }
}

}  // namespace cimhost

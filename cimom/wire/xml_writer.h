// XmlWriter builds an XML document in a string: elements opened and closed in order, attribute
// values and text escaped: & < > " ' and tab, newline and carriage return as character
// references. Escaping also turns what XML 1.0 cannot carry (control characters, bytes that are
// not UTF-8) into U+FFFD, so provider or registry bytes can never make the response unreadable.
// One writer per document; not thread-safe.
#pragma once

#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace cimhost {

class XmlWriter {
  public:
    XmlWriter();

    // Starts <name; attributes may follow until content or close(). The writer keeps the view
    // to close the element with, so `name` must outlive it: a literal, or the schema's text.
    XmlWriter& open(std::string_view name);
    XmlWriter& attribute(std::string_view name, std::string_view value);
    // The attribute, left out when `value` is empty (an optional attribute not known).
    XmlWriter& attributeIfAny(std::string_view name, std::string_view value) {
        return value.empty() ? *this : attribute(name, value);
    }
    XmlWriter& text(std::string_view content);
    // Ends the innermost open element, as <name/> when it got no content.
    XmlWriter& close();
    // open, text, close.
    XmlWriter& element(std::string_view name, std::string_view content);
    // Markup the caller vouches for, written as it is (the XML declaration).
    XmlWriter& raw(std::string_view markup);

    // The document, with every element still open closed.
    std::string finish();

  private:
    void endStartTag();
    // Inline with a plain copy, so that a literal piece costs no call and no length scan.
    void put(std::string_view piece) {
        if (piece.size() > out_.size() - length_) {
            grow(piece.size());
        }
        std::memcpy(&out_[length_], piece.data(), piece.size());
        length_ += piece.size();
    }
    void put(char c) { put(std::string_view(&c, 1)); }
    void putEscaped(std::string_view text);
    void grow(std::size_t needed);

    // Most responses fit, so the document is rarely moved as it grows.
    static constexpr std::size_t kInitialCapacity = 8192;

    // The document is out_[0, length_); the rest is room already allocated, so that a piece
    // costs one bounds check and a copy.
    std::string out_;
    std::size_t length_ = 0;
    std::vector<std::string_view> open_;
    bool inStartTag_ = false;
};

}  // namespace cimhost

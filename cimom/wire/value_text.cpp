#include "cimom/wire/value_text.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <utility>

#include "broker/cmpi_number.h"
#include "broker/cmpi_read.h"
#include "base/text_case.h"

namespace cimhost {
namespace {

struct TypeName {
    CMPIType type;
    std::string_view name;
};

const TypeName kTypeNames[] = {
    {CMPI_boolean, "boolean"}, {CMPI_char16, "char16"}, {CMPI_real32, "real32"},
    {CMPI_real64, "real64"},   {CMPI_uint8, "uint8"},   {CMPI_uint16, "uint16"},
    {CMPI_uint32, "uint32"},   {CMPI_uint64, "uint64"}, {CMPI_sint8, "sint8"},
    {CMPI_sint16, "sint16"},   {CMPI_sint32, "sint32"}, {CMPI_sint64, "sint64"},
    {CMPI_string, "string"},   {CMPI_chars, "string"},  {CMPI_dateTime, "datetime"},
    {CMPI_ref, "reference"},
};

// A scalar read out of CMPIData into one of a few plain shapes.
struct Scalar {
    enum class Kind { Boolean, Unsigned, Signed, Real, Text, DateTime, Char16, None };
    Kind kind = Kind::None;
    bool boolean = false;
    std::uint64_t u = 0;
    std::int64_t s = 0;
    double real = 0;
    ValueText text;  // Text, DateTime, Char16 (as UTF-8)

    Scalar() = default;
    explicit Scalar(bool b) : kind(Kind::Boolean), boolean(b) {}
    explicit Scalar(std::uint64_t n) : kind(Kind::Unsigned), u(n) {}
    explicit Scalar(std::int64_t n) : kind(Kind::Signed), s(n) {}
    explicit Scalar(double n) : kind(Kind::Real), real(n) {}
    Scalar(Kind textKind, ValueText t) : kind(textKind), text(std::move(t)) {}
};

Scalar readScalar(const CMPIData& d) {
    const CMPIValue& x = d.value;
    Scalar number;
    if (cimbroker::visitNumber(x, d.type, [&number](auto n) { number = Scalar(n); })) {
        return number;
    }
    switch (d.type) {
        case CMPI_boolean:
            return Scalar(x.boolean != 0);
        case CMPI_char16:
            return Scalar(Scalar::Kind::Char16, ValueText::held(cimbroker::char16ToUtf8(x.char16)));
        case CMPI_string:
            return Scalar(Scalar::Kind::Text, ValueText::borrowed(cimbroker::borrowText(x.string)));
        case CMPI_chars:
            return Scalar(Scalar::Kind::Text,
                          ValueText::borrowed(x.chars == nullptr ? "" : x.chars));
        case CMPI_dateTime:
            return Scalar(Scalar::Kind::DateTime, ValueText::held(cimbroker::dataToString(d)));
        default:
            return Scalar();
    }
}

ValueText booleanText(bool b) {
    return ValueText::borrowed(b ? "TRUE" : "FALSE");
}

ValueText realText(double value, bool single) {
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, single ? "%.9g" : "%.17g", value);
    return ValueText::held(buffer);
}

std::optional<ValueText> asInteger(const Scalar& v, CMPIType type) {
    CMPIValue number{};
    bool fits = false;
    if (v.kind == Scalar::Kind::Boolean) {
        fits = cimbroker::storeNumber(std::uint64_t{v.boolean}, type, &number);
    } else if (v.kind == Scalar::Kind::Unsigned) {
        fits = cimbroker::storeNumber(v.u, type, &number);
    } else if (v.kind == Scalar::Kind::Signed) {
        fits = cimbroker::storeNumber(v.s, type, &number);
    } else if (v.kind == Scalar::Kind::Text) {
        // A terminated copy; only text that is not already of the declared type comes here.
        fits = parseInteger(std::string(v.text.view()), type, &number);
    }
    std::string text;
    if (!fits) {
        return std::nullopt;
    }
    cimbroker::visitNumber(number, type, [&text](auto n) { text = std::to_string(n); });
    return ValueText::held(std::move(text));
}

std::optional<ValueText> asBoolean(const Scalar& v) {
    switch (v.kind) {
        case Scalar::Kind::Boolean:
            return booleanText(v.boolean);
        case Scalar::Kind::Unsigned:
            return booleanText(v.u != 0);
        case Scalar::Kind::Signed:
            return booleanText(v.s != 0);
        case Scalar::Kind::Text:
            if (cimp::equalsIgnoreCase(v.text.view(), "true") ||
                cimp::equalsIgnoreCase(v.text.view(), "false")) {
                return booleanText(cimp::equalsIgnoreCase(v.text.view(), "true"));
            }
            return std::nullopt;
        default:
            return std::nullopt;
    }
}

std::optional<ValueText> asReal(const Scalar& v, bool single) {
    switch (v.kind) {
        case Scalar::Kind::Real:
            return realText(v.real, single);
        case Scalar::Kind::Unsigned:
            return realText(static_cast<double>(v.u), single);
        case Scalar::Kind::Signed:
            return realText(static_cast<double>(v.s), single);
        case Scalar::Kind::Text: {
            if (v.text.view().empty()) {
                return std::nullopt;
            }
            const std::string text(v.text.view());
            char* end = nullptr;
            const double value = std::strtod(text.c_str(), &end);
            if (*end != '\0') {
                return std::nullopt;
            }
            return realText(value, single);
        }
        default:
            return std::nullopt;
    }
}

std::optional<ValueText> asString(const Scalar& v) {
    switch (v.kind) {
        case Scalar::Kind::Boolean:
            return booleanText(v.boolean);
        case Scalar::Kind::Unsigned:
            return ValueText::held(std::to_string(v.u));
        case Scalar::Kind::Signed:
            return ValueText::held(std::to_string(v.s));
        case Scalar::Kind::Real:
            return realText(v.real, false);
        case Scalar::Kind::None:
            return std::nullopt;
        default:
            return v.text;
    }
}

// One UTF-8 character of the Basic Multilingual Plane, which is what a char16 can hold.
bool isOneBmpCharacter(std::string_view text) {
    if (text.empty()) {
        return false;
    }
    const auto lead = static_cast<unsigned char>(text[0]);
    const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    return length <= 3 && text.size() == length;
}

// CIM datetime values are exactly 25 characters (yyyymmddhhmmss.mmmmmmsutc or the interval form).
constexpr std::size_t kDateTimeLength = 25;

std::optional<ValueText> as(const Scalar& v, std::string_view type) {
    // Most values are strings, so that name is tried before the eight integer ones.
    if (type == "string") {
        return asString(v);
    }
    const CMPIType code = cimTypeCode(type);
    if ((code & CMPI_INTEGER) != 0) {
        return asInteger(v, code);
    }
    if (type == "boolean") {
        return asBoolean(v);
    }
    if (type == "real32" || type == "real64") {
        return asReal(v, type == "real32");
    }
    if (type == "char16") {
        const bool one = v.kind == Scalar::Kind::Char16 ||
                         (v.kind == Scalar::Kind::Text && isOneBmpCharacter(v.text.view()));
        return one ? std::optional<ValueText>(v.text) : std::nullopt;
    }
    if (type == "datetime") {
        const bool ok = v.kind == Scalar::Kind::DateTime ||
                        (v.kind == Scalar::Kind::Text && v.text.view().size() == kDateTimeLength);
        return ok ? std::optional<ValueText>(v.text) : std::nullopt;
    }
    return std::nullopt;
}

}  // namespace

bool parseInteger(const std::string& text, CMPIType type, CMPIValue* out) {
    const bool isSigned = (type & CMPI_SINT) == CMPI_SINT;
    // strtoull would read "-1" as the largest value.
    if (text.empty() || (!isSigned && text.find('-') != std::string::npos)) {
        return false;
    }
    errno = 0;
    char* end = nullptr;
    const std::int64_t s = isSigned ? std::strtoll(text.c_str(), &end, 10) : 0;
    const std::uint64_t u = isSigned ? 0 : std::strtoull(text.c_str(), &end, 10);
    if (errno != 0 || *end != '\0') {
        return false;
    }
    return isSigned ? cimbroker::storeNumber(s, type, out) : cimbroker::storeNumber(u, type, out);
}

ValueText ValueText::borrowed(std::string_view text) {
    ValueText result;
    result.borrowed_ = text;
    return result;
}

ValueText ValueText::held(std::string text) {
    ValueText result;
    result.held_ = std::move(text);
    result.isHeld_ = true;
    return result;
}

std::string_view cimTypeName(CMPIType type) {
    const CMPIType scalar = type & ~CMPI_ARRAY;
    const TypeName* found = std::find_if(std::begin(kTypeNames), std::end(kTypeNames),
                                         [scalar](const TypeName& e) { return e.type == scalar; });
    return found == std::end(kTypeNames) ? std::string_view() : found->name;
}

CMPIType cimTypeCode(std::string_view name) {
    const TypeName* found =
        std::find_if(std::begin(kTypeNames), std::end(kTypeNames),
                     [name](const TypeName& e) { return cimp::equalsIgnoreCase(name, e.name); });
    return found == std::end(kTypeNames) ? CMPI_null : found->type;
}

std::optional<TypedText> scalarText(const CMPIData& scalar, std::string_view declaredType) {
    const Scalar value = readScalar(scalar);
    if (!declaredType.empty()) {
        std::optional<ValueText> text = as(value, declaredType);
        if (text) {
            return TypedText{declaredType, std::move(*text)};
        }
    }
    const std::string_view own = cimTypeName(scalar.type);
    std::optional<ValueText> text = as(value, own);
    if (own.empty() || !text) {
        return std::nullopt;
    }
    return TypedText{own, std::move(*text)};
}

}  // namespace cimhost

#include "broker/cmpi_read.h"

#include <algorithm>
#include <cstdio>
#include <type_traits>

#include "base/text.h"
#include "broker/cmpi_number.h"

namespace cimbroker {
namespace {

std::string quoted(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
        }
        out += c;
    }
    return out + "\"";
}

// A number in decimal; a real with the digits that read back as the same value of its type.
template <typename N>
std::string numberText(N number, CMPIType type) {
    if constexpr (std::is_floating_point_v<N>) {
        char text[40];
        std::snprintf(text, sizeof text, "%.*g", type == CMPI_real32 ? 9 : 17, number);
        return text;
    } else {
        return std::to_string(number);
    }
}

std::string joined(const std::vector<CMPIData>& elements, std::string (*render)(const CMPIData&)) {
    std::string text = "{";
    for (size_t i = 0; i < elements.size(); ++i) {
        text += (i == 0 ? "" : ",") + render(elements[i]);
    }
    return text + "}";
}

std::string dateTimeText(const CMPIDateTime* dateTime) {
    if (dateTime == nullptr || dateTime->ft == nullptr) {
        return std::string();
    }
    return toStdString(dateTime->ft->getStringFormat(dateTime, nullptr));
}

std::string instanceText(const CMPIInstance* instance) {
    if (instance == nullptr || instance->ft == nullptr) {
        return std::string();
    }
    return pathToString(instance->ft->getObjectPath(instance, nullptr));
}

// The class name, namespace and host readers differ only in the slot they call.
using PathTextSlot = CMPIString* (*CMPIObjectPathFT::*)(const CMPIObjectPath*, CMPIStatus*);

std::string_view borrowPathText(const CMPIObjectPath* path, PathTextSlot get) {
    return path != nullptr && path->ft != nullptr ? borrowText((path->ft->*get)(path, nullptr))
                                                  : std::string_view();
}

// Room reserved up front for a count an object reports, which need not be ours to trust: typical
// objects fit, and a larger one grows as it is read.
constexpr CMPICount kMaxReserved = 64;

template <typename Named, typename Cmpi, typename Count, typename At>
Named readNamed(const Cmpi* object, Count count, At at) {
    Named named;
    if (object == nullptr || object->ft == nullptr) {
        return named;
    }
    const CMPICount total = (object->ft->*count)(object, nullptr);
    named.reserve(std::min(total, kMaxReserved));
    for (CMPICount i = 0; i < total; ++i) {
        CMPIString* name = nullptr;
        const CMPIData data = (object->ft->*at)(object, i, &name, nullptr);
        named.emplace_back(typename Named::value_type::first_type(borrowText(name)), data);
    }
    return named;
}

}  // namespace

bool holdsNoValue(const CMPIData& data) {
    return (data.state & (CMPI_nullValue | CMPI_notFound | CMPI_badValue)) != 0 ||
           data.type == CMPI_null;
}

std::string toStdString(const CMPIString* s) {
    return std::string(borrowText(s));
}

std::string_view borrowText(const CMPIString* s) {
    if (s == nullptr || s->ft == nullptr || s->ft->getCharPtr == nullptr) {
        return std::string_view();
    }
    const char* chars = s->ft->getCharPtr(s, nullptr);
    return chars != nullptr ? std::string_view(chars) : std::string_view();
}

std::string_view borrowClassName(const CMPIObjectPath* path) {
    return borrowPathText(path, &CMPIObjectPathFT::getClassName);
}

std::string_view borrowNameSpace(const CMPIObjectPath* path) {
    return borrowPathText(path, &CMPIObjectPathFT::getNameSpace);
}

std::string_view borrowHost(const CMPIObjectPath* path) {
    return borrowPathText(path, &CMPIObjectPathFT::getHostname);
}

std::string char16ToUtf8(CMPIChar16 c) {
    std::string out;
    cimp::appendUtf8(out, c);
    return out;
}

std::string dataToString(const CMPIData& data) {
    if (holdsNoValue(data)) {
        return std::string();
    }
    if ((data.type & CMPI_ARRAY) != 0) {
        return joined(elementsOf(data.value.array), dataToString);
    }
    std::string number;
    if (visitNumber(data.value, data.type, [&](auto n) { number = numberText(n, data.type); })) {
        return number;
    }
    switch (data.type) {
        case CMPI_string:
            return toStdString(data.value.string);
        case CMPI_chars:
            return data.value.chars != nullptr ? data.value.chars : "";
        case CMPI_boolean:
            return data.value.boolean ? "TRUE" : "FALSE";
        case CMPI_char16:
            return char16ToUtf8(data.value.char16);
        case CMPI_ref:
            return pathToString(data.value.ref);
        case CMPI_instance:
            return instanceText(data.value.inst);
        case CMPI_dateTime:
            return dateTimeText(data.value.dateTime);
        default:
            return std::string();
    }
}

std::string dataToLiteral(const CMPIData& data) {
    if (holdsNoValue(data)) {
        return "NULL";
    }
    if ((data.type & CMPI_ARRAY) != 0) {
        return joined(elementsOf(data.value.array), dataToLiteral);
    }
    switch (data.type) {
        case CMPI_string:
        case CMPI_chars:
        case CMPI_char16:
        case CMPI_ref:
        case CMPI_instance:
        case CMPI_dateTime:
            return quoted(dataToString(data));
        default:
            return dataToString(data);
    }
}

std::string classNameOf(const CMPIObjectPath* path) {
    return std::string(borrowClassName(path));
}

std::string pathToString(const CMPIObjectPath* path) {
    return path != nullptr && path->ft != nullptr ? toStdString(path->ft->toString(path, nullptr))
                                                  : std::string();
}

NamedData keysOf(const CMPIObjectPath* path) {
    return readNamed<NamedData>(path, &CMPIObjectPathFT::getKeyCount, &CMPIObjectPathFT::getKeyAt);
}

BorrowedNamedData borrowKeys(const CMPIObjectPath* path) {
    return readNamed<BorrowedNamedData>(path, &CMPIObjectPathFT::getKeyCount,
                                        &CMPIObjectPathFT::getKeyAt);
}

NamedData propertiesOf(const CMPIInstance* instance) {
    return readNamed<NamedData>(instance, &CMPIInstanceFT::getPropertyCount,
                                &CMPIInstanceFT::getPropertyAt);
}

BorrowedNamedData borrowProperties(const CMPIInstance* instance) {
    return readNamed<BorrowedNamedData>(instance, &CMPIInstanceFT::getPropertyCount,
                                        &CMPIInstanceFT::getPropertyAt);
}

std::vector<CMPIData> elementsOf(const CMPIArray* array) {
    std::vector<CMPIData> elements;
    if (array == nullptr || array->ft == nullptr) {
        return elements;
    }
    const CMPICount size = array->ft->getSize(array, nullptr);
    elements.reserve(std::min(size, kMaxReserved));
    for (CMPICount i = 0; i < size; ++i) {
        elements.push_back(array->ft->getElementAt(array, i, nullptr));
    }
    return elements;
}

}  // namespace cimbroker

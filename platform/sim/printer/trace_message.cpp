#include "platform/sim/printer/trace_message.h"

#include <cstdio>
#include <cstring>

#include "platform/sim/utc_time.h"

namespace cimpsim {

namespace {

// Control bytes in traced texts would garble a terminal; show them escaped.
std::string printableText(const std::string& text) {
    std::string out;
    for (unsigned char c : text) {
        if (c < 0x20 || c == 0x7F) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", c);
            out += escaped;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

// An argument as it was written: 0x-hexadecimal, decimal, a quoted text or (null).
std::string rawTraceArg(const DecodedArg& arg) {
    char number[16];
    switch (arg.kind) {
        case 'X':
            std::snprintf(number, sizeof number, "0x%X", static_cast<unsigned>(arg.value));
            return number;
        case 'd':
            std::snprintf(number, sizeof number, "%d", static_cast<int>(arg.value));
            return number;
        case 's':
            return "\"" + printableText(arg.text) + "\"";
        default:
            return "(null)";
    }
}

// Applies one conversion `directive` (flags and width kept, length modifiers dropped) to `arg`.
std::string convert(const std::string& directive, char conversion, const DecodedArg& arg) {
    char out[256];
    std::string fmt = directive + conversion;
    bool number = arg.kind == 'X' || arg.kind == 'd';
    if (number && std::strchr("diouxXc", conversion) != nullptr) {
        if (conversion == 'd' || conversion == 'i' || conversion == 'c') {
            std::snprintf(out, sizeof out, fmt.c_str(), static_cast<int>(arg.value));
        } else {
            std::snprintf(out, sizeof out, fmt.c_str(), static_cast<unsigned>(arg.value));
        }
        return out;
    }
    if (conversion == 's' && (arg.kind == 's' || arg.kind == 'n')) {
        std::string text = arg.kind == 'n' ? std::string("(null)") : printableText(arg.text);
        std::snprintf(out, sizeof out, fmt.c_str(), text.c_str());
        return out;
    }
    return rawTraceArg(arg);
}

std::string rawArgs(const DecodedEntry& entry, size_t from) {
    std::string out;
    for (size_t i = from; i < entry.args.size(); ++i) {
        out += (i == from ? "" : ", ") + rawTraceArg(entry.args[i]);
    }
    return out;
}

}  // namespace

std::string traceMessage(const char* format, const DecodedEntry& entry) {
    if (format == nullptr) {
        char id[40];
        std::snprintf(id, sizeof id, "unknown format 0x%08X",
                      static_cast<unsigned>(entry.formatId));
        std::string out = id;
        out += " (" + printableText(entry.argTypes) + ")";
        return entry.args.empty() ? out : out + ": " + rawArgs(entry, 0);
    }
    std::string out;
    size_t next = 0;
    for (const char* p = format; *p != '\0'; ++p) {
        if (*p != '%') {
            out += *p;
            continue;
        }
        if (p[1] == '%') {
            out += '%';
            ++p;
            continue;
        }
        std::string directive = "%";
        const char* q = p + 1;
        for (; *q != '\0' && std::strchr("-+ #0123456789.", *q) != nullptr; ++q) {
            directive += *q;
        }
        for (; *q != '\0' && std::strchr("hljzt", *q) != nullptr; ++q) {
        }
        if (*q == '\0' || std::strchr("diouxXcs", *q) == nullptr) {
            out.append(p, static_cast<size_t>(q - p));  // not a conversion we fill: keep it
            p = q - 1;
            continue;
        }
        out += next < entry.args.size() ? convert(directive, *q, entry.args[next]) : "<missing>";
        ++next;
        p = q;
    }
    if (next < entry.args.size()) {
        out += " [" + rawArgs(entry, next) + "]";
    }
    return out;
}

std::string traceLine(const char* format, const DecodedEntry& entry) {
    std::string line = formatUtc(entry.timestampNanos) + " tid=" + std::to_string(entry.threadId) +
                       " line=" + std::to_string(entry.line);
    if (entry.type != 0) {
        line += " type=" + std::to_string(entry.type);
    }
    return line + " " + traceMessage(format, entry);
}

}  // namespace cimpsim

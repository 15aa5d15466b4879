#include "cimom/host/daemon_options.h"

#include <cerrno>
#include <cstdlib>

namespace cimhost {
namespace {

constexpr unsigned long kMaxThreads = 64;

bool parseNumber(const std::string& text, unsigned long max, unsigned long& out) {
    if (text.empty() || text[0] == '-' || text[0] == '+') {
        return false;
    }
    errno = 0;
    char* end = nullptr;
    const unsigned long value = std::strtoul(text.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || value > max) {
        return false;
    }
    out = value;
    return true;
}

// Applies one option with its value; false with `error` set when the value is bad or the
// option unknown.
bool apply(DaemonOptions& o, const std::string& name, const std::string& value,
           std::string& error) {
    const struct {
        const char* name;
        std::optional<std::string> DaemonOptions::*member;
    } paths[] = {
        {"--schema", &DaemonOptions::schemaFile},
        {"--registration", &DaemonOptions::registrationFile},
        {"--provider-dir", &DaemonOptions::providerDir},
        {"--platform-root", &DaemonOptions::platformRoot},
    };
    for (const auto& path : paths) {
        if (name == path.name) {
            o.*path.member = value;
            return true;
        }
    }
    unsigned long number = 0;
    if (name == "--address") {
        o.address = value;
    } else if (name == "--namespace") {
        o.nameSpace = value;
    } else if (name == "--port") {
        if (!parseNumber(value, 65535, number)) {
            error = "--port takes 0 to 65535, not \"" + value + "\"";
            return false;
        }
        o.port = static_cast<std::uint16_t>(number);
    } else if (name == "--threads") {
        if (!parseNumber(value, kMaxThreads, number) || number == 0) {
            error = "--threads takes 1 to " + std::to_string(kMaxThreads);
            return false;
        }
        o.threads = static_cast<unsigned>(number);
    } else {
        error = "unknown option " + name;
        return false;
    }
    return true;
}

}  // namespace

ParsedOptions parseDaemonOptions(const std::vector<std::string>& args) {
    ParsedOptions parsed;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string name = args[i];
        if (name == "--help" || name == "-h") {
            parsed.options.help = true;
            continue;
        }
        std::string value;
        const std::size_t equals = name.find('=');
        if (name.rfind("--", 0) == 0 && equals != std::string::npos) {
            value = name.substr(equals + 1);
            name = name.substr(0, equals);
        } else if (i + 1 < args.size()) {
            value = args[++i];
        } else {
            parsed.error = name + " needs a value";
            return parsed;
        }
        if (!apply(parsed.options, name, value, parsed.error)) {
            return parsed;
        }
    }
    return parsed;
}

std::string daemonUsage() {
    return "usage: cimp-cimom [options]\n"
           "Serves CIM-XML over HTTP (DSP0200) with the CMPI providers the registration file "
           "names.\n"
           "  --address ADDR        numeric address to listen on (default 127.0.0.1)\n"
           "  --port N              port (default 5988; 0 picks a free one)\n"
           "  --threads N           worker threads (default 4)\n"
           "  --namespace NS        namespace the schema describes (default root/orvcim)\n"
           "  --schema FILE         MOF schema (default: the shipped schema/root_orvcim.mof)\n"
           "  --registration FILE   provider registrations (default: the shipped\n"
           "                        schema/Vesk_AssociatedTOvPassthru.registration)\n"
           "  --provider-dir DIR    where lib<Library>.so is looked for first (default: the\n"
           "                        build's or the installed provider directory; then the\n"
           "                        system loader path)\n"
           "  --platform-root DIR   simulated platform root (default: $CIMP_PLATFORM_ROOT, else\n"
           "                        the shipped examples/platform in a build tree and the\n"
           "                        simulated platform's own default when installed)\n"
           "  --help                this text\n"
           "Prints \"listening on ADDR:PORT\" on stderr when ready; SIGINT or SIGTERM stops it.\n";
}

}  // namespace cimhost

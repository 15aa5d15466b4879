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

}  // namespace

ParsedOptions parseDaemonOptions(const std::vector<std::string>& args) {
    ParsedOptions parsed;
    DaemonOptions& o = parsed.options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string name = args[i];
        std::optional<std::string> value;
        const std::size_t equals = name.find('=');
        if (name.rfind("--", 0) == 0 && equals != std::string::npos) {
            value = name.substr(equals + 1);
            name = name.substr(0, equals);
        }
        if (name == "--help" || name == "-h") {
            o.help = true;
            continue;
        }
        if (!value) {
            if (i + 1 >= args.size()) {
                parsed.error = name + " needs a value";
                return parsed;
            }
            value = args[++i];
        }
        unsigned long number = 0;
        if (name == "--address") {
            o.address = *value;
        } else if (name == "--port") {
            if (!parseNumber(*value, 65535, number)) {
                parsed.error = "--port takes 0 to 65535, not \"" + *value + "\"";
                return parsed;
            }
            o.port = static_cast<std::uint16_t>(number);
        } else if (name == "--threads") {
            if (!parseNumber(*value, kMaxThreads, number) || number == 0) {
                parsed.error = "--threads takes 1 to " + std::to_string(kMaxThreads);
                return parsed;
            }
            o.threads = static_cast<unsigned>(number);
        } else if (name == "--namespace") {
            o.nameSpace = *value;
        } else if (name == "--schema") {
            o.schemaFile = *value;
        } else if (name == "--registration") {
            o.registrationFile = *value;
        } else if (name == "--provider-dir") {
            o.providerDir = *value;
        } else if (name == "--platform-root") {
            o.platformRoot = *value;
        } else {
            parsed.error = "unknown option " + name;
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

#include "cimom/host/daemon_options.h"

#include <algorithm>
#include <iterator>

#include "cimom/host/cim_service.h"

namespace cimhost {
namespace {

constexpr unsigned long kMaxThreads = 64;
constexpr unsigned long kMaxConnections = 100000;
constexpr unsigned long kMaxSeconds = 3600;

// Digits only: no sign, no blanks, no other base.
bool parseNumber(const std::string& text, unsigned long max, unsigned long& out) {
    if (text.empty() || text.size() > 10 ||
        text.find_first_not_of("0123456789") != std::string::npos) {
        return false;
    }
    const unsigned long value = std::stoul(text);
    if (value > max) {
        return false;
    }
    out = value;
    return true;
}

// The options that take a count, with their least and greatest values and, for the limits,
// the --help line before the default.
struct CountOption {
    const char* name;
    unsigned long least;
    unsigned long most;
    unsigned& (*target)(DaemonOptions&);
    const char* limitHelp;
};

const CountOption kCounts[] = {
    {"--threads", 1, kMaxThreads, [](DaemonOptions& o) -> unsigned& { return o.threads; },
     nullptr},
    {"--max-connections", 1, kMaxConnections,
     [](DaemonOptions& o) -> unsigned& { return o.limits.maxConnections; },
     "  --max-connections N   open connections in all"},
    {"--max-per-peer", 1, kMaxConnections,
     [](DaemonOptions& o) -> unsigned& { return o.limits.maxPerPeer; },
     "  --max-per-peer N      open connections from one address"},
    {"--request-timeout", 1, kMaxSeconds,
     [](DaemonOptions& o) -> unsigned& { return o.limits.requestSeconds; },
     "  --request-timeout S   seconds to deliver a request, headers and body"},
    {"--idle-timeout", 1, kMaxSeconds,
     [](DaemonOptions& o) -> unsigned& { return o.limits.idleSeconds; },
     "  --idle-timeout S      seconds of silence on a connection"},
};

// The limit options with their defaults, one line each.
std::string limitsUsage() {
    DaemonOptions defaults;
    std::string text;
    for (const CountOption& count : kCounts) {
        if (count.limitHelp != nullptr) {
            text += std::string(count.limitHelp) + " (default " +
                    std::to_string(count.target(defaults)) + ")\n";
        }
    }
    return text;
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
        {"--tls-cert", &DaemonOptions::tlsCertificate},
        {"--tls-key", &DaemonOptions::tlsKey},
        {"--auth-file", &DaemonOptions::authFile},
    };
    for (const auto& path : paths) {
        if (name == path.name) {
            o.*path.member = value;
            return true;
        }
    }
    unsigned long number = 0;
    for (const CountOption& count : kCounts) {
        if (name != count.name) {
            continue;
        }
        if (!parseNumber(value, count.most, number) || number < count.least) {
            error = name + " takes " + std::to_string(count.least) + " to " +
                    std::to_string(count.most) + ", not \"" + value + "\"";
            return false;
        }
        count.target(o) = static_cast<unsigned>(number);
        return true;
    }
    if (name == "--address") {
        o.address = value;
    } else if (name == "--namespace") {
        o.nameSpace = value;
    } else if (name == "--port" || name == "--tls-port") {
        if (!parseNumber(value, 65535, number)) {
            error = name + " takes 0 to 65535, not \"" + value + "\"";
            return false;
        }
        const auto port = static_cast<std::uint16_t>(number);
        if (name == "--port") {
            o.port = port;
        } else {
            o.tlsPort = port;
        }
    } else {
        error = "unknown option " + name;
        return false;
    }
    return true;
}

}  // namespace

ParsedOptions parseDaemonOptions(const std::vector<std::string>& args) {
    ParsedOptions parsed;
    const struct {
        const char* name;
        bool DaemonOptions::*member;
    } flags[] = {
        {"--help", &DaemonOptions::help},
        {"-h", &DaemonOptions::help},
        {"--quiet", &DaemonOptions::quiet},
        {"--allow-insecure-remote", &DaemonOptions::allowInsecureRemote},
    };
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string name = args[i];
        const auto flag = std::find_if(std::begin(flags), std::end(flags),
                                       [&](const auto& f) { return name == f.name; });
        if (flag != std::end(flags)) {
            parsed.options.*flag->member = true;
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
    if (parsed.options.tlsCertificate.has_value() != parsed.options.tlsKey.has_value()) {
        parsed.error = "--tls-cert and --tls-key go together";
    }
    return parsed;
}

std::string daemonUsage() {
    return "usage: cimp-cimom [options]\n"
           "Serves CIM-XML over HTTP (DSP0200) with the CMPI providers the registration file "
           "names.\n"
           "  --address ADDR        address or host name to listen on (default 127.0.0.1)\n"
           "  --port N              plain HTTP port (default 5988 without TLS, none with it;\n"
           "                        0 picks a free one)\n"
           "  --threads N           worker threads (default: one per core)\n"
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
           "  --quiet               no line per request on stderr\n"
           "HTTPS and authentication:\n"
           "  --tls-cert FILE       PEM certificate (chain) for HTTPS, TLS 1.2 and 1.3 only\n"
           "  --tls-key FILE        its PEM private key\n"
           "  --tls-port N          HTTPS port (default 5989)\n"
           "  --auth-file FILE      HTTP Basic users, \"user:hash\" lines (make them with\n"
           "                        \"cimp-cimom passwd FILE USER\", password on stdin)\n"
           "  --allow-insecure-remote  listen on a non-loopback address without a password\n"
           "                        file, or without TLS, all the same\n"
           "Limits (a client that reaches one is refused or cut off; others are served on):\n" +
               limitsUsage() +
           "  request bodies are limited to " +
           std::to_string(kMaxRequestBody) +
           " bytes\n"
           "  --help                this text\n"
           "Prints \"listening on ADDR:PORT\" (\" (https)\" after an HTTPS one) on stderr when\n"
           "ready; SIGINT or SIGTERM stops it.\n"
           "usage: cimp-cimom passwd FILE USER   adds USER or changes its password (read from\n"
           "                                     stdin) in the password file FILE\n";
}

}  // namespace cimhost

#include "cimom/daemon/daemon_options.h"

#include <algorithm>
#include <chrono>
#include <iterator>
#include <type_traits>
#include <variant>

namespace cimhost {
namespace {

constexpr unsigned long kMaxThreads = 64;
constexpr unsigned long kMaxConnections = 100000;
constexpr unsigned long kMaxSeconds = 3600;
constexpr unsigned long kMaxPort = 65535;
constexpr unsigned long kMaxSenders = 64;
constexpr unsigned long kMaxQueue = 1000000;
constexpr unsigned long kMaxSubscriptionObjects = 100000;

// Where a setting's value lives in DaemonOptions; the type says how its text is read.
// A duration is given in whole seconds.
using Field = std::variant<std::string*, std::optional<std::string>*, bool*, unsigned*,
                           std::size_t*, std::uint16_t*, std::optional<std::uint16_t>*,
                           std::chrono::milliseconds*>;

struct Setting {
    const char* heading;  // printed before this setting in --help; null for none
    const char* name;
    const char* valueName;  // null for a flag
    Field (*field)(DaemonOptions&);
    unsigned long least;  // bounds of a number
    unsigned long most;
    const char* help;
    bool showsDefault;  // --help appends "(default <value>)"
};

#define FIELD(member) [](DaemonOptions& o) -> Field { return &o.member; }

const Setting kSettings[] = {
    {nullptr, "address", "ADDR", FIELD(address), 0, 0, "address or host name to listen on", true},
    {nullptr, "port", "N", FIELD(port), 0, kMaxPort,
     "plain HTTP port (default 5988 without TLS, none with it;\n"
     "                        0 picks a free one)",
     false},
    {nullptr, "threads", "N", FIELD(threads), 1, kMaxThreads,
     "worker threads (default: one per core)", false},
    {nullptr, "namespace", "NS", FIELD(nameSpace), 0, 0, "namespace the schema describes", true},
    {nullptr, "schema", "FILE", FIELD(schemaFile), 0, 0,
     "MOF schema (default: the shipped schema/root_orvcim.mof)", false},
    {nullptr, "registration", "PATH", FIELD(registrationFile), 0, 0,
     "provider registrations: a file, or a folder whose\n"
     "                        *.registration files are read (default: the shipped\n"
     "                        schema folder: the association and alert providers)",
     false},
    {nullptr, "provider-dir", "DIR", FIELD(providerDir), 0, 0,
     "where lib<Library>.so is looked for first (default: the\n"
     "                        build's or the installed provider directory; then the\n"
     "                        system loader path)",
     false},
    {nullptr, "platform-root", "DIR", FIELD(platformRoot), 0, 0,
     "simulated platform root (default: $CIMP_PLATFORM_ROOT, else\n"
     "                        the shipped examples/platform in a build tree and the\n"
     "                        simulated platform's own default when installed)",
     false},
    {nullptr, "state-dir", "DIR", FIELD(stateDir), 0, 0,
     "where indication subscriptions persist (default: none;\n"
     "                        then they last until the daemon stops)",
     false},
    {nullptr, "quiet", nullptr, FIELD(quiet), 0, 0, "no line per request on stderr", false},
    {"HTTPS and authentication:\n", "tls-cert", "FILE", FIELD(tlsCertificate), 0, 0,
     "PEM certificate (chain) for HTTPS, TLS 1.2 and 1.3 only", false},
    {nullptr, "tls-key", "FILE", FIELD(tlsKey), 0, 0, "its PEM private key", false},
    {nullptr, "tls-port", "N", FIELD(tlsPort), 0, kMaxPort, "HTTPS port", true},
    {nullptr, "auth-file", "FILE", FIELD(authFile), 0, 0,
     "HTTP Basic users, \"user:hash\" lines (make them with\n"
     "                        \"cimp-cimom passwd FILE USER\", password on stdin)",
     false},
    {nullptr, "allow-insecure-remote", nullptr, FIELD(allowInsecureRemote), 0, 0,
     "listen on a non-loopback address without a password\n"
     "                        file, or without TLS, all the same",
     false},
    {"Limits (a client that reaches one is refused or cut off; others are served on):\n",
     "max-connections", "N", FIELD(limits.maxConnections), 1, kMaxConnections,
     "open connections in all", true},
    {nullptr, "max-per-peer", "N", FIELD(limits.maxPerPeer), 1, kMaxConnections,
     "open connections from one address", true},
    {nullptr, "request-timeout", "S", FIELD(limits.requestSeconds), 1, kMaxSeconds,
     "seconds to deliver a request, headers and body", true},
    {nullptr, "idle-timeout", "S", FIELD(limits.idleSeconds), 1, kMaxSeconds,
     "seconds of silence on a connection", true},
    {"Delivery of indications to listeners:\n", "delivery-queue-limit", "N",
     FIELD(delivery.queueLimit), 1, kMaxQueue,
     "indications waiting per listener;\n"
     "                        beyond, new ones are dropped",
     true},
    {nullptr, "delivery-senders", "N", FIELD(delivery.senders), 1, kMaxSenders,
     "threads, and so connections, sending to\n"
     "                        listeners",
     true},
    {nullptr, "delivery-connect-timeout", "S", FIELD(delivery.connectTimeout), 1, kMaxSeconds,
     "seconds to connect to a listener", true},
    {nullptr, "delivery-send-timeout", "S", FIELD(delivery.sendTimeout), 1, kMaxSeconds,
     "seconds for a listener to take one\n"
     "                        indication, once connected",
     true},
    {nullptr, "delivery-ca-file", "FILE", FIELD(delivery.caFile), 0, 0,
     "PEM CA certificates that HTTPS\n"
     "                        listeners' certificates are checked against\n"
     "                        (default: the system's)",
     false},
    {nullptr, "delivery-verify", "yes|no", FIELD(delivery.verifyPeer), 0, 0,
     "check HTTPS listeners' certificates;\n"
     "                        no only in a test lab",
     true},
    {"Indication subscriptions (beyond a limit, CreateInstance is refused):\n", "max-filters",
     "N", FIELD(subscriptionLimits.filters), 0, kMaxSubscriptionObjects, "indication filters kept",
     true},
    {nullptr, "max-destinations", "N", FIELD(subscriptionLimits.destinations), 0,
     kMaxSubscriptionObjects, "listener destinations kept", true},
    {nullptr, "max-subscriptions", "N", FIELD(subscriptionLimits.subscriptions), 0,
     kMaxSubscriptionObjects, "subscriptions kept", true},
    {"Lifecycle indications:\n", "lifecycle-poll-interval", "S", FIELD(lifecycle.pollInterval), 1,
     kMaxSeconds,
     "seconds between polls of the classes\n"
     "                        that lifecycle subscriptions watch",
     true},
};

#undef FIELD

// Digits only: no sign, no blanks, no other base.
cimp::Outcome parseNumber(const Setting& setting, const std::string& text, unsigned long* out) {
    if (!text.empty() && text.size() <= 10 &&
        text.find_first_not_of("0123456789") == std::string::npos) {
        *out = std::stoul(text);
        if (*out >= setting.least && *out <= setting.most) {
            return cimp::Outcome::success();
        }
    }
    return cimp::Outcome::badUsage("", "takes " + std::to_string(setting.least) + " to " +
                                           std::to_string(setting.most) + ", not \"" + text + "\"");
}

cimp::Outcome parseInto(const Setting& setting, const std::string& text, Field field) {
    return std::visit(
        [&](auto* target) -> cimp::Outcome {
            using Target = std::remove_pointer_t<decltype(target)>;
            if (text.empty()) {
                return cimp::Outcome::badUsage("", "needs a value");
            }
            if constexpr (std::is_same_v<Target, bool>) {
                if (text != "yes" && text != "no") {
                    return cimp::Outcome::badUsage("", "takes yes or no, not \"" + text + "\"");
                }
                *target = text == "yes";
            } else if constexpr (std::is_same_v<Target, std::string> ||
                                 std::is_same_v<Target, std::optional<std::string>>) {
                *target = text;
            } else {
                unsigned long number = 0;
                const cimp::Outcome parsed = parseNumber(setting, text, &number);
                if (!parsed.ok()) {
                    return parsed;
                }
                if constexpr (std::is_same_v<Target, std::chrono::milliseconds>) {
                    *target = std::chrono::seconds(number);
                } else {
                    *target = static_cast<Target>(number);
                }
            }
            return cimp::Outcome::success();
        },
        field);
}

std::string textOf(Field field) {
    return std::visit(
        [](auto* target) -> std::string {
            using Target = std::remove_pointer_t<decltype(target)>;
            if constexpr (std::is_same_v<Target, bool>) {
                return *target ? "yes" : "no";
            } else if constexpr (std::is_same_v<Target, std::string>) {
                return *target;
            } else if constexpr (std::is_same_v<Target, std::optional<std::string>>) {
                return target->value_or("");
            } else if constexpr (std::is_same_v<Target, std::optional<std::uint16_t>>) {
                return *target ? std::to_string(**target) : "";
            } else if constexpr (std::is_same_v<Target, unsigned>) {
                return *target != 0 ? std::to_string(*target) : "";  // threads 0: one per core
            } else if constexpr (std::is_same_v<Target, std::chrono::milliseconds>) {
                return std::to_string(
                    std::chrono::duration_cast<std::chrono::seconds>(*target).count());
            } else {
                return std::to_string(*target);
            }
        },
        field);
}

}  // namespace

std::size_t settingCount() {
    return std::size(kSettings);
}

const char* settingName(std::size_t setting) {
    return kSettings[setting].name;
}

bool settingIsFlag(std::size_t setting) {
    return kSettings[setting].valueName == nullptr;
}

std::optional<std::size_t> findSetting(const std::string& name) {
    const auto found =
        std::find_if(std::begin(kSettings), std::end(kSettings),
                     [&name](const Setting& setting) { return name == setting.name; });
    return found == std::end(kSettings) ? std::nullopt
                                        : std::optional<std::size_t>(found - std::begin(kSettings));
}

cimp::Outcome applySetting(std::size_t setting, const std::string& text, DaemonOptions* options) {
    return parseInto(kSettings[setting], text, kSettings[setting].field(*options));
}

std::string settingText(std::size_t setting, const DaemonOptions& options) {
    DaemonOptions copy = options;
    return textOf(kSettings[setting].field(copy));
}

std::string settingsUsage() {
    DaemonOptions defaults;
    std::string text;
    for (std::size_t i = 0; i < settingCount(); ++i) {
        const Setting& setting = kSettings[i];
        if (setting.heading != nullptr) {
            text += setting.heading;
        }
        constexpr std::size_t kHelpColumn = 24;
        std::string line = std::string("  --") + setting.name;
        if (setting.valueName != nullptr) {
            line += std::string(" ") + setting.valueName;
        }
        line.resize(std::max(line.size() + 2, kHelpColumn), ' ');
        text += line + setting.help;
        if (setting.showsDefault) {
            text += " (default " + settingText(i, defaults) + ")";
        }
        text += '\n';
    }
    return text;
}

}  // namespace cimhost

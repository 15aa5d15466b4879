// The settings of cimp-cimom and the one table that defines them: each setting has one name,
// "--name" on the command line and "name" in the configuration file, and one parser for its
// value, whichever of the two gives it. Pure parsing: paths are taken as given and checked later.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "base/outcome.h"
#include "cimom/delivery/delivery_service.h"
#include "cimom/http/http_limits.h"
#include "cimom/indication/lifecycle_settings.h"
#include "cimom/indication/subscription_limits.h"

namespace cimhost {

struct DaemonOptions {
    std::string address = "127.0.0.1";
    std::optional<std::uint16_t> port;  // plain HTTP; 5988 when neither it nor TLS is asked for
    std::uint16_t tlsPort = 5989;
    unsigned threads = 0;  // 0: one per core
    HttpLimits limits;
    bool quiet = false;
    std::string nameSpace = "root/orvcim";
    std::optional<std::string> schemaFile;
    std::optional<std::string> registrationFile;
    std::optional<std::string> providerDir;
    std::optional<std::string> platformRoot;
    std::optional<std::string> stateDir;  // none: indication subscriptions are not kept
    std::optional<std::string> tlsCertificate;
    std::optional<std::string> tlsKey;
    std::optional<std::string> authFile;
    bool allowInsecureRemote = false;
    DeliverySettings delivery;  // its retry policy and log are the indication service's
    LifecycleSettings lifecycle;
    SubscriptionLimits subscriptionLimits;
};

// Settings are numbered 0 .. settingCount()-1 in --help order.
std::size_t settingCount();
const char* settingName(std::size_t setting);  // without the leading dashes
// A flag takes no value on the command line ("--quiet"); "yes" or "no" elsewhere.
bool settingIsFlag(std::size_t setting);
std::optional<std::size_t> findSetting(const std::string& name);

// Sets `setting` from its text. The error names the fault, not the setting ("takes 1 to 64,
// not \"0\""): the caller says where the text came from.
cimp::Outcome applySetting(std::size_t setting, const std::string& text, DaemonOptions* options);

// The value as it would be written in the configuration file; empty when unset.
std::string settingText(std::size_t setting, const DaemonOptions& options);

// The --help lines of every setting.
std::string settingsUsage();

}  // namespace cimhost

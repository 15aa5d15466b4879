#include "cimom/daemon/daemon_settings.h"

#include <algorithm>
#include <filesystem>
#include <optional>

#include "cimom/daemon/config_file.h"
#include "cimom/http/http_limits.h"

namespace cimhost {

namespace {

constexpr const char* kOriginDefault = "default";
constexpr const char* kOriginCommandLine = "command line";

struct Assignment {
    std::size_t setting;
    std::string value;
};

// The command line's settings in order, and its actions.
struct CommandLine {
    std::vector<Assignment> assignments;
    std::optional<std::string> configFile;
    bool help = false;
    bool printConfig = false;
};

cimp::Outcome readCommandLine(const std::vector<std::string>& args, CommandLine* line) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--help" || args[i] == "-h" || args[i] == "--print-config") {
            (args[i] == "--print-config" ? line->printConfig : line->help) = true;
            continue;
        }
        const std::size_t equals = args[i].find('=');
        const std::string option = args[i].substr(0, equals);
        const std::optional<std::size_t> setting =
            option.rfind("--", 0) == 0 ? findSetting(option.substr(2)) : std::nullopt;
        if (!setting && option != "--config") {
            return cimp::Outcome::badUsage("", "unknown option " + option);
        }
        std::string value;
        if (equals != std::string::npos) {
            value = args[i].substr(equals + 1);
        } else if (setting && settingIsFlag(*setting)) {
            value = "yes";
        } else if (i + 1 < args.size()) {
            value = args[++i];
        } else {
            return cimp::Outcome::badUsage("", option + " needs a value");
        }
        if (!setting) {
            line->configFile = value;
            continue;
        }
        line->assignments.push_back({*setting, value});
    }
    return cimp::Outcome::success();
}

cimp::Outcome applyConfigFile(const std::string& path, DaemonSettings* settings) {
    std::vector<ConfigLine> lines;
    const cimp::Outcome read = readConfigFile(path, &lines);
    if (!read.ok()) {
        return read;
    }
    for (const ConfigLine& line : lines) {
        const std::string at = path + ":" + std::to_string(line.number);
        const std::optional<std::size_t> setting = findSetting(line.key);
        if (!setting) {
            return cimp::Outcome::badUsage(at, "unknown setting \"" + line.key + "\"");
        }
        std::string& origin = settings->origins[*setting];
        if (origin != kOriginDefault) {
            return cimp::Outcome::badUsage(at, line.key + " is set on " + origin + " already");
        }
        const cimp::Outcome applied = applySetting(*setting, line.value, &settings->options);
        if (!applied.ok()) {
            return cimp::Outcome::badUsage(at, line.key + " " + applied.why());
        }
        origin = at;
    }
    return cimp::Outcome::success();
}

}  // namespace

cimp::Outcome loadDaemonSettings(const std::vector<std::string>& args,
                                 const std::string& defaultConfig, DaemonSettings* settings) {
    CommandLine line;
    cimp::Outcome status = readCommandLine(args, &line);
    settings->origins.assign(settingCount(), kOriginDefault);
    settings->help = line.help;
    settings->printConfig = line.printConfig;
    if (!status.ok() || line.help) {
        return status;
    }
    if (line.configFile) {
        status = applyConfigFile(*line.configFile, settings);
    } else if (std::error_code error;
               !defaultConfig.empty() && std::filesystem::exists(defaultConfig, error)) {
        status = applyConfigFile(defaultConfig, settings);
    }
    if (!status.ok()) {
        return status;
    }
    for (const Assignment& assignment : line.assignments) {
        const cimp::Outcome applied =
            applySetting(assignment.setting, assignment.value, &settings->options);
        if (!applied.ok()) {
            return cimp::Outcome::badUsage(
                "", std::string("--") + settingName(assignment.setting) + " " + applied.why());
        }
        settings->origins[assignment.setting] = kOriginCommandLine;
    }
    if (settings->options.tlsCertificate.has_value() != settings->options.tlsKey.has_value()) {
        return cimp::Outcome::badUsage("", "tls-cert and tls-key go together");
    }
    return cimp::Outcome::success();
}

std::string describeSettings(const DaemonSettings& settings) {
    constexpr std::size_t kOriginColumn = 40;
    std::string text;
    for (std::size_t i = 0; i < settingCount(); ++i) {
        const std::string value = settingText(i, settings.options);
        std::string line =
            std::string(settingName(i)) + " = " + (value.empty() ? "(not set)" : value);
        line.resize(std::max(line.size() + 2, kOriginColumn), ' ');
        text += line + "# " + settings.origins[i] + '\n';
    }
    return text;
}

std::string daemonUsage() {
    return "usage: cimp-cimom [options]\n"
           "Serves CIM-XML over HTTP (DSP0200) with the CMPI providers the registration file "
           "names.\n"
           "  --config FILE         settings as \"option = value\" lines, the options below\n"
           "                        without their dashes (default: the installed\n"
           "                        cimp-cimom.conf when there is one); the command line\n"
           "                        overrides the file\n"
           "  --print-config        print the settings in force and where each came from\n" +
           settingsUsage() + "  request bodies are limited to " + std::to_string(kMaxRequestBody) +
           " bytes\n"
           "  --help                this text\n"
           "A flag such as --quiet is \"quiet = yes\" in the file; --quiet=no turns it off.\n"
           "Prints \"listening on ADDR:PORT\" (\" (https)\" after an HTTPS one) on stderr when\n"
           "ready; SIGINT or SIGTERM stops it.\n"
           "usage: cimp-cimom passwd FILE USER   adds USER or changes its password (read from\n"
           "                                     stdin) in the password file FILE\n";
}

}  // namespace cimhost

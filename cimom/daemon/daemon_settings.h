// The daemon's settings from its command line and its configuration file together: built-in
// defaults, then the file's lines, then the command line, each later one overriding; and where
// each setting's value came from, for --print-config.
#pragma once

#include <string>
#include <vector>

#include "base/outcome.h"
#include "cimom/daemon/daemon_options.h"

namespace cimhost {

struct DaemonSettings {
    DaemonOptions options;
    std::vector<std::string> origins;  // per setting: default, FILE:LINE or command line
    bool help = false;
    bool printConfig = false;
};

// Reads `args` and the configuration file named by --config FILE, else `defaultConfig` when it
// is not empty and exists. Failed, with a description ready to print, on an unknown option or
// key, a bad value (from the file: "FILE:LINE: ..."), a key given twice in the file, or a file
// named by --config that cannot be read.
cimp::Outcome loadDaemonSettings(const std::vector<std::string>& args,
                                 const std::string& defaultConfig, DaemonSettings* settings);

// The --print-config text: one "name = value  # origin" line per setting.
std::string describeSettings(const DaemonSettings& settings);

// The --help text.
std::string daemonUsage();

}  // namespace cimhost

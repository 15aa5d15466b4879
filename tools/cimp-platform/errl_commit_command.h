// cimp-platform errl commit [--rc CODE] [--words W1 W2] [--call NAME] [--key KEY]: commits one
// error-log entry exactly as a failing platform read commits one (the simulated platform's own
// entry and commit), so that an alert can be raised without failing a request. Defaults: return
// code 0x51A00010 (committed by hand), words 0xD400 0x2000 (those every commit of the provider
// passes), call "UtilReg::read", key "cimp-platform/errl_commit".
#ifndef CIMP_TOOLS_CIMP_PLATFORM_ERRL_COMMIT_COMMAND_H
#define CIMP_TOOLS_CIMP_PLATFORM_ERRL_COMMIT_COMMAND_H

#include <ostream>
#include <string>

#include "base/outcome.h"
#include "tools/cimp-platform/arg_list.h"

namespace cimpcli {

// `args` follow the word "commit".
cimp::Outcome runErrlCommit(const std::string& root, ArgList& args, std::ostream& out);

}  // namespace cimpcli

#endif

// What the simulated platform tells the process that hosts the provider, beside the services the
// provider calls: the root its services read and how many entries its error log holds. The
// daemon asks them to show its settings and for its metrics, so that it restates none of the
// platform's rules; the provider asks neither. Safe on any thread.
#ifndef CIMP_PLATFORM_PLATFORM_STATE_H
#define CIMP_PLATFORM_PLATFORM_STATE_H

#include <cstdint>
#include <optional>
#include <string>

// CIMP_PLATFORM_ROOT when the platform takes it (set to an absolute path); nothing otherwise, and
// the platform then reads the root compiled into it.
std::optional<std::string> cimpPlatformRootFromEnvironment();

// Entries committed to the error log of the root in force: the number the platform would give the
// next entry, less one (every process's entries, as the platform numbers them under a lock across
// processes; clearing the log starts again at 0). 0 when the log is missing, empty or its last
// lines carry no number. Reads only the log's last KiB.
std::uint64_t cimpCommittedErrlEntries();

#endif

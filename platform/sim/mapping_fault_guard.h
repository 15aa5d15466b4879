// Keeps a shared file mapping from killing its process when the file shrinks under it.
//
// Touching a mapped page that lies beyond the end of its file raises SIGBUS. While a mapping is
// guarded, a SIGBUS inside it grows the file back to the mapped size (the lost bytes read as
// zeros) and lets the access run again; when the file cannot be grown, or the fault had another
// cause, anonymous memory replaces the mapping so the writer carries on in memory.
//
// Why a handler for the whole process: the fault is raised by the writer's plain store into the
// ring, which cannot check the file's size first (it may be cut between the check and the store),
// and Linux gives a signal one disposition per process, not per mapping or per library. So the
// first guarded mapping installs the handler once for the process. It acts only on a fault whose
// address lies in a guarded mapping; any other SIGBUS (the host's own mappings, a failing disk) is
// passed on unchanged to the handler that was installed before it, or gets the default action and
// ends the process as it would have without the platform.
#ifndef CIMP_PLATFORM_SIM_MAPPING_FAULT_GUARD_H
#define CIMP_PLATFORM_SIM_MAPPING_FAULT_GUARD_H

#include <cstddef>
#include <cstdint>

namespace cimpsim {

constexpr size_t kMaxGuardedMappings = 64;

// Guards `size` bytes at `data`, a read-write mapping of the open file `fd`, which must stay
// open until unguardMapping. False when the table is full or the handler cannot be installed.
bool guardMapping(uint8_t* data, size_t size, int fd);

// Stops guarding the mapping at `data`; call before unmapping it.
void unguardMapping(uint8_t* data);

// Grows the file `fd` back to `size` bytes when something shrank it; false when it was not
// shorter or cannot be grown. Safe in a signal handler.
bool growBack(int fd, size_t size);

}  // namespace cimpsim

#endif

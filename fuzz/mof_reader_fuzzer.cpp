// MOF text read and checked into a schema, as the host loads a namespace. Includes resolve in the
// shipped schema folder, so the seeds may pull in the qualifier and base files.
#include <cstddef>
#include <cstdint>
#include <string>

#include "cimom/mof/schema.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string fileName = std::string(CIMP_FUZZ_SCHEMA_DIR) + "/fuzz_input.mof";
    cimmof::Schema schema;
    cimmof::Schema::loadString(std::string(reinterpret_cast<const char*>(data), size), fileName,
                               &schema);
    return 0;
}

// A large generated schema to load beside ours, so benchmarks can show whether the host's cost
// per request grows with the schema: 2,000 classes in trees ten deep under CIM_ManagedElement,
// 300 of them associations, every one able to reference any managed element (ours included).
#pragma once

#include <string>

namespace cimpbench {

// MOF text that includes root_orvcim.mof (resolved beside the file it is loaded as) and then
// declares the generated classes.
std::string generatedSchemaMof();

}  // namespace cimpbench

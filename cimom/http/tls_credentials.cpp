#include "cimom/http/tls_credentials.h"

#include "cimom/http/small_file.h"

namespace cimhost {
namespace {

constexpr std::size_t kMaxPemSize = 256 * 1024;

}  // namespace

Status readTlsCredentials(const std::string& certificateFile, const std::string& keyFile,
                          TlsCredentials& credentials) {
    Status read = readSmallFile(certificateFile, kMaxPemSize, credentials.certificatePem);
    return read.isOk() ? readSmallFile(keyFile, kMaxPemSize, credentials.keyPem) : read;
}

}  // namespace cimhost

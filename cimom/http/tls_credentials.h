// The certificate and key an HTTPS listener presents, read once at start-up, and the GnuTLS
// priorities it offers: TLS 1.2 and 1.3 only, forward-secret key exchange, AEAD ciphers.
#pragma once

#include <string>

#include "cimom/cim/status.h"

namespace cimhost {

constexpr const char* kTlsPriorities =
    "SECURE128:-VERS-ALL:+VERS-TLS1.3:+VERS-TLS1.2:-CIPHER-ALL:+AES-256-GCM:+AES-128-GCM:"
    "+CHACHA20-POLY1305:-MAC-ALL:+AEAD:-KX-ALL:+ECDHE-ECDSA:+ECDHE-RSA:%SERVER_PRECEDENCE";

struct TlsCredentials {
    std::string certificatePem;
    std::string keyPem;
};

// Failed when a file cannot be read or is larger than a PEM file has reason to be (256 KiB).
Status readTlsCredentials(const std::string& certificateFile, const std::string& keyFile,
                          TlsCredentials& credentials);

}  // namespace cimhost

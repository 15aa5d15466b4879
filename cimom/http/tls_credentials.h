// The certificate and key an HTTPS listener presents, read once at start-up, and the GnuTLS
// priorities it offers: TLS 1.2 and 1.3 only, forward-secret key exchange, AEAD ciphers.
#pragma once

#include <cstddef>
#include <string>

namespace cimhost {

constexpr const char* kTlsPriorities =
    "SECURE128:-VERS-ALL:+VERS-TLS1.3:+VERS-TLS1.2:-CIPHER-ALL:+AES-256-GCM:+AES-128-GCM:"
    "+CHACHA20-POLY1305:-MAC-ALL:+AEAD:-KX-ALL:+ECDHE-ECDSA:+ECDHE-RSA:%SERVER_PRECEDENCE";

struct TlsCredentials {
    std::string certificatePem;
    std::string keyPem;
};

// More than a PEM file has reason to hold.
constexpr std::size_t kMaxPemSize = 256 * 1024;

}  // namespace cimhost

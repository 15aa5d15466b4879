// The service processor's two IP address texts. Keeps no state; safe on any thread.
#ifndef CIMP_SYSDATA_IP_ADDRS_H
#define CIMP_SYSDATA_IP_ADDRS_H

class ErrlEntry;

struct CimpIpAddr_t {
    char eth0Addr[16];  // "fstp/eth0_ipaddress", at most 15 characters
    char eth1Addr[16];  // "fstp/eth1_ipaddress", at most 15 characters
};

// Fills both fields, from the registry on success or with "Unavailable" on any failure. Returns
// null on success, or the failed read's entry (owned by the caller).
ErrlEntry* cimpGetIpAddrs(CimpIpAddr_t& addrs);

#endif

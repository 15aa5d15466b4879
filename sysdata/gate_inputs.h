// The first fact the enablement gate asks, kept here for the gate and for cimp-platform, which
// explains the gate's answer: the registry key of the service processor's role, read as one
// byte, and the only role under which it serves CIM. Constants only; nothing is exported.
#ifndef CIMP_SYSDATA_GATE_INPUTS_H
#define CIMP_SYSDATA_GATE_INPUTS_H

constexpr char kCimpRoleKey[] = "dscv/FspRole";
constexpr unsigned char kCimpServingRole = 1;

#endif

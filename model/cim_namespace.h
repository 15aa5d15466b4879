// The CIM namespace every object of this provider lives in.
#ifndef CIMP_MODEL_CIM_NAMESPACE_H
#define CIMP_MODEL_CIM_NAMESPACE_H

inline constexpr char kCimpNamespace[] = "root/orvcim";

#endif

// DeliveryChannel: one listener destination as indications are sent to it: where they go, and the
// sequence they are numbered in (DSP1054): SequenceContext, unique to the destination for as long
// as the daemon runs, and SequenceNumber, from 0, one more per indication. A number is taken and
// the indication queued under `mutex`, so the numbers reach the destination's queue in order.
#pragma once

#include <cstdint>
#include <mutex>
#include <string>

#include "cimom/delivery/delivery_service.h"

namespace cimhost {

struct DeliveryChannel {
    DeliveryChannel(DeliveryTarget target, std::string sequenceContext)
        : target(std::move(target)), sequenceContext(std::move(sequenceContext)) {}

    const DeliveryTarget target;
    const std::string sequenceContext;
    std::mutex mutex;
    std::int64_t nextSequence = 0;  // guarded by mutex
};

}  // namespace cimhost

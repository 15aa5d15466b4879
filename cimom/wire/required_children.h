// Elements that hold a fixed set of required children and ignore any other: each child is read
// once, the first of its name, and one that is missing is a fault of the rank its reading has.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

#include "cimom/wire/decode_state.h"

namespace cimhost {

struct RequiredChild {
    const char* name;
    const ElementRole* role;
    int rank;                               // of its absence, and of its faults
    Target (*target)(const Frame& parent);  // what the child fills, given its parent
    // For a child whose own checks interleave with its siblings': the rank its faults count up
    // from, in place of `rank`.
    int ownChecksFrom = -1;
};

template <std::size_t N>
class RequiredChildren : public ElementRole {
  public:
    explicit constexpr RequiredChildren(std::array<RequiredChild, N> children)
        : children_(children) {}

    ChildPlan child(DecodeState&, Frame& frame, std::string_view name) const override {
        for (std::size_t i = 0; i < N; ++i) {
            const RequiredChild& c = children_[i];
            if (name == c.name && frame.firstOf(1u << i)) {
                const bool interleaved = c.ownChecksFrom >= 0;
                return {c.role, c.target(frame), interleaved ? c.ownChecksFrom : c.rank,
                        interleaved};
            }
        }
        return {};
    }
    void close(DecodeState& state, Frame& frame) const override {
        for (std::size_t i = 0; i < N; ++i) {
            requireChild(state, frame, 1u << i, children_[i].name, children_[i].rank);
        }
    }

  private:
    std::array<RequiredChild, N> children_;
};

// The parent's own target: the child fills the same object.
inline Target sameTarget(const Frame& parent) {
    return parent.target;
}

}  // namespace cimhost

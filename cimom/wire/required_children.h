// Two shapes the element decoders share. RequiredChildren: elements that hold a fixed set of
// required children and ignore any other: each child is read once, the first of its name, and one
// that is missing is a fault of the rank its reading has. OneChildOf: elements that hold exactly
// one child, of one of a few names.
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

struct ChildChoice {
    const char* name;
    const ElementRole* role;
};

// The one child fills the element's own target and its faults rank `childRank`; a child of any
// other name is the fault `refuse` makes of it, at `nameRank`.
template <std::size_t N>
class OneChildOf : public ElementRole {
  public:
    using Refuse = Fault (*)(std::string_view name);

    OneChildOf(std::array<ChildChoice, N> choices, int childRank, int nameRank, Refuse refuse)
        : choices_(choices), childRank_(childRank), nameRank_(nameRank), refuse_(refuse) {}

    ChildPlan child(DecodeState& state, Frame& frame, std::string_view name) const override {
        if (!onlyChildSoFar(state, frame)) {
            return {};
        }
        for (const ChildChoice& c : choices_) {
            if (name == c.name) {
                return {c.role, frame.target, childRank_};
            }
        }
        frame.fail(nameRank_, refuse_(name));
        return {};
    }
    void close(DecodeState& state, Frame& frame) const override { requireOneChild(state, frame); }

  private:
    std::array<ChildChoice, N> choices_;
    int childRank_;
    int nameRank_;
    Refuse refuse_;
};

// The parent's own target: the child fills the same object.
inline Target sameTarget(const Frame& parent) {
    return parent.target;
}

}  // namespace cimhost

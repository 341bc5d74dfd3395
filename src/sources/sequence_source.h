#pragma once

#include "sources/name_generator.h"
#include "window/sequence_name.h"

namespace zarame {

// The names of a number sequence, each as the preview shows it, first to last. The counter is
// 64-bit, so that a range ending at 2147483647 ends there instead of wrapping.
class SequenceNames final : public NameGenerator {
public:
    explicit SequenceNames(const NumberSequence& numbers);

    NameStep Next() override;
    bool exhausted() const override { return next_ > numbers_.last; }
    NameOrigin origin() const override { return NameOrigin::TypedInputs; }
    SourceExtent extent() const override;

private:
    const NumberSequence numbers_;
    // Everything but the number is fixed for the walk: what goes before it and what after.
    const SequenceFrame frame_;
    std::int64_t next_;
};

}  // namespace zarame

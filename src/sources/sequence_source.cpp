#include "sources/sequence_source.h"

namespace zarame {

SequenceNames::SequenceNames(const NumberSequence& numbers)
    : numbers_(numbers), frame_(FrameOf(numbers)), next_(numbers.first) {}

NameStep SequenceNames::Next() {
    if (next_ > numbers_.last) {
        return {};
    }
    const auto number = static_cast<std::int32_t>(next_++);
    return {NameStep::Kind::Item,
            frame_.beforeNumber + NumberText(number, numbers_.digitCount) + frame_.afterNumber};
}

SourceExtent SequenceNames::extent() const {
    const std::int64_t first = numbers_.first;
    const std::int64_t total = numbers_.last >= first ? numbers_.last - first + 1 : 0;
    return {SourceExtent::Unit::Items, std::min(next_ - first, total), total};
}

}  // namespace zarame

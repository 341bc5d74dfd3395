#pragma once

#include <cstdint>

namespace zarame {

class WindowModel;

// Group numbers: the name-source groups carry the optType index, the item-kind groups 10 plus
// the optSpec index.
enum class InputGroup : std::int16_t {
    Excel = 0,
    TextFile = 1,
    Sequential = 2,
    NewFile = 10,
    Duplicate = 11,
    Folder = 12,
};

enum class Enablement { Disabled, Enabled };

// Enables exactly the inputs of the selected name source and item kind.
void UpdateInputGroups(WindowModel& model);

// Sets the enabled flag of every control of one group; a number without controls does nothing.
void EnableGroup(WindowModel& model, std::int16_t group, Enablement enablement);

}  // namespace zarame

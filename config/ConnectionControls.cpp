#include "config/ConnectionControls.h"

#include <cstddef>

namespace krn310 {

std::string SelectedText(const ListControl& list)
{
    if (list.itemIndex < 0 || static_cast<std::size_t>(list.itemIndex) >= list.items.size())
        return {};
    return list.items[static_cast<std::size_t>(list.itemIndex)];
}

void SelectIndex(ListControl& list, int index)
{
    const bool inRange = index >= 0 && static_cast<std::size_t>(index) < list.items.size();
    list.itemIndex = inRange ? index : -1;
}

} // namespace krn310

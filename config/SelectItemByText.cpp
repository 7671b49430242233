#include "config/LocalConfig.h"

#include "platform/AnsiText.h"

#include <string>

namespace krn310 {

void SelectItemByText(ListControl& list, std::string_view text)
{
    if (list.items.empty())
        return;
    const std::string wanted = Utf8ToAnsi(text);
    for (std::size_t i = 0; i < list.items.size(); ++i) {
        if (Utf8ToAnsi(list.items[i]) == wanted) {
            list.itemIndex = static_cast<int>(i);
            return;
        }
    }
    list.itemIndex = 0;
}

} // namespace krn310

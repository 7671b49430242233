#include "settings/MacKeyFilter.h"

namespace krn310 {

bool Edit10KeyPress(char32_t key)
{
    return (key >= U'0' && key <= U'9') || (key >= U'A' && key <= U'F') || (key >= U'a' && key <= U'f');
}

} // namespace krn310

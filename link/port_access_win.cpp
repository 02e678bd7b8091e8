#include "link/port_access.h"

namespace vk {

std::string PortAccessHint(const std::string&) {
    // A COM port there belongs to whoever opens it first; a refusal means another
    // program has it, which the system's own text says.
    return {};
}

} // namespace vk

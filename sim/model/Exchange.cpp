#include "Exchange.h"

#include "protocol/HexText.h"

namespace zentrel::sim {

std::string hexBytes(const std::vector<std::uint8_t>& bytes) {
    return hexList(bytes);
}

} // namespace zentrel::sim

#include "project/error_text.h"

namespace zelmora {

std::string ErrorBoxMessage(const std::string& message) {
    if (!message.empty() && static_cast<unsigned char>(message.back()) > '.') {
        return message + '.';
    }
    return message;
}

} // namespace zelmora

#include "platform/framework/WriteDestinationCheck.h"

namespace {

WriteDestinationCheck& Installed() {
    static WriteDestinationCheck check;
    return check;
}

}  // namespace

void SetWriteDestinationCheck(WriteDestinationCheck check) {
    Installed() = std::move(check);
}

bool AskWriteDestination(const QString& destination) {
    const WriteDestinationCheck& check = Installed();
    return !check || check(destination);
}

#pragma once
// What the phone SMS window (and the tools beside it) tell the user about a
// messaging failure, in Russian. QtCore only; any thread.

#include <QString>

#include "messaging/messaging_error.h"
#include "messaging/settings_line.h"

namespace sfigmo {

// The line for `error`, naming the file and the reason; empty when it is ok.
QString MessagingErrorText(const MessagingError& error);

// Why `number` was not recorded; empty for NumberRefusal::None.
QString NumberRefusalText(NumberRefusal refusal, const QString& number);

}  // namespace sfigmo

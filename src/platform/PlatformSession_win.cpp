#include "platform/PlatformSession.h"

void PlatformSession::choosePlatform() {}

#include "app/PlatformSession.h"

void PlatformSession::choosePlatform() {}

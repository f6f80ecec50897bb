#include "platform/RestingMemory.h"

void RestingMemory::release() {}

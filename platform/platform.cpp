#include "platform/platform.h"

Platform gPlatform;

#pragma once
// The real Windows API behind the platform interface.
#include "platform/Platform.h"

// Both seams of the platform layer.
#pragma once

#include "platform/host.h"
#include "platform/windowing.h"

#pragma once

#include "startup/trace.h"

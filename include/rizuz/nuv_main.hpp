// The driver's one export.
#pragma once

#include "rizuz/platform.hpp"
#include "rizuz/records.hpp"

extern "C" RIZUZ_EXPORT rizuz::NuvResult RIZUZ_STDCALL NuvMain(rizuz::DriverRequest* request);

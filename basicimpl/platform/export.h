#pragma once
// Marks what libORVA-Platform-v3.1-basic-v1 exports (everything else is hidden).

#define ORVA_PLATFORM_BASIC_EXPORT __attribute__((visibility("default")))

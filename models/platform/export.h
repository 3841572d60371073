#pragma once
// Symbols of the ORVA-Platform-v3.1 object-model definition library.
#define ORVA_PLATFORM_MODEL_EXPORT __attribute__((visibility("default")))

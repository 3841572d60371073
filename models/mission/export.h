#pragma once
// Symbols of the HALC-VKRsim-v4 object-model definition library.
#define HALC_MISSION_MODEL_EXPORT __attribute__((visibility("default")))

#pragma once
// Marks what libHALC-VKRsim-v4-basic-v1 exports (everything else is hidden).

#define HALC_VKRSIM_BASIC_EXPORT __attribute__((visibility("default")))

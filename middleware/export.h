#pragma once
// Symbols of the ORVA_Middleware shared library that its users may call (the library is built
// with hidden visibility).
#define ORVA_MIDDLEWARE_EXPORT __attribute__((visibility("default")))

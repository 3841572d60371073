#pragma once
// Symbols of the ORVA-LocalClasses shared library (standard local classes).
#define ORVA_LOCALCLASSES_EXPORT __attribute__((visibility("default")))

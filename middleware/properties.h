#pragma once
// Quality of service of a servant's publication.

#include "middleware/export.h"

namespace ORVA::Middleware {

// 1: reliable delivery of every committed state (the usual choice). 0: best effort, accepted for
// peers that ask for it; see the README for how the transport treats it. Other values raise.
class ORVA_MIDDLEWARE_EXPORT CommunicationProperties {
public:
    explicit CommunicationProperties(int value = 1);
    int value() const noexcept { return value_; }
    bool reliable() const noexcept { return value_ == 1; }

private:
    int value_;
};

// Kept with the servant and given back on request; the transport does not use it.
class ORVA_MIDDLEWARE_EXPORT ConcurrencyProperties {
public:
    explicit ConcurrencyProperties(int value = 1) noexcept : value_(value) {}
    int value() const noexcept { return value_; }

private:
    int value_;
};

}  // namespace ORVA::Middleware

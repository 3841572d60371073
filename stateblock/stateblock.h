#pragma once
// The process-wide record through which the dialog, session and render threads exchange values.
// No lock: every field is individually atomic with relaxed ordering, because each field has one
// writing thread and no reader relies on the order in which different fields change. Fields read
// and write like plain values: `stateBlock.uutX = x;`, `double x = stateBlock.uutX;`.

#include <atomic>
#include <cstdint>

namespace stateblock {

template <typename T>
class RelaxedField {
public:
    constexpr RelaxedField() noexcept : value_(T{}) {}
    RelaxedField(const RelaxedField&) = delete;
    RelaxedField& operator=(const RelaxedField&) = delete;

    operator T() const noexcept { return value_.load(std::memory_order_relaxed); }
    RelaxedField& operator=(T v) noexcept
    {
        value_.store(v, std::memory_order_relaxed);
        return *this;
    }

private:
    static_assert(std::atomic<T>::is_always_lock_free, "a state block field must be one whole machine store");
    std::atomic<T> value_;
};

}  // namespace stateblock

struct StateBlock {
    template <typename T>
    using Field = stateblock::RelaxedField<T>;

    Field<std::int32_t> panDegrees;   // whole degrees 0..359, clockwise from the knob's top; dialog thread
    Field<std::int32_t> tiltDegrees;  // whole degrees -60..60; dialog thread
    Field<double> uutX;               // UUT position in the local tangent plane frame; session thread
    Field<double> uutY;
    Field<double> uutZ;
    Field<double> uutPsi;             // radians, received as float and widened; session thread
    Field<double> uutTheta;
    Field<double> uutPhi;
    Field<double> sightPsi;           // radians, view angles last published; session thread
    Field<double> sightTheta;
    Field<double> sightPhi;
    Field<bool> stopSession;          // false -> true only; Resign and OK
    Field<bool> stopRender;           // false -> true only; OK
};

// Zero-filled by constant initialisation before any code of the process runs; never reset.
extern StateBlock stateBlock;
